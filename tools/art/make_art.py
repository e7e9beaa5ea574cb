#!/usr/bin/python3
"""Makes every picture, sound, cursor and skin of the game and writes them under resources/.

    tools/art/make_art.py                 # regenerate resources/ (the files are committed)
    tools/art/make_art.py --sheet DIR     # also write DIR/contact-sheet.png

Needs Debian's python3-pil and python3-numpy, and the font and wallpaper packages named in
resources/CREDITS. The output is the same on every run."""

import argparse
import filecmp
import os
import shutil
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

from PIL import Image  # noqa: E402

import artlib as A  # noqa: E402
import credits  # noqa: E402
import cursors  # noqa: E402
import pictures  # noqa: E402
import qrc  # noqa: E402
import screens  # noqa: E402
import skinart  # noqa: E402
import sounds  # noqa: E402
import starter  # noqa: E402
import textures  # noqa: E402
from skinfile import SkinBuilder  # noqa: E402
from styles import FLOWER, GOTHIC, NOX  # noqa: E402

REPO = os.path.dirname(os.path.dirname(HERE))


def fresh(path):
    if os.path.isdir(path):
        shutil.rmtree(path)
    os.makedirs(path)


# The picture-button looks beside each skin: their own size and twice that.
BUTTON_SCALES = (1, 2)


def make_skins(res):
    game = os.path.join(res, "game")
    nox_dir = os.path.join(game, "SKINS Nox")
    skins_dir = os.path.join(game, "SKINS")
    fresh(nox_dir)
    fresh(skins_dir)
    textures.build(os.path.join(nox_dir, "textures"))
    nox = SkinBuilder(NOX, nox_dir, "Advanced.skn", "", "textures/")
    nox.build(textures.NAMES)
    nox.write()
    # each skin's picture-button looks, in its colours, beside it: "<skin file's name>/buttons";
    # Nox's own-size looks are the ones compiled into the game, so only its large ones go there
    screens.build_buttons(os.path.join(nox_dir, "Advanced", "buttons"), NOX, (2,))
    fresh(os.path.join(res, "cursors"))
    cursors.build(os.path.join(res, "cursors"), os.path.join(nox_dir, "push.ani"))
    for style, name in ((FLOWER, "Flower"), (GOTHIC, "Gothic")):
        b = SkinBuilder(style, skins_dir, f"{name}.skn", f"{name}/", "../SKINS Nox/textures/")
        b.build(textures.NAMES)
        b.write()
        screens.build_buttons(os.path.join(skins_dir, name, "buttons"), style, BUTTON_SCALES)


def make_pictures(res):
    pics = os.path.join(res, "pictures")
    fresh(pics)
    pictures.splash().save(os.path.join(pics, "splash-167.png"), "PNG", optimize=True)
    pictures.splash(2).save(os.path.join(pics, "splash-167@2x.png"), "PNG", optimize=True)
    A.save_png(pictures.program_icon(256), os.path.join(pics, "icon-128.png"))
    # The same icon drawn at 128 x 128 for the desktop's icon theme (not compiled in).
    A.save_png(pictures.program_icon(128), os.path.join(pics, "icon-128-small.png"))
    with open(os.path.join(pics, "icon-128.svg"), "w", encoding="ascii", newline="\n") as f:
        f.write(pictures.icon_svg())
    A.save_png(pictures.sparkle_strip(), os.path.join(pics, "sparkle.png"))
    pictures.screen_background().save(os.path.join(pics, "screen.jpg"), "JPEG", quality=85, optimize=True)
    A.save_png(pictures.item_frame(False), os.path.join(pics, "item-frame.png"))
    A.save_png(pictures.item_frame(True), os.path.join(pics, "item-frame-selected.png"))
    A.save_png(pictures.hover_box(), os.path.join(pics, "hover-box.png"))
    screens.build_overlays(os.path.join(pics, "help"))
    tray = skinart.tray_sheet(NOX)
    n = skinart.TRAY
    A.save_png(tray.crop((0, 0, n, n)), os.path.join(pics, "tray-empty.png"))
    A.save_png(tray.crop((n, 0, 2 * n, n)), os.path.join(pics, "tray-full.png"))
    A.save_png(tray.crop((0, n, 2 * n, n + 64)), os.path.join(pics, "tray-frame.png"))
    fresh(os.path.join(res, "buttons"))
    # the looks compiled into the game: the default set (Nox's, at its own size)
    screens.build_buttons(os.path.join(res, "buttons"))
    fonts = os.path.join(res, "fonts")
    fresh(fonts)
    shutil.copyfile(A.font_path("lato", "Lato-Bold.ttf"), os.path.join(fonts, "Lato-Bold.ttf"))
    shutil.copyfile("/usr/share/doc/fonts-lato/copyright", os.path.join(fonts, "LICENSE-Lato.txt"))


# What the generator owns below resources/: folders it keeps in step, and single files.
OWNED_FOLDERS = ["game/SKINS Nox", "game/SKINS", "pictures", "buttons", "fonts", "cursors", "sounds"]
OWNED_FILES = ["velmora.qrc", "CREDITS"]


def sync(src_root, dst_root, folders, files):
    """Brings dst in step with src file by file: changed files are replaced atomically,
    unchanged ones keep their time stamps (no needless rebuilds), stale ones are removed.
    A build running meanwhile never finds a folder missing."""
    changed = 0
    for folder in folders:
        src, dst = os.path.join(src_root, folder), os.path.join(dst_root, folder)
        wanted = set()
        for base, _, names in os.walk(src):
            for name in names:
                rel = os.path.relpath(os.path.join(base, name), src)
                wanted.add(rel)
                changed += copy_if_changed(os.path.join(src, rel), os.path.join(dst, rel))
        for base, _, names in os.walk(dst, topdown=False):
            for name in names:
                rel = os.path.relpath(os.path.join(base, name), dst)
                if rel not in wanted:
                    os.remove(os.path.join(dst, rel))
                    changed += 1
            if base != dst and not os.listdir(base):
                os.rmdir(base)
    for f in files:
        changed += copy_if_changed(os.path.join(src_root, f), os.path.join(dst_root, f))
    return changed


def copy_if_changed(src, dst):
    if os.path.exists(dst) and filecmp.cmp(src, dst, shallow=False):
        return 0
    os.makedirs(os.path.dirname(dst), exist_ok=True)
    tmp = dst + ".new"
    shutil.copyfile(src, tmp)
    os.replace(tmp, dst)
    return 1


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--resources", default=os.path.join(REPO, "resources"))
    parser.add_argument("--sheet", help="folder (a build folder) for the contact sheet")
    parser.add_argument("--skip-starter", action="store_true", help="leave the starter pictures as they are")
    args = parser.parse_args()
    res = args.resources
    with tempfile.TemporaryDirectory(prefix="velmora-art-") as work:
        make_skins(work)
        make_pictures(work)
        fresh(os.path.join(work, "sounds"))
        sounds.build(os.path.join(work, "sounds"))
        folders = list(OWNED_FOLDERS)
        if not args.skip_starter:
            starter.build(os.path.join(work, "starter"))
            folders.append("starter")
        qrc.write(work)
        credits.write(work)
        changed = sync(work, res, folders, OWNED_FILES)
    print(f"{changed} file(s) changed under {res}")
    if args.sheet:
        import contact_sheet
        path = contact_sheet.build(res, args.sheet)
        print(f"contact sheet: {path}")


if __name__ == "__main__":
    main()
