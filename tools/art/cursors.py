"""Cursors: the open hand (104), the grabbing hand (181), the cross-hair (182) as .cur files with
their hot spots, and the animated push cursor as a RIFF ACON (.ani) file."""

import math
import struct

from PIL import Image, ImageChops, ImageDraw, ImageFilter

import artlib as A

N = 32
INK = "#1b2238"
SKIN = "#fff6e6"
SHADE = "#e9d3b0"


def _big():
    return Image.new("L", (N * A.SS, N * A.SS), 0), A.SS


def _small(big):
    return big.resize((N, N), Image.LANCZOS)


def _part_masks(kind, shift, spread):
    """The hand as separate parts (palm first, then thumb and fingers), each a mask."""
    s = A.SS
    ox, oy = shift
    parts = []

    def rr(x0, y0, x1, y1, r):
        big, _ = _big()
        ImageDraw.Draw(big).rounded_rectangle(((x0 + ox) * s, (y0 + oy) * s, (x1 + ox) * s, (y1 + oy) * s),
                                              radius=r * s, fill=255)
        parts.append(_small(big))

    def poly(points, cap=None):
        big, _ = _big()
        d = ImageDraw.Draw(big)
        d.polygon([((x + ox) * s, (y + oy) * s) for x, y in points], fill=255)
        if cap:
            x0, y0, x1, y1 = cap
            d.ellipse(((x0 + ox) * s, (y0 + oy) * s, (x1 + ox) * s, (y1 + oy) * s), fill=255)
        parts.append(_small(big))

    if kind == "open":
        rr(8.5, 13, 24, 28.5, 5)
        poly([(9.5, 22), (3.4, 16.2), (5.2, 13.6), (12, 17.5)], cap=(3.0, 13.2, 6.4, 16.6))
        for x, top in [(8.6, 6.5), (12.6, 3.5), (16.6, 4), (20.6, 7)]:
            x = 16.5 + (x - 16.5) * spread
            rr(x, top, x + 3.1, 18, 1.55)
    elif kind == "grab":
        rr(8, 12.5, 24, 28.5, 5)
        poly([(9, 21), (5.2, 17.5), (6.8, 15.2), (11.5, 17.5)])
        for x in (8.4, 12.3, 16.2, 20.1):
            rr(x, 9.5, x + 3.5, 16.5, 1.75)
    elif kind == "push":
        rr(9, 8, 22.5, 26, 5)
        poly([(9.5, 19), (4.5, 14.5), (6, 12.5), (11, 16)])
        for i, y in enumerate([3.5, 2.0, 2.5, 4.5]):
            x = 9.2 + i * 3.35
            rr(x, y, x + 3.0, 12, 1.5)
    return parts


def hand_mask(kind, shift=(0.0, 0.0), spread=1.0):
    m = Image.new("L", (N, N), 0)
    for p in _part_masks(kind, shift, spread):
        m = ImageChops.lighter(m, p)
    return m


def render_hand(kind, shift=(0.0, 0.0), spread=1.0, lines=0.0):
    parts = _part_masks(kind, shift, spread)
    whole = hand_mask(kind, shift, spread)
    img = Image.new("RGBA", (N, N), (0, 0, 0, 0))
    A.over(img, A.shadow(whole.filter(ImageFilter.MaxFilter(3)), 0.8, 110, offset=(1, 1)))
    fill = A.vgradient(N, N, [(0, SKIN), (1, SHADE)])
    for p in parts:
        # each part wears its own outline, so fingers stay apart and creases show on the palm
        A.over(img, A.fill_mask((N, N), INK, p.filter(ImageFilter.MaxFilter(3))))
        A.over(img, A.fill_mask((N, N), fill, p))
    d = ImageDraw.Draw(img)
    if lines:
        # motion lines to the right of the pushing hand
        for k, y in enumerate((9, 15, 21)):
            length = 4 + 3 * lines * (1 + (k % 2))
            d.line((26, y, 26 + length, y), fill=A.rgba(INK, 200), width=1)
            d.line((26, y + 1, 26 + length, y + 1), fill=A.rgba("#ffffff", 170), width=1)
    return img


