"""The pictures compiled into the game: the splash (167), the program icon (128) with a scalable
version, the join sparkle strip and the tray pictures."""

import math

import numpy as np
from PIL import Image, ImageChops, ImageDraw, ImageFilter

import artlib as A
from styles import NOX as ST

LATO_BLACK = A.font_path("lato", "Lato-Black.ttf")
LATO_BOLD = A.font_path("lato", "Lato-Bold.ttf")
LATO_REG = A.font_path("lato", "Lato-Regular.ttf")
LATO_ITALIC = A.font_path("lato", "Lato-Italic.ttf")


# -- the puzzle-piece emblem ---------------------------------------------------------------------
def piece_outline(size, knob=0.19):
    """A jigsaw piece in a unit box, as polygon points: tabs out on top and right, in on the left
    and bottom. Drawn from cubic-like arcs sampled finely."""
    pts = []
    body = 0.62
    o = (1 - body) / 2  # margin that leaves room for the outward tabs

    def side(p0, p1, outward, direction):
        # p0 -> p1 along one side; a round tab centred on the side, out (+1) or in (-1)
        (x0, y0), (x1, y1) = p0, p1
        dx, dy = x1 - x0, y1 - y0
        length = math.hypot(dx, dy)
        ux, uy = dx / length, dy / length
        nx, ny = direction  # outward normal
        neck = 0.085
        for t in np.linspace(0, 0.5 - neck, 8):
            pts.append((x0 + dx * t, y0 + dy * t))
        cx = x0 + dx * 0.5 + nx * outward * knob * 0.74 * length
        cy = y0 + dy * 0.5 + ny * outward * knob * 0.74 * length
        # arc around the tab's centre from the neck on one side to the other
        a0 = math.atan2((y0 + dy * (0.5 - neck)) - cy, (x0 + dx * (0.5 - neck)) - cx)
        a1 = math.atan2((y0 + dy * (0.5 + neck)) - cy, (x0 + dx * (0.5 + neck)) - cx)
        sweep = (a1 - a0)
        # go the long way round, away from the side
        if outward > 0:
            sweep = sweep - 2 * math.pi if sweep > 0 else sweep
            if abs(sweep) < math.pi:
                sweep = sweep + 2 * math.pi
        else:
            sweep = sweep + 2 * math.pi if sweep < 0 else sweep
            if abs(sweep) < math.pi:
                sweep = sweep - 2 * math.pi
        rr = math.hypot((x0 + dx * (0.5 - neck)) - cx, (y0 + dy * (0.5 - neck)) - cy)
        for t in np.linspace(0, 1, 40):
            a = a0 + sweep * t
            pts.append((cx + rr * math.cos(a), cy + rr * math.sin(a)))
        for t in np.linspace(0.5 + neck, 1, 8):
            pts.append((x0 + dx * t, y0 + dy * t))

    tl, tr, br, bl = (o, o), (1 - o, o), (1 - o, 1 - o), (o, 1 - o)
    side(tl, tr, +1, (0, -1))
    side(tr, br, +1, (1, 0))
    side(br, bl, -1, (0, 1))
    side(bl, tl, -1, (-1, 0))
    return [(x * size, y * size) for x, y in pts]


def piece_mask(size, rotate=0.0):
    s = A.SS
    pts = piece_outline(size * s)
    if rotate:
        c = size * s / 2
        ca, sa = math.cos(rotate), math.sin(rotate)
        pts = [(c + (x - c) * ca - (y - c) * sa, c + (x - c) * sa + (y - c) * ca) for x, y in pts]
    big = Image.new("L", (size * s, size * s), 0)
    ImageDraw.Draw(big).polygon(pts, fill=255)
    return big.resize((size, size), Image.LANCZOS)


