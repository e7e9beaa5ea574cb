"""Writes resources/CREDITS: where every input that is not our own comes from, and its licence."""

import os

import starter
from styles import STYLES

FONTS = {
    "fonts-lato": ("Lato", "(c) 2010-2011 Lukasz Dziedzic", "SIL Open Font License 1.1"),
    "fonts-comfortaa": ("Comfortaa", "(c) 2008-2017 Johan Aakerlund", "SIL Open Font License 1.1"),
    "fonts-linuxlibertine": ("Linux Libertine", "(c) 2003-2009 Philipp H. Poll",
                             "GPL-2+ with font exception, or SIL Open Font License 1.1"),
}


def write(res):
    out = ["Velmora - credits for the shipped art",
           "=====================================",
           "",
           "Everything under resources/ was made by tools/art/make_art.py: the skins' bitmaps and",
           "region masks, the board textures, the splash, icon, sparkle, help overlays, picture",
           "buttons, cursors and sounds are drawn or synthesised by our own generators and belong to",
           "the project. The inputs that are not our own are listed below; each comes from a Debian",
           "package, whose copyright file gives the full licence text.",
           "",
           "Fonts",
           "-----",
           "The licence file sits beside each copied font (fonts/LICENSE-*.txt).",
           ""]
    used = {s.font_licence_doc: s for s in STYLES}
    for doc, (name, holder, licence) in FONTS.items():
        where = "resources/fonts/ (compiled in), " if doc == "fonts-lato" else ""
        skins = ", ".join(s.title for s in STYLES if s.font_licence_doc == doc)
        out.append(f"- {name}: {holder}. {licence}. Debian package {doc}.")
        out.append(f"  Used in: {where}the {skins} skin{'s' if ',' in skins else ''}.")
    assert set(used) == set(FONTS)
    out += ["",
            "Starter pictures (resources/starter/)",
            "-------------------------------------",
            "Photographs from Debian's wallpaper packages, scaled to fit 1728 x 927 pixels and saved as",
            "JPEG (quality 85); otherwise unchanged. The build cuts the starter puzzles from them, named",
            "by the titles below, with the photographer as the puzzle's author. Each package's copyright",
            "file gives the full licence texts:"]
    out += [f"  {path}" for path in sorted(starter.PACKAGES.values())]
    out.append("")
    for i, s in enumerate(starter.CATALOGUE, start=1):
        out.append(f"- {starter.file_name(i, s)}  \"{s.title}\"  (c) {s.year} {s.author}. {s.licence}.")
        out.append(f"  Debian package {s.package}: {s.src}")
    with open(os.path.join(res, "CREDITS"), "w", encoding="utf-8", newline="\n") as f:
        f.write("\n".join(out) + "\n")