def crosshair():
    img = Image.new("RGBA", (N, N), (0, 0, 0, 0))
    big, s = _big()
    d = ImageDraw.Draw(big)
    c = 15.5
    for (x0, y0, x1, y1) in [(c, 2, c, 12), (c, 19, c, 29), (2, c, 12, c), (19, c, 29, c)]:
        d.line((x0 * s, y0 * s, x1 * s, y1 * s), fill=255, width=int(1.6 * s))
    d.ellipse(((c - 1.6) * s, (c - 1.6) * s, (c + 1.6) * s, (c + 1.6) * s), fill=255)
    core = _small(big)
    outline = core.filter(ImageFilter.MaxFilter(3))
    A.over(img, A.fill_mask((N, N), INK, outline))
    A.over(img, A.fill_mask((N, N), "#ffffff", core))
    d = ImageDraw.Draw(img)
    d.point((15, 15), fill=A.rgba("#d9a441"))
    d.point((16, 16), fill=A.rgba("#d9a441"))
    d.point((15, 16), fill=A.rgba("#d9a441"))
    d.point((16, 15), fill=A.rgba("#d9a441"))
    return img


def cur_bytes(img, hotspot):
    """One-image .cur: a 32-bit DIB with its AND mask (the form every reader understands)."""
    w, h = img.size
    px = img.load()
    xor = bytearray()
    for y in range(h - 1, -1, -1):
        for x in range(w):
            r, g, b, a = px[x, y]
            xor += bytes((b, g, r, a))
    row_bytes = ((w + 31) // 32) * 4
    andm = bytearray()
    for y in range(h - 1, -1, -1):
        row = bytearray(row_bytes)
        for x in range(w):
            if px[x, y][3] == 0:
                row[x >> 3] |= 0x80 >> (x & 7)
        andm += row
    header = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0, len(xor) + len(andm), 0, 0, 0, 0)
    image = header + bytes(xor) + bytes(andm)
    icondir = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", w % 256, h % 256, 0, 0, hotspot[0], hotspot[1], len(image), 6 + 16)
    return icondir + entry + image


def chunk(tag, data):
    pad = b"\0" if len(data) % 2 else b""
    return tag + struct.pack("<I", len(data)) + data + pad


def ani_bytes(frames, hotspot, jiffies):
    """RIFF ACON: anih header, frame rate and the frames as icon chunks of a LIST fram."""
    n = len(frames)
    anih = struct.pack("<IIIIIIIII", 36, n, n, 0, 0, 0, 0, jiffies, 1)
    info = chunk(b"LIST", b"INFO" + chunk(b"INAM", b"Velmora push\0") + chunk(b"IART", b"Velmora\0"))
    rate = chunk(b"rate", struct.pack("<" + "I" * n, *([jiffies] * n)))
    fram = chunk(b"LIST", b"fram" + b"".join(chunk(b"icon", cur_bytes(f, hotspot)) for f in frames))
    body = b"ACON" + info + chunk(b"anih", anih) + rate + fram
    return b"RIFF" + struct.pack("<I", len(body)) + body


def push_frames():
    frames = []
    for i in range(8):
        phase = math.sin(i / 8 * 2 * math.pi)
        frames.append(render_hand("push", shift=(-1.5 * phase, 0), lines=0.25 + 0.75 * (1 + phase) / 2))
    return frames


CURSORS = {104: ("open", (16, 16)), 181: ("grab", (16, 18)), 182: ("cross", (15, 15))}


def images():
    out = {}
    for number, (kind, hot) in CURSORS.items():
        out[number] = (crosshair() if kind == "cross" else render_hand(kind), hot)
    return out


def build(cursor_dir, ani_path):
    import os
    os.makedirs(cursor_dir, exist_ok=True)
    for number, (img, hot) in images().items():
        with open(f"{cursor_dir}/{number}.cur", "wb") as f:
            f.write(cur_bytes(img, hot))
    with open(ani_path, "wb") as f:
        f.write(ani_bytes(push_frames(), (15, 14), 6))