def gold_piece(size, rotate=0.0, top=ST.accent_light, bottom=ST.accent):
    m = piece_mask(size, rotate)
    img = Image.new("RGBA", (size, size), (0, 0, 0, 0))
    A.over(img, A.fill_mask((size, size), A.vgradient(size, size, [(0, top), (0.55, bottom), (1, A.mix(bottom, "#5a3a08", 0.5))]), m))
    # bevel: light from the top-left, dark to the bottom-right
    inner = m.filter(ImageFilter.GaussianBlur(size / 40))
    hi = ImageChops.subtract(m, ImageChops.offset(inner, int(size / 60) + 1, int(size / 60) + 1))
    lo = ImageChops.subtract(m, ImageChops.offset(inner, -int(size / 60) - 1, -int(size / 60) - 1))
    A.over(img, A.fill_mask((size, size), "#fff6d8", hi.point(lambda v: v * 200 // 255)))
    A.over(img, A.fill_mask((size, size), "#5a3a08", lo.point(lambda v: v * 150 // 255)))
    # a soft specular sweep
    spec = Image.new("L", (size, size), 0)
    ImageDraw.Draw(spec).ellipse((size * 0.12, size * 0.05, size * 0.75, size * 0.45), fill=90)
    spec = ImageChops.multiply(spec.filter(ImageFilter.GaussianBlur(size / 14)), m)
    A.over(img, A.fill_mask((size, size), "#ffffff", spec))
    return img, m


def night_sky(w, h, seed, stars=160, k=1):
    """The night sky of w x h pixels; its stars are drawn k times their size (the picture's scale)."""
    img = A.vgradient(w, h, [(0, "#22335a"), (0.55, "#121c36"), (1, "#080c18")])
    glow = A.radial(w // (4 * k), h // (4 * k), "#3b4f86", "#000000", cx=0.72, cy=0.18, radius=0.55, inner_alpha=140, outer_alpha=0)
    A.over(img, glow.resize((w, h), Image.BICUBIC))
    rng = np.random.RandomState(seed)
    layer = Image.new("RGBA", (w, h), (0, 0, 0, 0))
    d = ImageDraw.Draw(layer)
    for _ in range(stars):
        x, y = rng.uniform(0, w), rng.uniform(0, h * 0.85)
        r = rng.choice([0.5, 0.7, 0.9, 1.3], p=[0.45, 0.3, 0.17, 0.08]) * k
        a = int(rng.uniform(90, 230) * (1 - y / h * 0.6))
        col = ST.accent_light if rng.rand() < 0.15 else "#f4f0ff"
        d.ellipse((x - r, y - r, x + r, y + r), fill=A.rgba(col, a))
    A.over(img, layer.filter(ImageFilter.GaussianBlur(0.35 * k)))
    A.over(img, layer)
    return img


def scattered_pieces(img, seed, count, size_range, alpha_range, area, k=1):
    rng = np.random.RandomState(seed)
    x0, y0, x1, y1 = area
    for _ in range(count):
        size = int(rng.uniform(*size_range)) * k
        m = piece_mask(size, rng.uniform(0, 2 * math.pi))
        a = int(rng.uniform(*alpha_range))
        layer = A.fill_mask((size, size), A.vgradient(size, size, [(0, "#5d74a8"), (1, "#2a3a62")]), m.point(lambda v: v * a // 255))
        edge = ImageChops.subtract(m, m.filter(ImageFilter.MinFilter(2 * k + 1)))
        A.over(layer, A.fill_mask((size, size), "#9fb4e0", edge.point(lambda v: v * a // 400)))
        A.over(img, layer, (rng.uniform(x0, x1 - size / k) * k, rng.uniform(y0, y1 - size / k) * k))


def crescent(img, centre, r):
    """A thin crescent moon with a soft halo."""
    w, h = img.size
    s = A.SS
    big = Image.new("L", (w * s, h * s), 0)
    d = ImageDraw.Draw(big)
    cx, cy = centre
    d.ellipse(((cx - r) * s, (cy - r) * s, (cx + r) * s, (cy + r) * s), fill=255)
    d.ellipse(((cx - r + r * 0.45) * s, (cy - r - r * 0.2) * s, (cx + r + r * 0.45) * s, (cy + r - r * 0.2) * s), fill=0)
    m = big.resize((w, h), Image.LANCZOS)
    A.over(img, A.glow(m, r * 0.45, "#f6e7c0", 110))
    A.over(img, A.fill_mask((w, h), "#fbf1d6", m))


def title_text(img, xy, text, size, anchor="lm", k=1):
    """The word mark: ivory-to-gold letters with a soft dark shadow and a faint glow."""
    fnt = A.font(LATO_BLACK, size * k)
    w, h = img.size
    mask = Image.new("L", (w, h), 0)
    ImageDraw.Draw(mask).text((xy[0] * k, xy[1] * k), text, font=fnt, fill=255, anchor=anchor)
    A.over(img, A.shadow(mask, 4 * k, 170, offset=(0, 4 * k)))
    A.over(img, A.glow(mask, 10 * k, ST.accent, 70))
    box = mask.getbbox()
    grad = A.vgradient(w, h, [(0, "#fffaf0"), (box[1] / h, "#fffaf0"), ((box[1] + box[3]) / 2 / h, "#f6e3b4"),
                              (box[3] / h, ST.accent), (1, ST.accent)])
    A.over(img, A.fill_mask((w, h), grad, mask))


SPLASH = dict(w=600, h=400)


def splash(k=1):
    """Bitmap 167: 600 x 400 (times k), the title, the emblem, and a quiet pill at the bottom
    where the loading counter is drawn in white (centred at x 300, y 356)."""
    w, h = SPLASH["w"] * k, SPLASH["h"] * k
    img = night_sky(w, h, 167, k=k)
    scattered_pieces(img, 168, 14, (34, 80), (18, 48), (-20, -20, SPLASH["w"] + 20, SPLASH["h"] - 60), k)
    crescent(img, (548 * k, 58 * k), 20 * k)
    # the emblem with its glow
    size = 190 * k
    at = (34 * k, 70 * k)
    piece, m = gold_piece(size, rotate=-0.18)
    full = Image.new("L", (w, h), 0)
    full.paste(m, at)
    A.over(img, A.glow(full, 22 * k, ST.accent, 120))
    A.over(img, A.shadow(full, 6 * k, 160, offset=(4 * k, 8 * k)))
    A.over(img, piece, at)
    title_text(img, (226, 160), "Velmora", 84, k=k)
    A.draw_text(img, (232 * k, 226 * k), "Jigsaw puzzles for quiet evenings", A.font(LATO_ITALIC, 22 * k), "#c9d3ea",
                shadow_colour=(0, 0, 0, 160), shadow_offset=(0, 2 * k), shadow_blur=k)
    # the counter's pill
    s = A.SS
    band = Image.new("RGBA", (w * s, h * s), (0, 0, 0, 0))
    d = ImageDraw.Draw(band)
    d.rounded_rectangle((230 * k * s, 336 * k * s, 370 * k * s, 376 * k * s), radius=20 * k * s, fill=(6, 10, 22, 150),
                        outline=A.rgba(ST.accent, 140), width=k * s)
    A.over(img, band.resize((w, h), Image.LANCZOS))
    d = ImageDraw.Draw(img)
    d.rectangle((60 * k, 312 * k, 540 * k, 313 * k - 1), fill=A.rgba(ST.accent, 90))
    A.draw_text(img, (w - 14 * k, h - 12 * k), "Quorvik", A.font(LATO_BOLD, 12 * k), A.rgba("#8d9abb", 200), anchor="rb")
    return img.convert("RGB")


def program_icon(size=256):
    """Icon 128: the gold piece on a rounded night-blue tile."""
    img = Image.new("RGBA", (size, size), (0, 0, 0, 0))
    tile = A.rounded_mask(size, size, size * 0.2, size * 0.03)
    A.over(img, A.shadow(tile, size / 50, 120, offset=(0, size / 60)))
    A.over(img, A.fill_mask((size, size), A.vgradient(size, size, [(0, "#2c3f6b"), (1, "#0e1528")]), tile))
    sky = night_sky(size, size, 128, stars=int(size / 6))
    A.over(img, A.fill_mask((size, size), sky, tile.point(lambda v: v * 150 // 255)))
    rim = ImageChops.subtract(tile, A.rounded_mask(size, size, size * 0.2, size * 0.03 + max(1.0, size / 90)))
    A.over(img, A.fill_mask((size, size), ST.accent, rim.point(lambda v: v * 170 // 255)))
    ps = int(size * 0.78)
    piece, m = gold_piece(ps, rotate=-0.18)
    off = ((size - ps) // 2, (size - ps) // 2 + int(size * 0.02))
    full = Image.new("L", (size, size), 0)
    full.paste(m, off)
    A.over(img, A.shadow(full, size / 60, 170, offset=(size / 100, size / 60)))
    A.over(img, piece, off)
    return img


def icon_svg():
    """The scalable program icon, the same emblem in SVG."""
    pts = piece_outline(78)
    c = 39
    ang = -0.18
    ca, sa = math.cos(ang), math.sin(ang)
    pts = [(c + (x - c) * ca - (y - c) * sa + 11, c + (x - c) * sa + (y - c) * ca + 12) for x, y in pts]
    path = "M" + " L".join(f"{x:.2f},{y:.2f}" for x, y in pts) + " Z"
    return f"""<svg xmlns="http://www.w3.org/2000/svg" width="100" height="100" viewBox="0 0 100 100">
  <defs>
    <linearGradient id="tile" x1="0" y1="0" x2="0" y2="1">
      <stop offset="0" stop-color="#2c3f6b"/><stop offset="1" stop-color="#0e1528"/>
    </linearGradient>
    <linearGradient id="gold" x1="0" y1="0" x2="0" y2="1">
      <stop offset="0" stop-color="{ST.accent_light}"/><stop offset="0.55" stop-color="{ST.accent}"/>
      <stop offset="1" stop-color="#9a6a1c"/>
    </linearGradient>
  </defs>
  <rect x="3" y="3" width="94" height="94" rx="20" fill="url(#tile)" stroke="{ST.accent}" stroke-opacity="0.65" stroke-width="1.2"/>
  <path d="{path}" fill="url(#gold)" stroke="#5a3a08" stroke-opacity="0.6" stroke-width="0.8"/>
</svg>
"""


def sparkle_strip():
    """The join sparkle: 16 frames of 24 x 24 in one strip: a star that flares and fades, with
    motes drifting outward."""
    n, frames = 24, 16
    strip = Image.new("RGBA", (n * frames, n), (0, 0, 0, 0))
    rng = np.random.RandomState(99)
    motes = [(k * 2 * math.pi / 9 + rng.uniform(-0.3, 0.3), rng.uniform(0.6, 1.0), k % 2) for k in range(9)]
    for f in range(frames):
        t = f / (frames - 1)
        big = Image.new("RGBA", (n * A.SS, n * A.SS), (0, 0, 0, 0))
        d = ImageDraw.Draw(big)
        c = n * A.SS / 2
        flare = math.sin(min(1.0, t * 2.2) * math.pi) if t < 0.45 else max(0.0, 1 - (t - 0.45) / 0.55) * 0.35
        reach = (3 + 8 * math.sin(min(1.0, t * 1.6) * math.pi / 2)) * A.SS
        alpha = int(255 * max(0.15, 1 - t ** 1.6))  # the last frame fades, it does not vanish
        # four-point star
        for ang in (0, math.pi / 2):
            for sign in (1, -1):
                dx, dy = math.cos(ang) * sign, math.sin(ang) * sign
                length = reach * (0.6 + 0.7 * flare)
                wdt = A.SS * (1.3 + 1.5 * flare)
                pts = [(c + dx * length, c + dy * length), (c - dy * wdt, c + dx * wdt), (c + dy * wdt, c - dx * wdt)]
                d.polygon(pts, fill=A.rgba("#fff4cf", int(alpha * (0.5 + 0.5 * flare))))
        core = A.SS * (1.2 + 2.6 * flare)
        d.ellipse((c - core, c - core, c + core, c + core), fill=A.rgba("#ffffff", alpha))
        for (ang, speed, gold) in motes:
            r = (2 + 9.5 * speed * t) * A.SS
            x, y = c + math.cos(ang) * r, c + math.sin(ang) * r
            s = A.SS * (1.1 - 0.6 * t)
            d.ellipse((x - s, y - s, x + s, y + s), fill=A.rgba(ST.accent_light if gold else "#ffffff", alpha))
        frame = big.resize((n, n), Image.LANCZOS)
        halo = frame.getchannel("A").filter(ImageFilter.GaussianBlur(1.6))
        glow = A.fill_mask((n, n), ST.accent, halo.point(lambda v: v * 150 // 255))
        A.over(glow, frame)
        strip.paste(glow, (f * n, 0))
    return strip


def screen_background(w=1600, h=1200):
    """The library, calendar and Treasury screens' backdrop: the night sky with a few pieces
    drifting in it and a soft vignette, quiet enough for the puzzles shown over it."""
    img = night_sky(w, h, 300, stars=420)
    scattered_pieces(img, 301, 26, (60, 150), (14, 34), (-40, -40, w + 40, h + 40))
    vignette = A.radial(w // 8, h // 8, "#000000", "#000000", radius=0.75, inner_alpha=0, outer_alpha=150)
    A.over(img, vignette.resize((w, h), Image.BICUBIC))
    return img.convert("RGB")


def item_frame(selected):
    """A library item's card: nine-slice, 96 x 96 with 20-pixel borders; the puzzle's thumbnail
    goes inside the inner 12-pixel margin. The selected card glows gold."""
    import skinart as S
    n = 96
    img = Image.new("RGBA", (n, n), (0, 0, 0, 0))
    body = A.rounded_mask(n - 8, n - 8, 12)
    m = Image.new("L", (n, n), 0)
    m.paste(body, (4, 3))
    if selected:
        A.over(img, A.glow(m, 4, ST.accent_light, 220))
    A.over(img, A.shadow(m, 3, 170, offset=(0, 3)))
    A.over(img, A.fill_mask((n, n), A.vgradient(n, n, [(0, "#2f426b"), (1, "#1a2642")]), m))
    rim = ImageChops.subtract(m, m.filter(ImageFilter.MinFilter(3)))
    A.over(img, A.fill_mask((n, n), ST.accent if selected else ST.panel_bevel, rim))
    inner = Image.new("L", (n, n), 0)
    inner.paste(255, (12, 11, n - 12, n - 13))
    A.over(img, A.fill_mask((n, n), "#0a0f1c", inner))
    return img


def hover_box():
    """The hover information box: a translucent card, nine-slice 96 x 96 with 16-pixel borders."""
    n = 96
    img = Image.new("RGBA", (n, n), (0, 0, 0, 0))
    m = Image.new("L", (n, n), 0)
    m.paste(A.rounded_mask(n - 8, n - 8, 10), (4, 3))
    A.over(img, A.shadow(m, 3, 150, offset=(0, 3)))
    A.over(img, A.fill_mask((n, n), A.vgradient(n, n, [(0, "#26375c", 235), (1, "#141d33", 235)]), m))
    rim = ImageChops.subtract(m, m.filter(ImageFilter.MinFilter(3)))
    A.over(img, A.fill_mask((n, n), ST.accent, rim.point(lambda v: v * 200 // 255)))
    return img
