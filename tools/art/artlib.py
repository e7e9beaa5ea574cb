"""Drawing helpers shared by every art generator: supersampled shapes, gradients, bevels,
soft shadows and text. Everything is deterministic: no clocks, no unseeded randomness."""

import math
import os

from PIL import Image, ImageChops, ImageDraw, ImageFilter, ImageFont

SS = 4  # supersampling factor for anti-aliased shapes

FONT_DIRS = {
    "lato": "/usr/share/fonts/truetype/lato",
    "comfortaa": "/usr/share/fonts/truetype/comfortaa",
    "libertine": "/usr/share/fonts/opentype/linux-libertine",
}


def font_path(family, style):
    return os.path.join(FONT_DIRS[family], style)


_font_cache = {}


def font(path, size):
    key = (path, size)
    if key not in _font_cache:
        _font_cache[key] = ImageFont.truetype(path, size)
    return _font_cache[key]


def hex_rgb(value):
    value = value.lstrip("#")
    return tuple(int(value[i:i + 2], 16) for i in (0, 2, 4))


def rgba(colour, alpha=255):
    if isinstance(colour, str):
        colour = hex_rgb(colour)
    return tuple(colour[:3]) + (alpha,)


def mix(a, b, t):
    a = hex_rgb(a) if isinstance(a, str) else a
    b = hex_rgb(b) if isinstance(b, str) else b
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def rounded_mask(w, h, r, inset=0.0):
    """An anti-aliased rounded-rectangle mask (mode L) of w x h."""
    big = Image.new("L", (w * SS, h * SS), 0)
    d = ImageDraw.Draw(big)
    i = inset * SS
    d.rounded_rectangle((i, i, w * SS - 1 - i, h * SS - 1 - i), radius=max(0, r * SS - i), fill=255)
    return big.resize((w, h), Image.LANCZOS)


def ellipse_mask(w, h, inset=0.0):
    big = Image.new("L", (w * SS, h * SS), 0)
    d = ImageDraw.Draw(big)
    i = inset * SS
    d.ellipse((i, i, w * SS - 1 - i, h * SS - 1 - i), fill=255)
    return big.resize((w, h), Image.LANCZOS)


def polygon_mask(w, h, points):
    big = Image.new("L", (w * SS, h * SS), 0)
    ImageDraw.Draw(big).polygon([(x * SS, y * SS) for x, y in points], fill=255)
    return big.resize((w, h), Image.LANCZOS)


def vgradient(w, h, stops):
    """A vertical gradient through (position 0..1, colour[, alpha]) stops."""
    img = Image.new("RGBA", (1, h))
    px = img.load()
    for y in range(h):
        t = y / max(1, h - 1)
        for k in range(len(stops) - 1):
            p0, p1 = stops[k][0], stops[k + 1][0]
            if t <= p1 or k == len(stops) - 2:
                u = 0.0 if p1 == p0 else min(1.0, max(0.0, (t - p0) / (p1 - p0)))
                c = mix(stops[k][1], stops[k + 1][1], u)
                a0 = stops[k][2] if len(stops[k]) > 2 else 255
                a1 = stops[k + 1][2] if len(stops[k + 1]) > 2 else 255
                px[0, y] = c + (int(round(a0 + (a1 - a0) * u)),)
                break
    return img.resize((w, h), Image.NEAREST)


def hgradient(w, h, stops):
    return vgradient(h, w, stops).transpose(Image.TRANSPOSE)


def radial(w, h, inner, outer, cx=0.5, cy=0.5, radius=0.7, inner_alpha=255, outer_alpha=255):
    img = Image.new("RGBA", (w, h))
    px = img.load()
    ci, co = hex_rgb(inner) if isinstance(inner, str) else inner, hex_rgb(outer) if isinstance(outer, str) else outer
    rr = radius * max(w, h)
    for y in range(h):
        for x in range(w):
            t = min(1.0, math.hypot(x - cx * w, y - cy * h) / rr)
            t = t * t * (3 - 2 * t)
            c = mix(ci, co, t)
            px[x, y] = c + (int(inner_alpha + (outer_alpha - inner_alpha) * t),)
    return img


def fill_mask(size, fill, mask):
    """A layer of `fill` (colour or image) limited to `mask`."""
    w, h = size
    if isinstance(fill, Image.Image):
        layer = fill.convert("RGBA").resize((w, h)) if fill.size != (w, h) else fill.convert("RGBA")
    else:
        layer = Image.new("RGBA", (w, h), rgba(fill))
    alpha = ImageChops.multiply(layer.getchannel("A"), mask)
    layer.putalpha(alpha)
    return layer


def over(base, layer, pos=(0, 0)):
    """Composite layer over base at pos (both RGBA), in place."""
    base.alpha_composite(layer, dest=(int(pos[0]), int(pos[1])))
    return base


