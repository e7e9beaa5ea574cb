"""One picture that shows every asset at a glance, written into a build folder (never the
repository). The skins' Objects are drawn by the game's own skin engine through
`velmora-tool skin`, so the sheet shows what the game shows."""

import glob
import os
import subprocess
import tempfile

from PIL import Image, ImageDraw, ImageSequence

import artlib as A
import screens
import starter
import textures
import templates as T
from styles import FLOWER, GOTHIC, NOX

LATO_BOLD = A.font_path("lato", "Lato-Bold.ttf")
LATO_REG = A.font_path("lato", "Lato-Regular.ttf")
BG = "#0b1122"


class Renderer:
    """Draws skin Objects through velmora-tool; without the tool the skin parts are left out."""

    def __init__(self, build_dir):
        self.tool = os.path.join(build_dir, "game", "velmora-tool")
        self.ok = os.access(self.tool, os.X_OK)
        self.tmp = tempfile.mkdtemp(prefix="velmora-sheet-")
        self.count = 0

    def windows(self, skn):
        """The skin worn by real windows (velmora-tool skin-dialog), or None when the tool
        cannot show them."""
        if not self.ok:
            return None
        self.count += 1
        out = os.path.join(self.tmp, f"{self.count}.png")
        env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
        done = subprocess.run([self.tool, "skin-dialog", skn, "--png", out], capture_output=True, env=env)
        if done.returncode != 0 or not os.path.exists(out):
            return None
        return Image.open(out).convert("RGBA")

    def render(self, skn, name, size, states="", text="", id1=0, id2=0):
        if not self.ok:
            return Image.new("RGBA", size, (0, 0, 0, 0))
        self.count += 1
        out = os.path.join(self.tmp, f"{self.count}.png")
        cmd = [self.tool, "skin", skn, "--object", name, "--size", f"{size[0]}x{size[1]}", "--png", out]
        if id1 or id2:
            cmd += ["--id1", str(id1), "--id2", str(id2)]
        if states:
            cmd += ["--states", states]
        if text:
            cmd += ["--text", text]
        env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
        subprocess.run(cmd, check=True, capture_output=True, env=env)
        return Image.open(out).convert("RGBA")


def label(img, xy, text, size=15, colour="#c9d3ea", anchor="la", bold=False):
    A.draw_text(img, xy, text, A.font(LATO_BOLD if bold else LATO_REG, size), colour, anchor=anchor)


