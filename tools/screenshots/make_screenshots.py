#!/usr/bin/python3
"""Takes the game's screenshots under Xvfb, at 100 % and 200 % scaling, and writes them as small
PNGs into docs/screenshots/ (or the folder given with --out).

    tools/screenshots/make_screenshots.py                    # every shot, from build/game
    tools/screenshots/make_screenshots.py --only band,splash # some of them
    tools/screenshots/make_screenshots.py --build build-x --out /tmp/shots

Each shot starts the game (or velmora-tool) on a fresh X server of its own, with a compositing
manager as a desktop has one (xcompmgr; --no-compositor leaves it out), plays a few pointer and
key steps with xdotool, and grabs a rectangle of the screen. To add a shot, add a Shot to SHOTS:
what to start, the steps, and the rectangle to keep, all in the game's own (100 %) pixels; the
script multiplies them for 200 %. Needs Xvfb, xdotool, xcompmgr and ImageMagick.

docs/screenshots/before/ holds the same shots of the game before its look was reworked; they
were taken with this script at that state (without a compositing manager, which changed nothing
there) and are kept as they are."""

import argparse
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time
from dataclasses import dataclass, field

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.dirname(os.path.dirname(HERE))

# The game's screen at 100 %: the size a review looked at.
SCREEN_W, SCREEN_H = 1280, 800
SCALES = (1, 2)
# Colours kept per picture: enough for gradients and soft edges, few enough to stay small.
COLOURS = 48
# How long a step may wait for a window to show (a loaded machine counts the splash slowly).
WINDOW_WAIT = 60

# ImageMagick's own programs, wherever else the PATH may lead.
CONVERT = "/usr/bin/convert" if os.path.exists("/usr/bin/convert") else "convert"
IMPORT = "/usr/bin/import" if os.path.exists("/usr/bin/import") else "import"

NOX = "SKINS Nox/Advanced.skn"
FLOWER = "SKINS/Flower.skn"
GOTHIC = "SKINS/Gothic.skn"


@dataclass
class Shot:
    name: str
    # ["game", args...] starts the game (in a folder of its own); ["tool", args...] starts
    # velmora-tool with those arguments.
    start: list
    # Steps, in order: ("wait", seconds), ("window", title) (until a window of that title shows,
    # at most WINDOW_WAIT seconds), ("move", x, y), ("click", x, y), ("key", name).
    steps: list = field(default_factory=list)
    # The rectangle kept (x, y, w, h); a negative x or y counts from the right or bottom edge.
    crop: tuple = (0, 0, SCREEN_W, SCREEN_H)
    scales: tuple = SCALES
    # The width the picture is shrunk to, when the whole of it matters more than its pixels.
    width: int = 0
    # The X screen's size at 100 %, and whether the shot is named by it rather than by its scale.
    screen: tuple = (SCREEN_W, SCREEN_H)
    by_size: bool = False
    # Whole screens full of photographs stay small only without dithering.
    dither: bool = True

    def file_name(self, scale):
        if self.by_size:
            return f"{self.name}-{self.screen[0]}x{self.screen[1]}.png"
        return f"{self.name}-{scale * 100}.png"


