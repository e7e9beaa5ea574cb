"""The main screens' picture buttons (four animated GIF looks each: normal, hover, pressed,
disabled), one set per skin in its colours, and the help overlays that explain a screen the
first time it is shown. Both are drawn at any scale k (2 for screens of twice the density)."""

import math
import os

from PIL import Image, ImageChops, ImageDraw, ImageFilter

import artlib as A
import skinart as S
from styles import NOX as ST

LATO_BOLD = A.font_path("lato", "Lato-Bold.ttf")
LATO_BLACK = A.font_path("lato", "Lato-Black.ttf")
LATO_REG = A.font_path("lato", "Lato-Regular.ttf")
LATO_ITALIC = A.font_path("lato", "Lato-Italic.ttf")

LOOKS = ["normal", "hover", "pressed", "disabled"]

# id: (label or glyph, kind, width, height)
BUTTONS = {
    49293: ("up", "arrow", 34, 34),            # calendar: month up
    49294: ("down", "arrow", 34, 34),          # calendar: month down
    49295: ("left", "arrow", 34, 34),          # Treasury: theme left
    49296: ("right", "arrow", 34, 34),         # Treasury: theme right
    49297: ("Get Selected", "command", 180, 40),
    49298: ("Theme", "tab", 150, 36),
    49299: ("left", "arrow", 40, 40),          # Treasury: page left
    49300: ("right", "arrow", 40, 40),         # Treasury: page right
    49301: ("up", "arrow", 26, 26),            # calendar: year up
    49302: ("Calendar", "tab", 180, 44),
    49303: ("Treasury", "tab", 180, 44),
    49304: ("My Puzzles", "tab", 180, 44),
    49305: ("min", "round", 32, 32),
    49306: ("close", "round", 32, 32),
    49307: ("down", "arrow", 26, 26),          # calendar: year down
    49308: ("Play", "popup", 150, 34),
    49309: ("Send to friend", "popup", 150, 34),
    49310: ("Modify", "popup", 150, 34),
    49311: ("Delete", "popup", 150, 34),
    49312: ("Make Your Own Puzzle", "command", 240, 46),
    49313: ("up", "scroll", 30, 30),
    49314: ("down", "scroll", 30, 30),
    49315: ("thumb", "thumb", 30, 21),
    49316: ("Download", "command", 180, 40),
    49318: ("Details", "small", 110, 30),
    49319: ("close", "round", 24, 24),
    49324: ("Select", "toggle", 110, 30),
    49327: ("info", "round", 28, 28),
    49328: ("star", "round", 28, 28),
    49329: ("help", "round", 28, 28),
}


