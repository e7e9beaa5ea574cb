"""Writes skin files: an XML document whose root element holds the items, nothing after it."""

from xml.sax.saxutils import quoteattr


class Element:
    def __init__(self, tag, **attrs):
        self.tag = tag
        self.attrs = [(k, str(v)) for k, v in attrs.items() if v is not None]
        self.children = []

    def add(self, child):
        self.children.append(child)
        return child

    def sub(self, tag, **attrs):
        return self.add(Element(tag, **attrs))

    def lines(self, depth):
        pad = "  " * depth
        attrs = "".join(f" {k}={quoteattr(v)}" for k, v in self.attrs)
        if not self.children:
            return [f"{pad}<{self.tag}{attrs}/>"]
        out = [f"{pad}<{self.tag}{attrs}>"]
        for c in self.children:
            out.extend(c.lines(depth + 1))
        out.append(f"{pad}</{self.tag}>")
        return out


def colour(hex_text):
    """The skin's colour notation: 0xRRGGBB."""
    return "0x" + hex_text.lstrip("#").upper()


def write_skin(path, root, header_comment):
    text = ['<?xml version="1.0" ?>', f"<!-- {header_comment} -->"]
    text.extend(root.lines(0))
    data = "\n".join(text) + "\n"
    data.encode("ascii")  # skin files are read as single-byte text: keep them plain ASCII
    with open(path, "w", encoding="ascii", newline="\n") as f:
        f.write(data)


def nine_slice(parent, src, sx, sy, w, h, left, top, right, bottom, attributes=None, name=None,
               x1="0", y1="0", x2="0,rb", y2="0,rb"):
    """A group that fills its owner rectangle with a picture cut into nine parts: the corners
    keep their size, the edges and the middle stretch."""
    g = parent.sub("Group", Name=name, Attributes=attributes, X1=x1, Y1=y1, X2=x2, Y2=y2)
    mw, mh = w - left - right, h - top - bottom
    cols = [(0, left, "0", str(left), None),
            (left, mw, str(left), f"{right},rb", "Stretched"),
            (w - right, right, f"{right},rb", "0,rb", None)]
    rows = [(0, top, "0", str(top), None),
            (top, mh, str(top), f"{bottom},rb", "Stretched"),
            (h - bottom, bottom, f"{bottom},rb", "0,rb", None)]
    for (ry, rh, ya, yb, vpos) in rows:
        for (cx, cw, xa, xb, hpos) in cols:
            if cw <= 0 or rh <= 0:
                continue
            g.sub("Bitmap", Src=src, SrcX=sx + cx, SrcY=sy + ry, SrcWidth=cw, SrcHeight=rh,
                  HPosition=hpos, VPosition=vpos, X1=xa, Y1=ya, X2=xb, Y2=yb)
    return g


def three_slice_h(parent, src, sx, sy, w, h, left, right, attributes=None, name=None,
                  x1="0", x2="0,rb", y1="0", y2="0,rb"):
    """A strip of fixed height, centred vertically, whose ends keep their width."""
    g = parent.sub("Group", Name=name, Attributes=attributes, X1=x1, Y1=y1, X2=x2, Y2=y2)
    g.sub("Bitmap", Src=src, SrcX=sx, SrcY=sy, SrcWidth=left, SrcHeight=h, VPosition="Centered",
          X1="0", Y1="0", X2=str(left), Y2="0,rb")
    g.sub("Bitmap", Src=src, SrcX=sx + left, SrcY=sy, SrcWidth=w - left - right, SrcHeight=h,
          HPosition="Stretched", VPosition="Centered", X1=str(left), Y1="0", X2=f"{right},rb", Y2="0,rb")
    g.sub("Bitmap", Src=src, SrcX=sx + w - right, SrcY=sy, SrcWidth=right, SrcHeight=h, VPosition="Centered",
          X1=f"{right},rb", Y1="0", X2="0,rb", Y2="0,rb")
    return g


def write_mask(path, mask_image):
    """A region mask file: width, height (signed 32-bit little-endian), then one bit per pixel,
    rows unpadded, most significant bit first; a set bit is inside the region."""
    import os
    import struct
    os.makedirs(os.path.dirname(path), exist_ok=True)
    w, h = mask_image.size
    px = mask_image.load()
    bits = bytearray((w * h + 7) // 8)
    for y in range(h):
        for x in range(w):
            if px[x, y] >= 128:
                n = y * w + x
                bits[n >> 3] |= 0x80 >> (n & 7)
    with open(path, "wb") as f:
        f.write(struct.pack("<ii", w, h))
        f.write(bits)
