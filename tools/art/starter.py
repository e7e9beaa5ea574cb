"""The starter library: freely licensed photographs from Debian's wallpaper packages, each with
the puzzle the build cuts from it (piece count, pattern, rotation, seed).

Every picture is scaled to fit the play area of a 1920 x 1080 screen, so that a starter puzzle
opens there without being cut again, and saved as JPEG. The catalogue is also written beside the
pictures as puzzles.tsv, which the build reads to make the puzzle files with velmora-tool."""

import os
import shutil

from PIL import Image

# The area a puzzle's picture is fitted into on a 1920 x 1080 screen: 90 % of the field, whose
# top is 50 pixels below the screen's.
BOX = (1728, 927)
QUALITY = 85

LOMIRI = "/usr/share/backgrounds"
PLASMA = "/usr/share/wallpapers"
MATE = "/usr/share/backgrounds/mate"

# Each source package's copyright file, which gives the licences' full texts.
PACKAGES = {
    "lomiri-wallpapers-16.04": "/usr/share/doc/lomiri-wallpapers-16.04/copyright",
    "plasma-workspace-wallpapers": "/usr/share/doc/plasma-workspace-wallpapers/copyright",
    "mate-backgrounds": "/usr/share/doc/mate-backgrounds/copyright",
}


class Starter:
    def __init__(self, name, package, src, title, author, year, licence, pieces, pattern, rotate, seed):
        self.name, self.package, self.src = name, package, src
        self.title, self.author, self.year, self.licence = title, author, year, licence
        self.pieces, self.pattern, self.rotate, self.seed = pieces, pattern, rotate, seed


# From the easiest to the hardest. Patterns are indices 0..15 (PATTERNS/Pattern<index + 1>.ptn).
CATALOGUE = [
    Starter("two-friends", "lomiri-wallpapers-16.04", f"{LOMIRI}/friends_by_Aitzol_Berasategi.jpg",
            "Two Friends", "Aitzol Berasategi", 2018, "CC-BY-4.0", 24, 0, False, 11),
    Starter("marigold", "mate-backgrounds", f"{MATE}/nature/Garden.jpg",
            "Marigold", "Charles Barbin", 2008, "GPL-2+", 48, 7, False, 23),
    Starter("colourful-cups", "plasma-workspace-wallpapers", f"{PLASMA}/ColorfulCups/contents/images/2560x1600.jpg",
            "Colourful Cups", "Dmitri Popov", 2014, "LGPL-3 (Debian: GPL-2+)", 48, 11, True, 37),
    Starter("paint-brushes", "lomiri-wallpapers-16.04", f"{LOMIRI}/Picture_1A_by_freespace.jpg",
            "Paint Brushes", "Trevor \"Freespace\"", 2018, "CC-BY-4.0", 96, 3, False, 41),
    Starter("dragonfly", "lomiri-wallpapers-16.04", f"{LOMIRI}/Dragonfly_by_Bolly.jpg",
            "Dragonfly", "\"Bolly\"", 2018, "CC-BY-SA-4.0", 96, 15, True, 53),
    Starter("autumn-in-aitzgorri", "lomiri-wallpapers-16.04", f"{LOMIRI}/aitzgorri_by_Aitzol_Berasategi.jpg",
            "Autumn in Aitzgorri", "Aitzol Berasategi", 2018, "CC-BY-4.0", 150, 1, False, 67),
    Starter("picos-de-europa", "lomiri-wallpapers-16.04", f"{LOMIRI}/picosdeeuropa_by_Aitzol_Berasategi.jpg",
            "Picos de Europa", "Aitzol Berasategi", 2018, "CC-BY-4.0", 150, 9, True, 71),
    Starter("forest-stream", "lomiri-wallpapers-16.04", f"{LOMIRI}/life_by_Aitzol_Berasategi.jpg",
            "Forest Stream", "Aitzol Berasategi", 2018, "CC-BY-4.0", 300, 13, False, 83),
    Starter("evening-glow", "plasma-workspace-wallpapers", f"{PLASMA}/EveningGlow/contents/images/2560x1600.jpg",
            "Evening Glow", "Ian Hex", 2014, "LGPL-3 (Debian: GPL-2+)", 500, 2, False, 97),
]


def file_name(i, s):
    return f"{i:02d}-{s.name}.jpg"


def fitted(im):
    scale = min(BOX[0] / im.width, BOX[1] / im.height)
    if scale >= 1:
        return im
    return im.resize((int(im.width * scale), int(im.height * scale)), Image.LANCZOS)


def puzzle_author(s):
    """The author a puzzle names: a photographer known only by a nickname loses the quotes."""
    a = s.author
    return a[1:-1] if a.startswith('"') and a.endswith('"') else a


def write_table(out_dir):
    """puzzles.tsv: one starter puzzle a line, read by the build (resources/starter/CMakeLists.txt)."""
    rows = ["# picture\ttitle\tauthor\tpieces\tpattern\trotate\tseed"]
    for i, s in enumerate(CATALOGUE, start=1):
        rows.append("\t".join([file_name(i, s), s.title, puzzle_author(s), str(s.pieces),
                               str(s.pattern), "1" if s.rotate else "0", str(s.seed)]))
    with open(os.path.join(out_dir, "puzzles.tsv"), "w", encoding="utf-8", newline="\n") as f:
        f.write("\n".join(rows) + "\n")


def build(out_dir):
    if os.path.isdir(out_dir):
        shutil.rmtree(out_dir)
    os.makedirs(out_dir)
    for i, s in enumerate(CATALOGUE, start=1):
        im = fitted(Image.open(s.src).convert("RGB"))
        im.save(os.path.join(out_dir, file_name(i, s)), "JPEG", quality=QUALITY, optimize=True, progressive=False)
    write_table(out_dir)