def glyph_mask(kind, w, h, scale=1.0):
    big = Image.new("L", (w * A.SS, h * A.SS), 0)
    d = ImageDraw.Draw(big)
    c = (w * A.SS / 2, h * A.SS / 2)
    k = min(w, h) * A.SS * 0.2 * scale
    lw = max(2, int(min(w, h) * A.SS * 0.09))
    if kind in ("up", "down", "left", "right"):
        rot = {"up": 0, "right": 90, "down": 180, "left": 270}[kind]
        pts = [(0, -1.0), (1.05, 0.55), (-1.05, 0.55)]
        a = math.radians(rot)
        pts = [(c[0] + k * (x * math.cos(a) - y * math.sin(a)), c[1] + k * (x * math.sin(a) + y * math.cos(a)) + (k * 0.12 if kind in ("up",) else 0))
               for x, y in pts]
        d.polygon(pts, fill=255)
    elif kind == "min":
        d.line((c[0] - k, c[1] + k * 0.5, c[0] + k, c[1] + k * 0.5), fill=255, width=lw)
    elif kind == "close":
        d.line((c[0] - k, c[1] - k, c[0] + k, c[1] + k), fill=255, width=lw)
        d.line((c[0] - k, c[1] + k, c[0] + k, c[1] - k), fill=255, width=lw)
    elif kind == "thumb":
        for dy in (-k * 0.45, 0, k * 0.45):
            d.line((c[0] - k * 0.9, c[1] + dy, c[0] + k * 0.9, c[1] + dy), fill=255, width=max(2, lw // 2))
    elif kind == "info":
        d.ellipse((c[0] - lw * 0.6, c[1] - k * 1.1, c[0] + lw * 0.6, c[1] - k * 1.1 + lw * 1.2), fill=255)
        d.line((c[0], c[1] - k * 0.3, c[0], c[1] + k), fill=255, width=lw)
    elif kind == "star":
        pts = []
        for i in range(10):
            r = k * (1.15 if i % 2 == 0 else 0.5)
            a = -math.pi / 2 + i * math.pi / 5
            pts.append((c[0] + r * math.cos(a), c[1] + r * math.sin(a)))
        d.polygon(pts, fill=255)
    elif kind == "help":
        fnt = A.font(LATO_BLACK, int(min(w, h) * A.SS * 0.55))
        d.text(c, "?", font=fnt, fill=255, anchor="mm")
    return big.resize((w, h), Image.LANCZOS)


def gold(st, look):
    """The call-to-action colours of a skin (its accent) for a look."""
    return {"normal": (st.accent_light, st.accent),
            "hover": (A.mix(st.accent_light, "#ffffff", 0.35), A.mix(st.accent, "#ffffff", 0.2)),
            "pressed": (A.mix(st.accent, "#000000", 0.15), st.accent)}[look]


def base_face(st, kind, look, w, h, k):
    """The button's body for one look, on a transparent background."""
    r = {"tab": 12, "popup": 8, "command": 12, "small": 8, "toggle": 8}.get(kind, min(w, h) // 2)
    if kind == "thumb":
        r = 6
    top, bottom = {
        "normal": (st.button_top, st.button_bottom),
        "hover": (st.button_hover_top, st.button_hover_bottom),
        "pressed": (st.button_pushed_top, st.button_pushed_bottom),
        "disabled": (st.button_disabled_top, st.button_disabled_bottom),
    }[look]
    if kind in ("command", "thumb") and look != "disabled":
        # the call to action and the scroll thumb wear the skin's accent
        top, bottom = gold(st, look)
    if kind == "tab" and look == "pressed":
        # a pressed tab is the selected tab: it joins the panel below it
        top, bottom = st.caption_top, st.panel_top
    ring = None
    if look == "hover":
        ring = (st.accent_light, 230)
    elif look == "pressed" and kind != "tab":
        ring = (st.accent, 160)
    elif look == "pressed":
        ring = (st.accent, 255)
    return S.face(st, w, h, r, top, bottom, pushed=(look == "pressed" and kind != "tab"),
                  gloss=0.06 if look == "disabled" else 0.2, accent_ring=ring, shadow=look != "disabled", k=k)


def is_dark(colour):
    red, green, blue = A.hex_rgb(colour) if isinstance(colour, str) else colour
    return red * 0.3 + green * 0.59 + blue * 0.11 < 128


def label_layer(st, kind, label, look, w, h, k):
    W, H = w * k, h * k
    layer = Image.new("RGBA", (W, H), (0, 0, 0, 0))
    on_gold = kind in ("command", "thumb") and look != "disabled"
    colour = st.text_dark if on_gold else st.button_text
    if look == "disabled":
        colour = st.button_text_disabled
    if look == "pressed" and kind == "tab":
        colour = st.accent_light if is_dark(st.panel_top) else st.accent
    # light text gets a dark shadow under it, dark text a light one
    shade = (0, 0, 0, 150) if not is_dark(colour) else (255, 255, 255, 120)
    dy = k if look == "pressed" and kind != "tab" else 0
    if kind in ("tab", "popup", "command", "small", "toggle"):
        size = {"tab": 19, "popup": 15, "command": 18, "small": 14, "toggle": 14}[kind]
        fnt = A.font(A.font_path(st.font_family, st.font_bold), size * k)
        A.draw_text(layer, (W / 2, (H - 2 * k) / 2 + dy), label, fnt, colour, anchor="mm",
                    shadow_colour=shade, shadow_offset=(0, k))
    else:
        m = glyph_mask(label, W, H - 2 * k, 1.0)
        full = Image.new("L", (W, H), 0)
        full.paste(m, (0, dy))
        A.over(layer, A.shadow(full, 0.6 * k, 150 if not is_dark(colour) else 60, offset=(0, k)))
        A.over(layer, A.fill_mask((W, H), colour, full))
    return layer


def frames_for(st, number, k=1):
    label, kind, w, h = BUTTONS[number]
    W, H = w * k, h * k
    out = {}
    for look in LOOKS:
        face = base_face(st, kind, look, w, h, k)
        A.over(face, label_layer(st, kind, label, look, w, h, k))
        if look != "hover":
            out[look] = ([face], [1000])
            continue
        # hover: a soft band of light sweeps across the face, then rests
        frames, delays = [], []
        mask = face.getchannel("A")
        steps = 6
        for i in range(steps):
            f = face.copy()
            x = -W * 0.4 + (W * 1.8) * i / (steps - 1)
            band = Image.new("L", (W, H), 0)
            ImageDraw.Draw(band).polygon([(x, 0), (x + W * 0.22, 0), (x + W * 0.22 - H * 0.6, H), (x - H * 0.6, H)], fill=70)
            band = ImageChops.multiply(band.filter(ImageFilter.GaussianBlur(3 * k)), mask)
            A.over(f, A.fill_mask((W, H), "#ffffff", band))
            A.over(f, label_layer(st, kind, label, look, w, h, k))
            frames.append(f)
            delays.append(60)
        frames.append(face)
        delays.append(1600)
        out[look] = (frames, delays)
    return out


def to_gif_frame(img, matte):
    """Flattens an RGBA frame onto the matte, keeping fully clear pixels transparent (index 255).
    The soft edge pixels are blended with the matte, so the button shows no fringe on it."""
    bg = Image.new("RGBA", img.size, A.rgba(matte))
    bg.alpha_composite(img)
    p = bg.convert("RGB").quantize(colors=255, method=Image.Quantize.MEDIANCUT, dither=Image.Dither.NONE)
    pal = p.getpalette()[:255 * 3]
    pal += [0, 0, 0] * (256 - len(pal) // 3)
    p.putpalette(pal)
    alpha = img.getchannel("A").point(lambda v: 255 if v < 24 else 0)
    p.paste(255, mask=alpha)
    p.info["transparency"] = 255
    return p


def save_gif(path, frames, delays, matte):
    ps = [to_gif_frame(f, matte) for f in frames]
    if len(ps) == 1:
        ps[0].save(path, "GIF", transparency=255, optimize=False)
        return
    ps[0].save(path, "GIF", save_all=True, append_images=ps[1:], duration=delays, loop=0,
               transparency=255, disposal=2, optimize=False)


def look_name(number, look, k):
    return f"{number}_{look}.gif" if k == 1 else f"{number}_{look}@{k}x.gif"


def build_buttons(out_dir, st=ST, scales=(1,)):
    """Every button's four looks in the skin's colours, matted on the colour the skin's screens
    show them on (st.button_matte), at each scale. A look missing beside a skin is taken from
    the set compiled into the game."""
    os.makedirs(out_dir, exist_ok=True)
    for number in BUTTONS:
        for k in scales:
            for look, (frames, delays) in frames_for(st, number, k).items():
                save_gif(os.path.join(out_dir, look_name(number, look, k)), frames, delays, st.button_matte)


# -- help overlays -------------------------------------------------------------------------------
OVERLAY_W, OVERLAY_H = 800, 600

HELP = {
    "HlpMyPzl": ("My Puzzles", [
        ("tab", "Switch between the Calendar, the Treasury and your own puzzles with the tabs at the top."),
        ("click", "Click a puzzle to select it. Hold Ctrl to select several, or drag a band around them."),
        ("dbl", "Double-click a puzzle to play it. The menu beside it can also send, modify or delete it."),
        ("plus", "Make Your Own Puzzle turns any picture into a jigsaw, cut just the way you like."),
    ]),
    "HlpGame1": ("Playing", [
        ("drag", "Drag pieces with the left mouse button. Drop a piece next to its neighbour and it snaps in place."),
        ("band", "Drag over empty space to draw a band and pick up several pieces at once."),
        ("tray", "Park pieces in the two trays: drag a piece onto a corner handle and the tray slides open."),
        ("menu", "The Menu at the top gives hints, the picture, the ghost image and more. Press P or G for quick access."),
    ]),
    "HlpGame2": ("Turning and pushing", [
        ("rotate", "While you hold a piece, click the right mouse button to turn it a quarter."),
        ("push", "Hold the right button over loose pieces to push them gently aside."),
        ("pause", "Click the clock, or press Pause, to stop the time. Your progress is kept when you leave."),
    ]),
    "HlpCalendar": ("The Calendar", [
        ("cal", "A new puzzle waits for you every day. Double-click a day to play its puzzle."),
        ("arrows", "Use the arrows to leaf through the months and years."),
        ("save", "Puzzles you open are kept in My Puzzles, so you can finish them later."),
    ]),
    "HlpShop": ("The Treasury", [
        ("pack", "Browse puzzle packs by theme with the tabs and arrows."),
        ("click", "Click puzzles to select them; hold Ctrl to select several."),
        ("down", "Get Selected downloads them into My Puzzles."),
    ]),
}


def tip_icon(kind, k=1):
    """A small round badge with a pictogram for one tip, 44 pixels across (times k)."""
    n = 44 * k
    img = Image.new("RGBA", (n, n), (0, 0, 0, 0))
    m = A.ellipse_mask(n, n, k)
    A.over(img, A.shadow(m, 2 * k, 120, offset=(0, 2 * k)))
    A.over(img, A.fill_mask((n, n), A.vgradient(n, n, [(0, ST.accent_light), (1, ST.accent)]), m))
    big = Image.new("L", (n * A.SS, n * A.SS), 0)
    d = ImageDraw.Draw(big)
    s = A.SS * k
    c = n * A.SS / 2

    def mouse(highlight):
        x0, y0, x1, y1 = c - 9 * s, c - 13 * s, c + 9 * s, c + 13 * s
        d.rounded_rectangle((x0, y0, x1, y1), radius=9 * s, outline=255, width=int(2.2 * s))
        d.line((c, y0, c, c - 3 * s), fill=255, width=int(2 * s))
        d.line((x0, c - 3 * s, x1, c - 3 * s), fill=255, width=int(2 * s))
        if highlight == "left":
            d.rounded_rectangle((x0, y0, c, c - 3 * s), radius=8 * s, fill=255)
        elif highlight == "right":
            d.rounded_rectangle((c, y0, x1, c - 3 * s), radius=8 * s, fill=255)

    if kind in ("drag", "click", "band"):
        mouse("left")
    elif kind == "dbl":
        mouse("left")
        d.text((c + 12 * s, c + 10 * s), "2", font=A.font(LATO_BLACK, 12 * s), fill=255, anchor="mm")
    elif kind == "push":
        mouse("right")
    elif kind == "rotate":
        # a clockwise quarter-turn arrow: an open ring with a head at its end
        r = 10 * s
        end = 250
        d.arc((c - r, c - r, c + r, c + r), start=-20, end=end, fill=255, width=int(3 * s))
        a = math.radians(end)
        px, py = c + r * math.cos(a), c + r * math.sin(a)
        tx, ty = -math.sin(a), math.cos(a)    # direction of travel, clockwise on screen
        nx, ny = math.cos(a), math.sin(a)     # outward
        tip = (px + tx * 8 * s, py + ty * 8 * s)
        d.polygon([tip, (px + nx * 6 * s, py + ny * 6 * s), (px - nx * 6 * s, py - ny * 6 * s)], fill=255)
    elif kind in ("tab", "menu"):
        for i in range(3):
            d.rounded_rectangle((c - 14 * s + i * 10 * s, c - 6 * s, c - 6 * s + i * 10 * s, c + 6 * s), radius=2 * s,
                                fill=255 if i == 0 else 0, outline=255, width=int(2 * s))
    elif kind == "tray":
        d.rounded_rectangle((c - 13 * s, c - 2 * s, c + 13 * s, c + 11 * s), radius=3 * s, outline=255, width=int(2.2 * s))
        d.line([(c - 6 * s, c - 6 * s), (c, c - 12 * s), (c + 6 * s, c - 6 * s)], fill=255, width=int(2.4 * s))
    elif kind == "plus":
        d.line((c - 10 * s, c, c + 10 * s, c), fill=255, width=int(3.5 * s))
        d.line((c, c - 10 * s, c, c + 10 * s), fill=255, width=int(3.5 * s))
    elif kind == "pause":
        d.rectangle((c - 7 * s, c - 9 * s, c - 2 * s, c + 9 * s), fill=255)
        d.rectangle((c + 2 * s, c - 9 * s, c + 7 * s, c + 9 * s), fill=255)
    elif kind == "cal":
        d.rounded_rectangle((c - 12 * s, c - 10 * s, c + 12 * s, c + 12 * s), radius=3 * s, outline=255, width=int(2.2 * s))
        d.rectangle((c - 12 * s, c - 10 * s, c + 12 * s, c - 4 * s), fill=255)
        d.rectangle((c + 2 * s, c + 2 * s, c + 8 * s, c + 8 * s), fill=255)
    elif kind == "arrows":
        d.polygon([(c - 13 * s, c), (c - 4 * s, c - 8 * s), (c - 4 * s, c + 8 * s)], fill=255)
        d.polygon([(c + 13 * s, c), (c + 4 * s, c - 8 * s), (c + 4 * s, c + 8 * s)], fill=255)
    elif kind == "save":
        d.rounded_rectangle((c - 11 * s, c - 11 * s, c + 11 * s, c + 11 * s), radius=3 * s, outline=255, width=int(2.2 * s))
        d.rectangle((c - 6 * s, c - 11 * s, c + 6 * s, c - 3 * s), fill=255)
    elif kind == "pack":
        d.rounded_rectangle((c - 12 * s, c - 6 * s, c + 12 * s, c + 12 * s), radius=3 * s, outline=255, width=int(2.2 * s))
        d.line((c - 12 * s, c - 6 * s, c - 8 * s, c - 12 * s), fill=255, width=int(2.2 * s))
        d.line((c + 12 * s, c - 6 * s, c + 8 * s, c - 12 * s), fill=255, width=int(2.2 * s))
        d.line((c - 8 * s, c - 12 * s, c + 8 * s, c - 12 * s), fill=255, width=int(2.2 * s))
    elif kind == "down":
        d.line((c, c - 12 * s, c, c + 4 * s), fill=255, width=int(3 * s))
        d.polygon([(c - 8 * s, c), (c + 8 * s, c), (c, c + 10 * s)], fill=255)
        d.line((c - 12 * s, c + 12 * s, c + 12 * s, c + 12 * s), fill=255, width=int(2.5 * s))
    g = big.resize((n, n), Image.LANCZOS)
    A.over(img, A.fill_mask((n, n), ST.text_dark, g))
    return img


def wrap(text, fnt, width):
    words, lines, line = text.split(), [], ""
    for w in words:
        trial = (line + " " + w).strip()
        if fnt.getlength(trial) <= width:
            line = trial
        else:
            lines.append(line)
            line = w
    if line:
        lines.append(line)
    return lines


def overlay(name, k=1):
    """One help overlay: a card with the tips on a clear background. The game dims the screen
    under it, draws it at its own 4:3 shape and adds the arrows to the controls the tips name,
    wherever the screen's layout puts them."""
    title, tips = HELP[name]
    w, h = OVERLAY_W * k, OVERLAY_H * k
    img = Image.new("RGBA", (w, h), (0, 0, 0, 0))
    card_w = 560
    body = A.font(LATO_REG, 17 * k)
    measure = A.font(LATO_REG, 17)
    rows = [wrap(t, measure, card_w - 120) for _, t in tips]
    card_h = 86 + sum(max(52, 24 * len(r) + 12) for r in rows) + 52
    cx0, cy0 = (OVERLAY_W - card_w) // 2, (OVERLAY_H - card_h) // 2
    card = S.panel_image(ST, card_w, card_h, 56, k)
    S.ornament(ST, card, ((card_w - 200) * k, 0, (card_w - 24) * k, 56 * k), k)
    cm = Image.new("L", (w, h), 0)
    cm.paste(card.getchannel("A"), (cx0 * k, cy0 * k))
    A.over(img, A.shadow(cm, 14 * k, 200, offset=(0, 10 * k)))
    A.over(img, card, (cx0 * k, cy0 * k))
    A.draw_text(img, ((cx0 + 28) * k, (cy0 + 29) * k), title, A.font(LATO_BOLD, 24 * k), ST.text, anchor="lm",
                shadow_colour=(0, 0, 0, 160), shadow_offset=(0, 2 * k))
    y = cy0 + 80
    for (kind, _), lines in zip(tips, rows):
        row_h = max(52, 24 * len(lines) + 12)
        A.over(img, tip_icon(kind, k), ((cx0 + 30) * k, (y + (row_h - 44) // 2 - 4) * k))
        ty = y + (row_h - 24 * len(lines)) // 2 - 4
        for line in lines:
            A.draw_text(img, ((cx0 + 92) * k, ty * k), line, body, ST.text, shadow_colour=(0, 0, 0, 140),
                        shadow_offset=(0, k))
            ty += 24
        y += row_h
    A.draw_text(img, (w / 2, (cy0 + card_h - 30) * k), "Click anywhere to continue", A.font(LATO_ITALIC, 16 * k),
                ST.accent_light, anchor="mm")
    return img


def build_overlays(out_dir, scales=(1, 2)):
    for name in HELP:
        for k in scales:
            A.save_png(overlay(name, k), f"{out_dir}/{name}.png" if k == 1 else f"{out_dir}/{name}@{k}x.png")
