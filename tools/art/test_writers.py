#!/usr/bin/python3
"""Exact checks of the file writers the art generator relies on: region masks, nine-slices,
.cur and .ani files, skin files and the resource list. Run: tools/art/test_writers.py"""

import io
import os
import struct
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from PIL import Image, ImageDraw  # noqa: E402

import cursors  # noqa: E402
from sknwriter import Element, nine_slice, write_mask, write_skin  # noqa: E402


def read_mask(path):
    """The reader's view of a mask file: width, height, then bit y*w+x, MSB first, unpadded."""
    data = open(path, "rb").read()
    w, h = struct.unpack("<ii", data[:8])
    bits = data[8:]
    return w, h, {(x, y) for y in range(h) for x in range(w)
                  if bits[(y * w + x) >> 3] & (0x80 >> ((y * w + x) & 7))}


class MaskFile(unittest.TestCase):
    def test_bits_follow_rows_without_padding_most_significant_first(self):
        # a width of 5 makes rows straddle bytes: padding or a wrong bit order would show
        img = Image.new("L", (5, 3), 0)
        inside = {(0, 0), (4, 0), (2, 1), (0, 2), (3, 2)}
        for p in inside:
            img.putpixel(p, 255)
        with tempfile.TemporaryDirectory() as d:
            path = os.path.join(d, "m.msk")
            write_mask(path, img)
            w, h, got = read_mask(path)
            self.assertEqual((w, h), (5, 3))
            self.assertEqual(got, inside)
            self.assertEqual(os.path.getsize(path), 8 + 2)  # 15 bits in 2 bytes

    def test_half_covered_pixels_are_inside(self):
        img = Image.new("L", (2, 1), 0)
        img.putpixel((0, 0), 128)
        img.putpixel((1, 0), 127)
        with tempfile.TemporaryDirectory() as d:
            path = os.path.join(d, "m.msk")
            write_mask(path, img)
            self.assertEqual(read_mask(path)[2], {(0, 0)})


def resolve(coord, low, high):
    """A skin coordinate against an owner span: 'n' or 'n,lt' from low, 'n,rb' from high."""
    number, _, anchor = coord.partition(",")
    return high - int(number) if anchor in ("rb", "RightBottom") else low + int(number)


class NineSlice(unittest.TestCase):
    def test_parts_tile_the_owner_and_the_picture_exactly(self):
        root = Element("Skin")
        g = nine_slice(root, "b.png", 0, 40, 96, 36, 12, 10, 14, 8)
        parts = g.children
        self.assertEqual(len(parts), 9)
        owner_w, owner_h = 301, 77
        covered = Image.new("L", (owner_w, owner_h), 0)
        source = Image.new("L", (96, 36), 0)
        for p in parts:
            a = dict(p.attrs)
            x1, x2 = resolve(a["X1"], 0, owner_w), resolve(a["X2"], 0, owner_w)
            y1, y2 = resolve(a["Y1"], 0, owner_h), resolve(a["Y2"], 0, owner_h)
            sx, sy, sw, sh = (int(a[k]) for k in ("SrcX", "SrcY", "SrcWidth", "SrcHeight"))
            # a part that is not stretched is drawn at its picture's size: it must fit its place
            if a.get("HPosition") != "Stretched":
                self.assertEqual(x2 - x1, sw)
            if a.get("VPosition") != "Stretched":
                self.assertEqual(y2 - y1, sh)
            for img, box in ((covered, (x1, y1, x2, y2)), (source, (sx, sy - 40, sx + sw, sy - 40 + sh))):
                region = img.crop(box)
                self.assertEqual(max(region.getdata()), 0, "parts overlap")
                img.paste(255, box)
        self.assertEqual(min(covered.getdata()), 255, "the owner rectangle has gaps")
        self.assertEqual(min(source.getdata()), 255, "part of the picture is never used")


class CursorFiles(unittest.TestCase):
    def test_cur_header_hot_spot_and_masks(self):
        img = Image.new("RGBA", (32, 32), (0, 0, 0, 0))
        ImageDraw.Draw(img).rectangle((4, 6, 9, 20), fill=(10, 20, 30, 255))
        data = cursors.cur_bytes(img, (7, 11))
        reserved, kind, count = struct.unpack("<HHH", data[:6])
        self.assertEqual((reserved, kind, count), (0, 2, 1))
        w, h, _, _, hx, hy, size, offset = struct.unpack("<BBBBHHII", data[6:22])
        self.assertEqual((w, h, hx, hy, offset), (32, 32, 7, 11, 22))
        self.assertEqual(offset + size, len(data))
        back = Image.open(io.BytesIO(data)).convert("RGBA")
        self.assertEqual(back.getpixel((5, 7)), (10, 20, 30, 255))
        self.assertEqual(back.getpixel((20, 20))[3], 0)
        # the AND mask marks the clear pixels, bottom row first
        and_start = 22 + 40 + 32 * 32 * 4
        bottom_row = data[and_start:and_start + 4]
        self.assertEqual(bottom_row, b"\xff\xff\xff\xff")
        row_of_y10 = data[and_start + (31 - 10) * 4:and_start + (31 - 10) * 4 + 4]
        bits = int.from_bytes(row_of_y10, "big")
        for x in range(32):
            self.assertEqual(bool(bits & (1 << (31 - x))), not (4 <= x <= 9), x)

    def test_ani_chunks_and_sizes(self):
        frames = cursors.push_frames()
        data = cursors.ani_bytes(frames, (15, 14), 6)
        self.assertEqual(data[:4], b"RIFF")
        self.assertEqual(struct.unpack("<I", data[4:8])[0], len(data) - 8)
        self.assertEqual(data[8:12], b"ACON")
        pos = data.index(b"anih")
        fields = struct.unpack("<IIIIIIIIII", data[pos + 4:pos + 44])
        self.assertEqual(fields[0], 36)
        self.assertEqual(fields[1], 36)        # header size
        self.assertEqual(fields[2], len(frames))
        self.assertEqual(fields[8], 6)         # jiffies per frame
        self.assertEqual(fields[9] & 1, 1)     # frames are icons
        self.assertEqual(data.count(b"icon"), len(frames))
        self.assertTrue(6 <= len(frames) <= 8)


class SkinFile(unittest.TestCase):
    def test_root_element_is_the_last_node_and_text_is_ascii(self):
        root = Element("Skin", Name="T")
        root.sub("Object", Name="Button", X2="0,rb")
        with tempfile.TemporaryDirectory() as d:
            path = os.path.join(d, "t.skn")
            write_skin(path, root, "comment before the root only")
            text = open(path, encoding="ascii").read()
            self.assertTrue(text.rstrip().endswith("</Skin>"))
            self.assertLess(text.index("<!--"), text.index("<Skin"))
            root.sub("Text", Name="caf\u00e9")
            with self.assertRaises(UnicodeEncodeError):
                write_skin(path, root, "x")

    def test_attributes_are_escaped_and_absent_ones_left_out(self):
        e = Element("Text", Name='a"b<c', Attributes=None, Format="DT_CENTER DT_VCENTER")
        line = e.lines(0)[0]
        self.assertIn('Name=\'a"b&lt;c\'', line)
        self.assertNotIn("Attributes", line)


if __name__ == "__main__":
    unittest.main()
