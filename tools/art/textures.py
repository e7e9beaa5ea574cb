"""The board textures: fifteen seamless, nearly neutral patterns. The game tints them with the
board and tray colours (a grey of 128 gives the colour itself, darker greys darken it, lighter
ones wash it out towards white), so they carry structure (grain, weave, speckle) rather than
colour. They are darker than middle grey and fine-grained, so that a bright board colour reads
as muted cloth rather than glaring, and pictures keep their contrast on it."""

import math

import numpy as np
from PIL import Image, ImageDraw, ImageFilter

import artlib as A

SIZE = 256
NAMES = ["felt", "wood", "cork", "linen", "marble", "leather", "slate", "parquet", "paper", "denim",
         "sand", "terrazzo", "metal", "velvet", "grass"]


def to_image(v, tint=(255, 255, 255), lo=0.55, hi=1.0):
    """Maps 0..1 values into a light range and tints them gently."""
    v = np.clip(v, 0, 1)
    v = lo + (hi - lo) * v
    t = np.array(tint, dtype=float) / 255.0
    rgb = np.stack([v * (0.85 + 0.15 * t[i]) for i in range(3)], axis=-1)
    return Image.fromarray((np.clip(rgb, 0, 1) * 255).astype(np.uint8), "RGB")


# Every texture is drawn light, then its greys are pulled down: LIGHT_MIDDLE (a light
# texture's middle grey) becomes DARK_MIDDLE, and the contrast softens by DARK_CONTRAST.
LIGHT_MIDDLE = 200
DARK_MIDDLE = 90
DARK_CONTRAST = 0.55


def darken(img):
    """Pulls a light texture's greys down around DARK_MIDDLE, softening its contrast."""
    return img.point(lambda v: max(0, min(255, int(round(DARK_MIDDLE + (v - LIGHT_MIDDLE) * DARK_CONTRAST)))))


def normalise(v):
    v = v - v.min()
    return v / max(1e-9, v.max())


def coords():
    y, x = np.mgrid[0:SIZE, 0:SIZE].astype(float)
    return x, y


def felt():
    n = A.noise(SIZE, SIZE, 11, 64, 4, 0.6)
    fibres = A.noise(SIZE, SIZE, 12, 128, 2, 0.7)
    return to_image(normalise(n * 0.7 + fibres * 0.3), (255, 250, 240), 0.70, 0.95)


def streaks(seed, length=41, w=SIZE, h=SIZE):
    """Fine lines along x: noise smoothed along each row, wrapping so it tiles."""
    rng = np.random.RandomState(seed)
    rows = rng.rand(h, w)
    kernel = np.ones(length) / length
    return normalise(np.array([np.convolve(np.concatenate([r[-length:], r, r[:length]]), kernel, mode="same")[length:-length]
                               for r in rows]))


def wood_values(seed, rings=7, w=SIZE, h=SIZE):
    """Grain running along x: growth rings bent by a slow warp, over fine fibre streaks."""
    x, y = np.mgrid[0:h, 0:w].astype(float)[::-1]
    warp = A.noise(w, h, seed, 2, 3, 0.5)
    phase = (y / h) * rings * 2 * math.pi + warp * 5.0
    rings_v = 1.0 - 0.8 * (0.5 + 0.5 * np.sin(phase)) ** 6
    fibres = streaks(seed + 1, 61, w, h)
    return normalise(rings_v * 0.55 + fibres * 0.45)


def wood():
    return to_image(wood_values(21, rings=12), (255, 236, 210), 0.60, 0.95)


def cork():
    base = A.noise(SIZE, SIZE, 31, 24, 4, 0.6)
    rng = np.random.RandomState(32)
    img = to_image(normalise(base), (255, 240, 215), 0.68, 0.93)
    d = ImageDraw.Draw(img)
    for _ in range(900):
        x, y = rng.randint(0, SIZE, 2)
        r = rng.uniform(0.6, 2.2)
        shade = int(rng.uniform(110, 175))
        for dx in (-SIZE, 0, SIZE):
            for dy in (-SIZE, 0, SIZE):
                d.ellipse((x + dx - r, y + dy - r, x + dx + r, y + dy + r), fill=(shade, int(shade * 0.92), int(shade * 0.8)))
    return img.filter(ImageFilter.SMOOTH)


