#!/usr/bin/python3
"""Makes every picture, sound, cursor and skin of the game and writes them under resources/.

    tools/art/make_art.py                 # regenerate resources/ (the files are committed)
    tools/art/make_art.py --sheet DIR     # also write DIR/contact-sheet.png

Needs Debian's python3-pil and python3-numpy, and the font and wallpaper packages named in
resources/CREDITS. The output is the same on every run."""

import argparse
import os
import shutil
import sys

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
    fresh(os.path.join(res, "cursors"))
    cursors.build(os.path.join(res, "cursors"), os.path.join(nox_dir, "push.ani"))
    for style, name in ((FLOWER, "Flower"), (GOTHIC, "Gothic")):
        b = SkinBuilder(style, skins_dir, f"{name}.skn", f"{name}/", "../SKINS Nox/textures/")
        b.build(textures.NAMES)
        b.write()


def make_pictures(res):
    pics = os.path.join(res, "pictures")
    fresh(pics)
    pictures.splash().save(os.path.join(pics, "splash-167.png"), "PNG", optimize=True)
    A.save_png(pictures.program_icon(256), os.path.join(pics, "icon-128.png"))
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
    screens.build_buttons(os.path.join(res, "buttons"))
    fonts = os.path.join(res, "fonts")
    fresh(fonts)
    shutil.copyfile(A.font_path("lato", "Lato-Bold.ttf"), os.path.join(fonts, "Lato-Bold.ttf"))
    shutil.copyfile("/usr/share/doc/fonts-lato/copyright", os.path.join(fonts, "LICENSE-Lato.txt"))


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--resources", default=os.path.join(REPO, "resources"))
    parser.add_argument("--sheet", help="folder (a build folder) for the contact sheet")
    parser.add_argument("--skip-starter", action="store_true", help="leave the starter pictures as they are")
    args = parser.parse_args()
    res = args.resources
    make_skins(res)
    make_pictures(res)
    fresh(os.path.join(res, "sounds"))
    sounds.build(os.path.join(res, "sounds"))
    if not args.skip_starter:
        starter.build(os.path.join(res, "starter"))
    qrc.write(res)
    credits.write(res)
    if args.sheet:
        import contact_sheet
        path = contact_sheet.build(res, args.sheet)
        print(f"contact sheet: {path}")


if __name__ == "__main__":
    main()
