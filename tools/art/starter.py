"""The starter pictures of the library: freely licensed photographs from Debian's wallpaper
packages, resized to at most 1600 pixels on the long side and saved as JPEG."""

import os
import shutil

from PIL import Image

LONG_SIDE = 1600
QUALITY = 85
MATE = "/usr/share/backgrounds/mate"

# (output name, source, title, authors, year, licence)
CATALOGUE = [
    ("water-drop", f"{MATE}/nature/Aqua.jpg", "Water Drop", "Charles Barbin", 2008, "GPL-2+"),
    ("green-leaf", f"{MATE}/nature/Blinds.jpg", "Green Leaf", "Lennart Poettering, Andrea Cimitan", 2008, "GPL-2+"),
    ("dune-grass", f"{MATE}/nature/Dune.jpg", "Dune Grass", "Marco Cogoni, Hylke Bons", 2008, "GPL-2+"),
    ("fresh-flower", f"{MATE}/nature/FreshFlower.jpg", "Fresh Flower", "Jens Ansorg", 2005, "GPL-2+"),
    ("marigold", f"{MATE}/nature/Garden.jpg", "Marigold", "Charles Barbin", 2008, "GPL-2+"),
    ("green-meadow", f"{MATE}/nature/GreenMeadow.jpg", "Green Meadow", "Timothy Schellhase, Lapo Calamandrei", 2008, "GPL-2+"),
    ("ladybird", f"{MATE}/nature/LadyBird.jpg", "Ladybird", "Charles Barbin", 2008, "GPL-2+"),
    ("rain-drops", f"{MATE}/nature/RainDrops.jpg", "Rain Drops", "blackcombwhistler07", 2008, "GPL-2+"),
    ("storm", f"{MATE}/nature/Storm.jpg", "Storm", "Sergey Nazarov", 2008, "GPL-2+"),
    ("two-wings", f"{MATE}/nature/TwoWings.jpg", "Two Wings", "Charles Barbin, Hylke Bons", 2008, "GPL-2+"),
    ("yellow-flower", f"{MATE}/nature/YellowFlower.jpg", "Yellow Flower", "Charles Barbin", 2008, "GPL-2+"),
    ("elephants", f"{MATE}/abstract/Elephants.jpg", "Elephants", "Wyng Stancikaite", 2020, "GPL-2+"),
    ("old-wood", f"{MATE}/nature/Wood.jpg", "Old Wood", "Jean-Francois Fortin Tam", 2008, "GPL-2+"),
]


def build(out_dir):
    if os.path.isdir(out_dir):
        shutil.rmtree(out_dir)
    os.makedirs(out_dir)
    for i, (name, src, *_rest) in enumerate(CATALOGUE, start=1):
        im = Image.open(src).convert("RGB")
        scale = LONG_SIDE / max(im.size)
        if scale < 1:
            im = im.resize((round(im.width * scale), round(im.height * scale)), Image.LANCZOS)
        im.save(os.path.join(out_dir, f"{i:02d}-{name}.jpg"), "JPEG", quality=QUALITY, optimize=True, progressive=False)