def linen():
    x, y = coords()
    threads = 64
    row_var = A.noise(SIZE, SIZE, 41, 128, 1, 0.5)
    weft = 0.5 + 0.5 * np.sin(y / SIZE * threads * 2 * math.pi)
    warp = 0.5 + 0.5 * np.sin(x / SIZE * threads * 2 * math.pi)
    slub_x = A.noise(SIZE, SIZE, 42, 8, 2, 0.5)
    v = 0.5 * weft * (0.8 + 0.4 * slub_x) + 0.5 * warp * (0.8 + 0.4 * row_var)
    return to_image(normalise(v * 0.8 + A.noise(SIZE, SIZE, 43, 32, 3) * 0.2), (255, 250, 238), 0.72, 0.96)


def marble():
    x, y = coords()
    turb = A.noise(SIZE, SIZE, 51, 8, 4, 0.55)
    veins = np.abs(np.sin((x + y) / SIZE * 2 * math.pi * 4 + turb * 9.0))
    veins = veins ** 0.35
    cloud = A.noise(SIZE, SIZE, 52, 6, 4, 0.5)
    return to_image(normalise(veins * 0.75 + cloud * 0.25), (250, 250, 255), 0.62, 1.0)


def leather():
    cells = A.noise(SIZE, SIZE, 61, 24, 2, 0.5)
    creases = 1.0 - np.abs(A.noise(SIZE, SIZE, 62, 12, 3, 0.5) - 0.5) * 2
    creases = creases ** 8
    pores = A.noise(SIZE, SIZE, 63, 96, 1)
    v = cells * 0.55 + pores * 0.2 - creases * 0.35
    return to_image(normalise(v), (255, 238, 220), 0.62, 0.92)


def slate():
    x, y = coords()
    strata = A.noise(SIZE, SIZE, 71, 2, 3, 0.5)
    layers = 0.5 + 0.5 * np.sin(y / SIZE * 2 * math.pi * 5 + strata * 6)
    grit = A.noise(SIZE, SIZE, 72, 48, 4, 0.6)
    return to_image(normalise(layers * 0.35 + grit * 0.65), (236, 242, 255), 0.52, 0.84)


def parquet():
    """Herringbone-free classic square parquet: 4 x 4 blocks of planks, alternating direction."""
    img = np.zeros((SIZE, SIZE))
    block = SIZE // 4
    grain_h = wood_values(81, rings=18)
    grain_v = grain_h.T
    planks = 4
    rng = np.random.RandomState(82)
    for by in range(4):
        for bx in range(4):
            ys, xs = by * block, bx * block
            horizontal = (bx + by) % 2 == 0
            src = grain_h if horizontal else grain_v
            tile = src[ys:ys + block, xs:xs + block].copy()
            pw = block // planks
            for p in range(planks):
                shade = rng.uniform(-0.12, 0.12)
                if horizontal:
                    tile[p * pw:(p + 1) * pw, :] += shade
                    tile[p * pw, :] = -0.2
                else:
                    tile[:, p * pw:(p + 1) * pw] += shade
                    tile[:, p * pw] = -0.2
            tile[0, :] = -0.4
            tile[:, 0] = -0.4
            img[ys:ys + block, xs:xs + block] = tile
    return to_image(np.clip((img + 0.4) / 1.5, 0, 1), (255, 232, 200), 0.55, 0.97)


def paper():
    n = A.noise(SIZE, SIZE, 91, 16, 6, 0.65)
    fibres = A.noise(SIZE, SIZE, 92, 128, 2, 0.5)
    return to_image(normalise(n * 0.6 + fibres * 0.4), (255, 252, 244), 0.86, 0.99)