def skin_panel(r, skn, st, title):
    """A mock dialog in the skin with every control kind and state, plus its special windows."""
    w, h = 620, 420
    panel = Image.new("RGBA", (w + 380, h + 20), (0, 0, 0, 0))
    frame = r.render(skn, "Dialog", (w, h), "NonClient Active", title)
    client = r.render(skn, "Dialog", (w, h), "Client")
    panel.alpha_composite(frame, (0, 0))
    # the client area lies inside the frame: draw it where the skin's Client item puts it
    panel.alpha_composite(client.crop((16, 48, w - 16, h - 16)), (16, 48))
    x0, y0 = 36, 68
    for i, (states, text) in enumerate([("", "Normal"), ("Hover", "Hover"), ("Pushed", "Pushed"),
                                        ("Disabled", "Disabled"), ("Focused", "Focused")]):
        b = r.render(skn, "Button", (108, 34), states, text)
        panel.alpha_composite(b, (x0 + (i % 5) * 114, y0))
    y = y0 + 52
    for i, (kind, states, text) in enumerate([("CheckBox", "", "Sound FX"), ("CheckBox", "Checked", "Ghost picture"),
                                              ("CheckBox", "Checked Disabled", "Disabled"),
                                              ("Radio", "", "Small pieces"), ("Radio", "Checked", "Large pieces"),
                                              ("Radio", "Focused", "Focused")]):
        c = r.render(skn, kind, (180, 24), states, text)
        panel.alpha_composite(c, (x0 + (i % 3) * 190, y + (i // 3) * 30))
    y += 72
    s = r.render(skn, "Static", (560, 40), "", "A static text wraps onto a second line when it is longer than "
                                                 "the room it has; it is drawn in the skin's own font and colour.")
    panel.alpha_composite(s, (x0, y))
    y += 48
    panel.alpha_composite(r.render(skn, "Edit", (270, 30), ""), (x0, y))
    panel.alpha_composite(r.render(skn, "Edit", (270, 30), "Focused"), (x0 + 290, y))
    label(panel, (x0 + 10, y + 15), "Autumn Leaves", 14, st.text, anchor="lm")
    label(panel, (x0 + 300, y + 15), "Quorvik|", 14, st.text, anchor="lm")
    y += 46
    track = r.render(skn, "TrackBar", (270, 30), "")
    thumb = r.render(skn, "TrackBar", (24, 30), "Thumb")
    panel.alpha_composite(track, (x0, y))
    panel.alpha_composite(thumb, (x0 + 150, y))
    thumb2 = r.render(skn, "TrackBar", (24, 30), "Thumb Pushed")
    panel.alpha_composite(track, (x0 + 290, y))
    panel.alpha_composite(thumb2, (x0 + 290 + 60, y))
    y += 44
    trough = r.render(skn, "ProgressBar", (560, 20), "")
    meter = r.render(skn, "ProgressBar", (336, 20), "Meter")
    panel.alpha_composite(trough, (x0, y))
    panel.alpha_composite(meter, (x0, y))
    y += 34
    for i, (states, text) in enumerate([("", "OK"), ("Hover", "Cancel")]):
        panel.alpha_composite(r.render(skn, "Button", (108, 34), states, text, T.MESSAGE_BOX, 1), (w - 250 + i * 118, h - 58))
    # the side column: icons, caption buttons, the caption band, trays, the clock, a message box
    sx = w + 20
    icons = Image.open(os.path.join(os.path.dirname(skn), skin_sub(skn), "bitmaps", "icons.png")).convert("RGBA")
    panel.alpha_composite(icons, (sx, 0))
    for i, (id2, states) in enumerate([(1089, ""), (1089, "Hover"), (1090, ""), (1090, "Hover"), (1090, "Pushed")]):
        panel.alpha_composite(r.render(skn, "Button", (28, 28), states, "", T.CAPTION_PANEL, id2), (sx + i * 34, 58))
    band = r.render(skn, "Dialog", (340, 50), "NonClient Active", "Autumn Leaves  -  48 pieces", T.TIGHT_CAPTION_PANEL)
    panel.alpha_composite(band, (sx, 96))
    panel.alpha_composite(r.render(skn, "Button", (92, 32), "", "0:12:45", T.TIGHT_CAPTION_PANEL, 1200), (sx + 150, 104))
    panel.alpha_composite(r.render(skn, "Button", (70, 32), "", "Menu", T.TIGHT_CAPTION_PANEL, 1198), (sx + 70, 104))
    for i, (id2, states) in enumerate([(T.TRAY_EMPTY, ""), (T.TRAY_FULL, "")]):
        panel.alpha_composite(r.render(skn, "Button", (44, 44), states, "", T.TRAY, id2), (sx + i * 52, 160))
    panel.alpha_composite(r.render(skn, "Dialog", (230, 90), "NonClient Active", "", T.TRAY), (sx + 110, 160))
    panel.alpha_composite(r.render(skn, "Button", (108, 34), "tray_full", "Boards", T.PLAY_PANEL, 1096), (sx, 214))
    mb = r.render(skn, "Dialog", (340, 160), "NonClient Active", "Velmora", T.MESSAGE_BOX)
    panel.alpha_composite(mb, (sx, 262))
    panel.alpha_composite(icons.crop((96, 0, 144, 48)), (sx + 22, 262 + 62))
    panel.alpha_composite(r.render(skn, "Static", (240, 40), "", "Are you sure?", T.MESSAGE_BOX, 1160), (sx + 84, 262 + 74))
    for i, (states, text) in enumerate([("", "Yes"), ("", "No")]):
        panel.alpha_composite(r.render(skn, "Button", (90, 32), states, text, T.MESSAGE_BOX, 1), (sx + 140 + i * 96, 262 + 116))
    return panel


def skin_sub(skn):
    base = os.path.splitext(os.path.basename(skn))[0]
    return "" if base == "Advanced" else base


def gif_frames(path):
    im = Image.open(path)
    return [f.convert("RGBA") for f in ImageSequence.Iterator(im)]


def build(res, build_dir):
    os.makedirs(build_dir, exist_ok=True)
    r = Renderer(build_dir)
    W = 2040
    sheet = Image.new("RGBA", (W, 4200), A.rgba(BG))
    d = ImageDraw.Draw(sheet)
    label(sheet, (30, 24), "Velmora - every asset at a glance", 30, "#f4ecd8", bold=True)
    if not r.ok:
        label(sheet, (30, 64), f"(skin Objects not drawn: build velmora-tool first, looked for {r.tool})", 16, "#ff9c8a")
    y = 90
    # splash, icon, sparkle, cursors
    pics = os.path.join(res, "pictures")
    sheet.alpha_composite(Image.open(os.path.join(pics, "splash-167.png")).convert("RGBA"), (30, y))
    icon = Image.open(os.path.join(pics, "icon-128.png")).convert("RGBA")
    sheet.alpha_composite(icon, (660, y))
    for i, s in enumerate((64, 48, 32, 16)):
        sheet.alpha_composite(icon.resize((s, s), Image.LANCZOS), (940 + sum((64, 48, 32, 16)[:i]) + 14 * i, y))
    label(sheet, (660, y + 262), "icon 128", 14)
    spark = Image.open(os.path.join(pics, "sparkle.png")).convert("RGBA")
    sheet.alpha_composite(spark.resize((spark.width * 2, spark.height * 2), Image.NEAREST), (940, y + 100))
    label(sheet, (940, y + 154), "join sparkle (16 frames, x2)", 14)
    for i, n in enumerate((104, 181, 182)):
        cur = Image.open(os.path.join(res, "cursors", f"{n}.cur")).convert("RGBA")
        sheet.alpha_composite(cur.resize((64, 64), Image.NEAREST), (940 + i * 90, y + 190))
        label(sheet, (940 + i * 90, y + 258), f"cursor {n}", 13)
    ani = os.path.join(res, "game", "SKINS Nox", "push.ani")
    for i, fr in enumerate(ani_frames(ani)):
        sheet.alpha_composite(fr.resize((64, 64), Image.NEAREST), (1220 + i * 70, y + 190))
    label(sheet, (1220, y + 258), "push.ani (8 frames)", 13)
    for i, name in enumerate(("tray-empty", "tray-full", "tray-frame")):
        t = Image.open(os.path.join(pics, f"{name}.png")).convert("RGBA")
        sheet.alpha_composite(t, (1760 + (i % 2) * 60, y + (i // 2) * 70))
    y += 430
    # skins
    game = os.path.join(res, "game")
    for skn, st in ((os.path.join(game, "SKINS Nox", "Advanced.skn"), NOX), (os.path.join(game, "SKINS", "Flower.skn"), FLOWER),
                    (os.path.join(game, "SKINS", "Gothic.skn"), GOTHIC)):
        backdrop = A.vgradient(W - 40, 470, [(0, st.screen_top), (1, st.screen_bottom)])
        sheet.alpha_composite(backdrop, (20, y - 10))
        label(sheet, (40, y), f"Skin \"{st.title}\"", 20, st.text, bold=True)
        panel = skin_panel(r, skn, st, "Game Menu")
        sheet.alpha_composite(panel, (40, y + 32))
        # the skin's board texture defaults, tinted with the default colours
        y_tex = y + 40
        label(sheet, (1460, y), "default board / tray", 14, st.text)
        defaults = {"nox": ((0, 238, 0), 4, (136, 136, 238), 1), "flower": ((121, 0, 121), 13, (0, 84, 166), 1),
                    "gothic": ((0, 151, 0), 10, (0, 84, 166), 1)}[st.key]
        for k in range(2):
            colour, pattern = defaults[2 * k], defaults[2 * k + 1]
            tex = Image.open(os.path.join(game, "SKINS Nox", "textures", textures.NAMES[pattern - 1] + ".png")).convert("RGB")
            tint = Image.new("RGB", tex.size, colour)
            from PIL import ImageChops
            tinted = ImageChops.multiply(tex, tint).resize((250, 250))
            sheet.paste(tinted, (1460 + k * 270, y_tex))
            label(sheet, (1460 + k * 270, y_tex + 256), f"pattern {pattern} x colour {colour}", 12, st.text)
        y += 490
    # textures
    label(sheet, (30, y), "Board textures (Pattern 1-15), each tiled 2 x 2 at half size", 18, "#f4ecd8", bold=True)
    y += 30
    for i, name in enumerate(textures.NAMES):
        t = Image.open(os.path.join(game, "SKINS Nox", "textures", name + ".png")).convert("RGB")
        tile = Image.new("RGB", (256, 256))
        for dx in (0, 128):
            for dy in (0, 128):
                tile.paste(t.resize((128, 128), Image.LANCZOS), (dx, dy))
        x = 30 + (i % 8) * 250
        yy = y + (i // 8) * 220
        sheet.paste(tile.resize((190, 190)), (x, yy))
        label(sheet, (x, yy + 194), f"{i + 1} {name}", 13)
    y += 450
    # overlays
    label(sheet, (30, y), "Help overlays", 18, "#f4ecd8", bold=True)
    y += 30
    for i, name in enumerate(screens.HELP):
        ov = Image.open(os.path.join(pics, "help", name + ".png")).convert("RGBA")
        bgd = A.vgradient(800, 600, [(0, "#2a3a5e"), (1, "#101830")])
        bgd.alpha_composite(ov)
        sheet.alpha_composite(bgd.resize((392, 294), Image.LANCZOS), (30 + i * 400, y))
        label(sheet, (30 + i * 400, y + 298), name, 13)
    y += 330
    # picture buttons
    label(sheet, (30, y), "Picture buttons: normal, hover (mid-animation), pressed, disabled", 18, "#f4ecd8", bold=True)
    y += 30
    x, row_h, col = 30, 0, 0
    for n, (lbl, kind, w, h) in screens.BUTTONS.items():
        if x + 4 * (w + 6) > W - 30:
            x = 30
            y += row_h + 12
            row_h = 0
        for k, look in enumerate(screens.LOOKS):
            frames = gif_frames(os.path.join(res, "buttons", f"{n}_{look}.gif"))
            f = frames[min(3, len(frames) - 1)]
            sheet.alpha_composite(f, (x + k * (w + 6), y))
        x += 4 * (w + 6) + 24
        row_h = max(row_h, h)
    y += row_h + 30
    # starter pictures
    label(sheet, (30, y), "Starter pictures", 18, "#f4ecd8", bold=True)
    y += 30
    for i, path in enumerate(sorted(glob.glob(os.path.join(res, "starter", "*.jpg")))):
        im = Image.open(path).convert("RGB")
        im.thumbnail((240, 160))
        sheet.paste(im, (30 + (i % 8) * 250, y + (i // 8) * 180))
    y += 2 * 180
    # the skins on real windows
    shots = [r.windows(os.path.join(game, *p)) for p in (("SKINS Nox", "Advanced.skn"), ("SKINS", "Flower.skn"),
                                                         ("SKINS", "Gothic.skn"))]
    shots = [s for s in shots if s is not None]
    if shots:
        label(sheet, (30, y), "The skins on real windows (velmora-tool skin-dialog)", 18, "#f4ecd8", bold=True)
        y += 30
        for i, shot in enumerate(shots):
            shot.thumbnail((650, 460))
            if y + shot.height + 40 > sheet.height:
                grown = Image.new("RGBA", (W, y + shot.height + 60), A.rgba(BG))
                grown.alpha_composite(sheet)
                sheet = grown
            sheet.alpha_composite(shot, (30 + i * 670, y))
        y += max(s.height for s in shots) + 10
    sheet = sheet.crop((0, 0, W, y + 20))
    out = os.path.join(build_dir, "contact-sheet.png")
    sheet.convert("RGB").save(out)
    return out


def ani_frames(path):
    """The frames of an ACON file, read back with Pillow's .cur reader."""
    import io
    import struct
    data = open(path, "rb").read()
    frames = []
    pos = data.find(b"fram")
    if pos < 0:
        return frames
    pos += 4
    while pos + 8 <= len(data) and data[pos:pos + 4] == b"icon":
        size = struct.unpack("<I", data[pos + 4:pos + 8])[0]
        frames.append(Image.open(io.BytesIO(data[pos + 8:pos + 8 + size])).convert("RGBA"))
        pos += 8 + size + (size & 1)
    return frames