def ring_mask(w, h, r, width, inset=0.0):
    outer = rounded_mask(w, h, r, inset)
    inner = rounded_mask(w, h, r, inset + width)
    return ImageChops.subtract(outer, inner)


def shadow(mask, blur, alpha, offset=(0, 0), grow=0):
    """A soft black shadow from a mask, same size as the mask (callers leave margins)."""
    m = mask
    if grow:
        m = m.filter(ImageFilter.MaxFilter(grow * 2 + 1))
    m = m.point(lambda v: v * alpha // 255)
    m = ImageChops.offset(m, int(offset[0]), int(offset[1]))
    m = m.filter(ImageFilter.GaussianBlur(blur))
    layer = Image.new("RGBA", mask.size, (0, 0, 0, 255))
    layer.putalpha(m)
    return layer


def glow(mask, blur, colour, alpha):
    m = mask.point(lambda v: v * alpha // 255).filter(ImageFilter.GaussianBlur(blur))
    layer = Image.new("RGBA", mask.size, rgba(colour))
    layer.putalpha(m)
    return layer


def inner_shadow(mask, blur, alpha, offset=(0, 2)):
    """Shadow cast inside a shape by its own upper edge."""
    inv = ImageChops.invert(mask)
    inv = ImageChops.offset(inv, int(offset[0]), int(offset[1]))
    inv = inv.filter(ImageFilter.GaussianBlur(blur))
    m = ImageChops.multiply(inv, mask).point(lambda v: v * alpha // 255)
    layer = Image.new("RGBA", mask.size, (0, 0, 0, 255))
    layer.putalpha(m)
    return layer


def text_size(fnt, text):
    box = fnt.getbbox(text)
    return box[2] - box[0], box[3] - box[1], box


def _as_rgba(colour, default_alpha=255):
    if isinstance(colour, str):
        return rgba(colour, default_alpha)
    if len(colour) == 3:
        return tuple(colour) + (default_alpha,)
    return tuple(colour)


def _text(d, xy, text, fnt, fill, anchor, spacing, align):
    if "\n" in text:
        d.multiline_text(xy, text, font=fnt, fill=fill, anchor=anchor if anchor[1] in "ad" else "la",
                         spacing=spacing, align=align)
    else:
        d.text(xy, text, font=fnt, fill=fill, anchor=anchor)


def draw_text(img, xy, text, fnt, colour, anchor="la", shadow_colour=None, shadow_offset=(0, 1),
              shadow_blur=0, spacing=4, align="left"):
    """Text with an optional soft shadow, drawn in place onto an RGBA image."""
    if shadow_colour is not None:
        layer = Image.new("RGBA", img.size, (0, 0, 0, 0))
        sx, sy = xy[0] + shadow_offset[0], xy[1] + shadow_offset[1]
        _text(ImageDraw.Draw(layer), (sx, sy), text, fnt, _as_rgba(shadow_colour, 200), anchor, spacing, align)
        if shadow_blur:
            layer = layer.filter(ImageFilter.GaussianBlur(shadow_blur))
        img.alpha_composite(layer)
    layer = Image.new("RGBA", img.size, (0, 0, 0, 0))
    _text(ImageDraw.Draw(layer), xy, text, fnt, _as_rgba(colour), anchor, spacing, align)
    img.alpha_composite(layer)


def noise(w, h, seed, scale, octaves=4, persistence=0.5, tile=True):
    """Seamless fractal value noise in 0..1 as a numpy array (h, w)."""
    import numpy as np
    rng = np.random.RandomState(seed)
    total = np.zeros((h, w))
    amp, norm = 1.0, 0.0
    cells = scale
    for _ in range(octaves):
        gx, gy = max(1, int(cells)), max(1, int(cells * h / w))
        grid = rng.rand(gy, gx)
        ys = np.arange(h) * gy / h
        xs = np.arange(w) * gx / w
        y0 = np.floor(ys).astype(int)
        x0 = np.floor(xs).astype(int)
        fy = ys - y0
        fx = xs - x0
        fy = fy * fy * (3 - 2 * fy)
        fx = fx * fx * (3 - 2 * fx)
        y1 = (y0 + 1) % gy if tile else np.minimum(y0 + 1, gy - 1)
        x1 = (x0 + 1) % gx if tile else np.minimum(x0 + 1, gx - 1)
        a = grid[np.ix_(y0, x0)]
        b = grid[np.ix_(y0, x1)]
        c = grid[np.ix_(y1, x0)]
        d = grid[np.ix_(y1, x1)]
        top = a + (b - a) * fx[None, :]
        bot = c + (d - c) * fx[None, :]
        total += amp * (top + (bot - top) * fy[:, None])
        norm += amp
        amp *= persistence
        cells *= 2
    return total / norm


def save_png(img, path):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    img.save(path, "PNG", optimize=True)