def denim():
    x, y = coords()
    twill = 0.5 + 0.5 * np.sin((x * 1.0 + y * 1.0) / SIZE * 2 * math.pi * 48)
    slub = A.noise(SIZE, SIZE, 101, 4, 3, 0.5)
    fleck = A.noise(SIZE, SIZE, 102, 128, 1)
    v = twill * 0.55 + slub * 0.25 + fleck * 0.2
    return to_image(normalise(v), (225, 235, 255), 0.58, 0.92)


def sand():
    x, y = coords()
    warp = A.noise(SIZE, SIZE, 111, 6, 3, 0.5)
    ripples = 0.5 + 0.5 * np.sin(y / SIZE * 2 * math.pi * 16 + warp * 5 + x / SIZE * 2 * math.pi)
    grain = A.noise(SIZE, SIZE, 112, 128, 2, 0.5)
    return to_image(normalise(ripples * 0.35 + grain * 0.65), (255, 244, 220), 0.74, 0.97)


def terrazzo():
    rng = np.random.RandomState(121)
    base = to_image(normalise(A.noise(SIZE, SIZE, 122, 16, 3)), (250, 248, 244), 0.86, 0.96)
    d = ImageDraw.Draw(base)
    for _ in range(170):
        cx, cy = rng.uniform(0, SIZE, 2)
        r = rng.uniform(2, 9)
        k = rng.randint(4, 7)
        angle = rng.uniform(0, 2 * math.pi)
        pts = [(r * rng.uniform(0.6, 1.0) * math.cos(angle + i * 2 * math.pi / k),
                r * rng.uniform(0.6, 1.0) * math.sin(angle + i * 2 * math.pi / k)) for i in range(k)]
        g = int(rng.choice([120, 150, 175, 200, 215, 235]))
        warm = rng.uniform(0.9, 1.05)
        fill = (min(255, int(g * warm)), g, min(255, int(g / warm)))
        for dx in (-SIZE, 0, SIZE):
            for dy in (-SIZE, 0, SIZE):
                d.polygon([(cx + dx + px, cy + dy + py) for px, py in pts], fill=fill)
    return base


def metal():
    streak = streaks(131)
    sheen = A.noise(SIZE, SIZE, 132, 2, 2, 0.5)
    v = streak * 0.6 + sheen * 0.4
    return to_image(normalise(v), (240, 245, 255), 0.66, 0.95)


def velvet():
    soft = A.noise(SIZE, SIZE, 141, 6, 4, 0.55)
    nap = A.noise(SIZE, SIZE, 142, 128, 2, 0.5)
    v = soft * 0.6 + nap * 0.4
    return to_image(normalise(v), (255, 240, 250), 0.66, 0.9)


def grass():
    rng = np.random.RandomState(151)
    img = to_image(normalise(A.noise(SIZE, SIZE, 152, 8, 3)), (235, 255, 225), 0.62, 0.8)
    d = ImageDraw.Draw(img)
    for _ in range(2600):
        x, y = rng.uniform(0, SIZE, 2)
        length = rng.uniform(6, 16)
        lean = rng.uniform(-0.5, 0.5)
        g = int(rng.uniform(150, 245))
        fill = (int(g * 0.93), g, int(g * 0.88))
        for dx in (-SIZE, 0, SIZE):
            for dy in (-SIZE, 0, SIZE):
                d.line((x + dx, y + dy, x + dx + lean * length, y + dy - length), fill=fill, width=1)
    return img.filter(ImageFilter.SMOOTH)


BUILDERS = [felt, wood, cork, linen, marble, leather, slate, parquet, paper, denim, sand, terrazzo, metal, velvet, grass]


def build(out_dir):
    for name, fn in zip(NAMES, BUILDERS):
        A.save_png(darken(fn()), f"{out_dir}/{name}.png")