def centred(w, h, dy=0):
    """A rectangle of w x h in the middle of the screen."""
    return ((SCREEN_W - w) // 2, (SCREEN_H - h) // 2 + dy, w, h)


def skin_dialog(skin, *options):
    # velmora-tool skin-dialog puts the game menu at (300, 160) over a 1000 x 700 window.
    return ["tool", "skin-dialog", skin, "--show", "60", *options]


# The band's "X" (close) button: the band is the top of the screen, the button 16 pixels from
# its right end; and the message box's "No", the last of its buttons.
CLOSE_X, CLOSE_Y = SCREEN_W - 30, 22
NO_X, NO_Y = 778, 448
# The game's window, once the splash has gone.
GAME = [("window", "Velmora"), ("wait", 1.0)]

# The splash's tagline and counter, for a close look at them.
SPLASH_DETAIL = (560, 400, 260, 180)

# The caption band's tabs on the library screens (170 pixels in, 128 wide, 8 apart).
CALENDAR_TAB = (234, 26)
TREASURY_TAB = (370, 26)
# A starter puzzle of the fresh library, opened for play from the command line.
FIELD_PUZZLE = "Puzzles/simple/Marigold.pzl"


def screen_shots(w, h):
    """The library, calendar and Treasury screens and the field on a w x h screen. Each screen's
    one-time help picture goes with a click low in the middle (clear of the trays' handles in the
    corners); the pointer then rests in the bottom-right corner, away from the hover boxes."""
    dismiss = [("click", w // 2, h - 30), ("wait", 1.0)]
    rest = [("move", w - 4, h - 4), ("wait", 0.8)]
    whole = dict(crop=(0, 0, w, h), screen=(w, h), scales=(1,), by_size=True, dither=False)
    return [
        Shot("library", ["game"], GAME + dismiss + rest, **whole),
        Shot("calendar", ["game"], GAME + dismiss + [("click", *CALENDAR_TAB), ("wait", 1.0)] + dismiss + rest, **whole),
        Shot("treasury", ["game"], GAME + dismiss + [("click", *TREASURY_TAB), ("wait", 1.0)] + dismiss + rest, **whole),
        # The game's two help pictures (a puzzle whose pieces turn has both) go with two clicks.
        Shot("field", ["game", FIELD_PUZZLE], GAME + [("wait", 6.0)] + dismiss + dismiss + rest, **whole),
    ]


SHOTS = [
    Shot("splash-screen", ["game"], [("wait", 2.5)], width=640, scales=(1,)),
    Shot("splash", ["game"], [("wait", 2.5)], SPLASH_DETAIL, scales=(2,)),
    Shot("band", ["game"], GAME, (0, 0, SCREEN_W, 64), scales=(1,)),
    Shot("band-left", ["game"], GAME, (0, 0, SCREEN_W // 2, 64), scales=(2,)),
    Shot("band-hover", ["game"], GAME + [("move", CLOSE_X, CLOSE_Y), ("wait", 0.6)], (-360, 0, 360, 64), scales=(1,)),
    Shot("message-box", ["game"], GAME + [("click", CLOSE_X, CLOSE_Y), ("wait", 1.0)], centred(520, 260)),
    Shot("message-box-hover", ["game"],
         GAME + [("click", CLOSE_X, CLOSE_Y), ("wait", 1.0), ("move", NO_X, NO_Y), ("wait", 0.6)], centred(520, 260),
         scales=(1,)),
    Shot("dialog-nox", skin_dialog(NOX), [("wait", 2.5)], (270, 130, 440, 420), scales=(1,)),
    Shot("dialog-flower", skin_dialog(FLOWER), [("wait", 2.5)], (270, 130, 440, 420), scales=(1,)),
    Shot("dialog-gothic", skin_dialog(GOTHIC), [("wait", 2.5)], (270, 130, 440, 420), scales=(1,)),
    # the pointer over the game menu's "Cancel" (control 2)
    Shot("dialog-hover", skin_dialog(NOX, "--hover", "2"), [("wait", 2.5)], (500, 370, 240, 100), scales=(2,)),
    # The first help pictures of the library and of a game, their arrows on what they explain.
    Shot("help-library", ["game"], GAME + [("move", 1916, 1076), ("wait", 0.8)], (0, 0, 1920, 1080), width=960,
         screen=(1920, 1080), scales=(1,), by_size=True, dither=False),
    Shot("help-field", ["game", FIELD_PUZZLE], GAME + [("wait", 6.0), ("move", 1276, 796), ("wait", 0.8)],
         (0, 0, 1280, 800), width=640, scales=(1,), by_size=True, dither=False),
    *screen_shots(1280, 800),
    *screen_shots(1920, 1080),
]


def free_display():
    for n in range(140, 400):
        if not os.path.exists(f"/tmp/.X{n}-lock") and not os.path.exists(f"/tmp/.X11-unix/X{n}"):
            return n
    raise SystemExit("no free X display number")


class XServer:
    """An Xvfb of the screen size for one scale, with a compositing manager when asked, stopped
    when the shot is done."""

    def __init__(self, scale, composited, screen):
        self.display = f":{free_display()}"
        size = f"{screen[0] * scale}x{screen[1] * scale}x24"
        self.proc = subprocess.Popen(["Xvfb", self.display, "-screen", "0", size, "-nolisten", "tcp"],
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        deadline = time.time() + 10
        while not os.path.exists(f"/tmp/.X11-unix/X{self.display[1:]}"):
            if time.time() > deadline or self.proc.poll() is not None:
                raise SystemExit("Xvfb did not start")
            time.sleep(0.05)
        self.compositor = None
        if composited:
            self.compositor = subprocess.Popen(["xcompmgr"], env=dict(os.environ, DISPLAY=self.display),
                                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            time.sleep(0.5)

    def stop(self):
        for proc in (self.compositor, self.proc):
            if proc:
                proc.terminate()
                proc.wait(timeout=10)


def run(cmd, env, **kw):
    return subprocess.run(cmd, env=env, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, **kw)


def wait_for_window(title, env):
    deadline = time.time() + WINDOW_WAIT
    while time.time() < deadline:
        found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", f"^{title}$"], env=env,
                               stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        if found.returncode == 0 and found.stdout.strip():
            return
        time.sleep(0.2)
    raise SystemExit(f"no window \"{title}\" showed within {WINDOW_WAIT} seconds")


def scratch_game_folder(game_dir, work):
    """A game folder of the shot's own: the shipped folders linked in, the player's puzzles
    (the starter library, copied in at the first start) and log kept apart from the build."""
    folder = tempfile.mkdtemp(dir=work)
    for name in os.listdir(game_dir):
        if name not in ("Puzzles", "Exception.log"):
            os.symlink(os.path.join(game_dir, name), os.path.join(folder, name))
    return folder


def take(shot, scale, game_dir, out_dir, work, composited):
    server = XServer(scale, composited, shot.screen)
    env = dict(os.environ, DISPLAY=server.display, QT_QPA_PLATFORM="xcb", QT_SCALE_FACTOR=str(scale),
               XDG_RUNTIME_DIR=tempfile.mkdtemp(dir=work), XDG_CONFIG_HOME=tempfile.mkdtemp(dir=work))
    os.chmod(env["XDG_RUNTIME_DIR"], 0o700)
    program = ["./velmora"] + shot.start[1:] if shot.start[0] == "game" else ["./velmora-tool"] + shot.start[1:]
    folder = scratch_game_folder(game_dir, work)
    proc = subprocess.Popen(program, cwd=folder, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        for step in shot.steps:
            kind, args = step[0], step[1:]
            if kind == "wait":
                time.sleep(args[0])
            elif kind == "window":
                wait_for_window(args[0], env)
            elif kind in ("move", "click"):
                run(["xdotool", "mousemove", str(args[0] * scale), str(args[1] * scale)], env)
                if kind == "click":
                    run(["xdotool", "click", "1"], env)
            elif kind == "key":
                run(["xdotool", "key", args[0]], env)
        x, y, w, h = shot.crop
        x = x if x >= 0 else shot.screen[0] + x
        y = y if y >= 0 else shot.screen[1] + y
        raw = os.path.join(work, "raw.png")
        run([IMPORT, "-window", "root", "-crop", f"{w * scale}x{h * scale}+{x * scale}+{y * scale}", "+repage", raw], env)
        name = shot.file_name(scale)
        shrink = ["-resize", f"{shot.width}x"] if shot.width else []
        dither = [] if shot.dither else ["+dither"]
        run([CONVERT, raw, *shrink, *dither, "-colors", str(COLOURS), "-define", "png:compression-level=9", "PNG8:" + os.path.join(out_dir, name)], env)
        return name
    finally:
        proc.send_signal(signal.SIGTERM)
        try:
            proc.wait(timeout=10)
        except subprocess.TimeoutExpired:
            proc.kill()
            proc.wait()
        server.stop()


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--build", default=os.path.join(REPO, "build"), help="build folder holding game/")
    parser.add_argument("--out", default=os.path.join(REPO, "docs", "screenshots"))
    parser.add_argument("--only", help="comma-separated shot names")
    parser.add_argument("--no-compositor", action="store_true", help="a desktop that does not blend windows")
    args = parser.parse_args()
    for tool in ("Xvfb", "xdotool", IMPORT, CONVERT) + (() if args.no_compositor else ("xcompmgr",)):
        if not shutil.which(tool):
            raise SystemExit(f"{tool} is missing (packages xvfb, xdotool, imagemagick)")
    game_dir = os.path.join(os.path.abspath(args.build), "game")
    if not os.access(os.path.join(game_dir, "velmora"), os.X_OK):
        raise SystemExit(f"no game in {game_dir}: build it first")
    wanted = set(args.only.split(",")) if args.only else None
    os.makedirs(args.out, exist_ok=True)
    with tempfile.TemporaryDirectory(prefix="velmora-shots-") as work:
        for shot in SHOTS:
            if wanted and shot.name not in wanted:
                continue
            for scale in shot.scales:
                print(take(shot, scale, game_dir, args.out, work, not args.no_compositor), flush=True)


if __name__ == "__main__":
    sys.exit(main())
