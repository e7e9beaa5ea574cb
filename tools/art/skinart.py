"""The skins' bitmaps: buttons, check boxes, radios, edits, sliders, progress bars, dialog frames,
caption buttons, message-box icons, and the tray handles. One sheet per control; the skin file
cuts the states out of it.

Every sheet is drawn at a scale k: k = 1 gives the sizes below, k = 2 the same sheet at twice the
size for screens of twice the density (the skin engine picks "name@2x.png" there). Lengths are
given at k = 1 and multiplied, so the two versions cut at the same places."""

import math

from PIL import Image, ImageChops, ImageDraw, ImageFilter

import artlib as A

# Sheet geometry shared with the skin writer (at k = 1).
BUTTON = dict(w=96, h=36, cx=12, cy=12, states=["normal", "hover", "pushed", "disabled", "focus"])
BOX = 20            # check box and radio cell
EDIT = dict(w=64, h=30, c=9)
CHANNEL = dict(w=64, h=8, c=5)
THUMB = dict(w=20, h=26)
PROGRESS = dict(w=64, h=20, c=8)
DIALOG = dict(w=160, h=140, left=22, top=46, right=22, bottom=22, caption=40)
PANEL = dict(w=96, h=96, c=22)
BAND = dict(w=96, h=56, left=24, right=24, top=8, bottom=16)
CAPBTN = 28
ICON = 48
TRAY = 48


def shape_mask(st, w, h, r, inset=0.0, k=1):
    """The skin's shape over w x h pixels: rounded with radius r, or with cut corners for a
    chamfered skin. r and inset are given at k = 1."""
    if st.chamfer:
        c = st.chamfer if r == st.radius else max(2, st.chamfer * r / max(1, st.radius))
        c = min(c * k, w / 3, h / 3)
        i = inset * k
        pts = [(i + c, i), (w - i - c, i), (w - i, i + c), (w - i, h - i - c), (w - i - c, h - i),
               (i + c, h - i), (i, h - i - c), (i, i + c)]
        return A.polygon_mask(w, h, pts)
    return A.rounded_mask(w, h, r * k, inset * k)


def octagon_mask(w, h, inset=0.0):
    """A regular-looking octagon filling w x h: the Gothic skin's round things. Like the circle
    it stands for, it is symmetric about both middle lines of its pixels."""
    c = min(w, h) * 0.29
    i = inset
    # the last supersampled column and row, as the ellipse takes them
    right, bottom = w - 1 / A.SS, h - 1 / A.SS
    pts = [(i + c, i), (right - i - c, i), (right - i, i + c), (right - i, bottom - i - c), (right - i - c, bottom - i),
           (i + c, bottom - i), (i, bottom - i - c), (i, i + c)]
    return A.polygon_mask(w, h, pts)


def round_mask(st, w, h, inset=0.0):
    """A round caption button's shape: a circle, or an octagon for a chamfered skin."""
    return octagon_mask(w, h, inset) if st.chamfer else A.ellipse_mask(w, h, inset)


def ring(st, w, h, r, inset, width, k=1):
    return ImageChops.subtract(shape_mask(st, w, h, r, inset, k), shape_mask(st, w, h, r, inset + width, k))


def fade_mask(mask, top_alpha, bottom_alpha, start=0.0, end=1.0):
    w, h = mask.size
    g = A.vgradient(1, h, [(0, "#ffffff", top_alpha), (start, "#ffffff", top_alpha),
                           (end, "#ffffff", bottom_alpha), (1, "#ffffff", bottom_alpha)]).getchannel("A")
    return ImageChops.multiply(mask, g.resize((w, h)))


def face(st, w, h, r, top, bottom, *, edge=None, bevel=0.5, gloss=0.18, pushed=False, shadow=True,
         accent_ring=None, margin_bottom=2, k=1):
    """A glossy control face with bevel, outline and a small drop shadow below it; w, h, r and
    margin_bottom at k = 1."""
    W, H = w * k, h * k
    img = Image.new("RGBA", (W, H), (0, 0, 0, 0))
    bh = (h - margin_bottom) * k
    body = Image.new("L", (W, H), 0)
    body.paste(shape_mask(st, W, bh, r, k=k), (0, 0))
    if shadow and margin_bottom:
        A.over(img, A.shadow(body, 1.2 * k, 110, offset=(0, 2 * k)))
    A.over(img, A.fill_mask((W, H), A.vgradient(W, H, [(0, top), (bh / H, bottom), (1, bottom)]), body))
    if gloss and not pushed:
        gl = Image.new("L", (W, H), 0)
        gl.paste(shape_mask(st, W - 2 * k, int(bh * 0.5), max(1, r - 1), k=k), (k, k))
        A.over(img, A.fill_mask((W, H), "#ffffff", fade_mask(gl, int(255 * gloss), int(255 * gloss * 0.25))))
    if pushed:
        A.over(img, A.inner_shadow(body, 2.0 * k, 150, offset=(0, 3 * k)))
    if bevel:
        bv = Image.new("L", (W, H), 0)
        bv.paste(ring(st, W, bh, r, 1, 1, k), (0, 0))
        hi = fade_mask(bv, int(255 * bevel), 0, 0.0, 0.6 if not pushed else 0.2)
        A.over(img, A.fill_mask((W, H), "#ffffff", hi))
    ol = Image.new("L", (W, H), 0)
    ol.paste(ring(st, W, bh, r, 0, 1.1, k), (0, 0))
    A.over(img, A.fill_mask((W, H), edge or st.panel_edge, ol.point(lambda v: v * 220 // 255)))
    if accent_ring:
        ar = Image.new("L", (W, H), 0)
        ar.paste(ring(st, W, bh, r, 0, 1.4, k), (0, 0))
        A.over(img, A.fill_mask((W, H), accent_ring[0], ar.point(lambda v: v * accent_ring[1] // 255)))
    return img


def button_sheet(st, k=1):
    w, h = BUTTON["w"], BUTTON["h"]
    r = st.button_radius
    looks = [
        face(st, w, h, r, st.button_top, st.button_bottom, k=k),
        face(st, w, h, r, st.button_hover_top, st.button_hover_bottom, accent_ring=(st.accent, 200), k=k),
        face(st, w, h, r, st.button_pushed_top, st.button_pushed_bottom, pushed=True, accent_ring=(st.accent, 140), k=k),
        face(st, w, h, r, st.button_disabled_top, st.button_disabled_bottom, gloss=0.06, bevel=0.2, shadow=False, k=k),
    ]
    focus = Image.new("RGBA", (w * k, h * k), (0, 0, 0, 0))
    fm = Image.new("L", (w * k, h * k), 0)
    fm.paste(ring(st, w * k, (h - 2) * k, r, 2, 1.3, k), (0, 0))
    A.over(focus, A.fill_mask((w * k, h * k), st.accent_light, fm.point(lambda v: v * 170 // 255)))
    looks.append(focus)
    sheet = Image.new("RGBA", (w * k, h * k * len(looks)), (0, 0, 0, 0))
    for i, im in enumerate(looks):
        sheet.paste(im, (0, i * h * k))
    return sheet


def check_glyph(st, size, colour, radio, k=1):
    n = size * k
    img = Image.new("RGBA", (n, n), (0, 0, 0, 0))
    s = A.SS
    big = Image.new("L", (n * s, n * s), 0)
    d = ImageDraw.Draw(big)
    if radio and st.chamfer:
        # Gothic: a small diamond in the diamond
        c, rr = n * s / 2, n * s * 0.2
        d.polygon([(c, c - rr), (c + rr, c), (c, c + rr), (c - rr, c)], fill=255)
    elif radio:
        c = n * s / 2
        rr = n * s * 0.2
        d.ellipse((c - rr, c - rr, c + rr, c + rr), fill=255)
    else:
        pts = [(0.26, 0.52), (0.43, 0.69), (0.75, 0.31)]
        d.line([(x * n * s, y * n * s) for x, y in pts], fill=255, width=int(n * s * 0.13), joint="curve")
    m = big.resize((n, n), Image.LANCZOS)
    A.over(img, A.shadow(m, 0.8 * k, 140, offset=(0, k)))
    A.over(img, A.fill_mask((n, n), colour, m))
    return img


def box_masks(st, radio, n, k):
    """The outline of a check box or radio cell and the same shape 1.6 pixels inside it. In the
    Gothic skin a radio button is a diamond and a check box a square, so they differ at a glance."""
    if radio and st.chamfer:
        def diamond(i):
            return A.polygon_mask(n, n, [(n / 2, i), (n - i, n / 2), (n / 2, n - i), (i, n / 2)])
        return diamond(0.5 * k), diamond(1.6 * k * 1.41)
    if radio:
        return A.ellipse_mask(n, n, 0.5 * k), A.ellipse_mask(n, n, 1.6 * k)
    r = 4 if not st.chamfer else 1
    return shape_mask(st, n, n, r, 0.5, k), shape_mask(st, n, n, r, 1.6, k)


def box_sheet(st, radio, k=1):
    """normal, hover, pushed, disabled, mark, disabled mark, focus ring."""
    n = BOX * k

    def boxface(top, bottom, pushed=False, ring_col=None):
        img = Image.new("RGBA", (n, n), (0, 0, 0, 0))
        m, inner = box_masks(st, radio, n, k)
        A.over(img, A.fill_mask((n, n), A.vgradient(n, n, [(0, top), (1, bottom)]), m))
        A.over(img, A.inner_shadow(m, 1.5 * k, 160 if pushed else 110, offset=(0, 2 * k)))
        edge = ImageChops.subtract(m, inner)
        A.over(img, A.fill_mask((n, n), ring_col or st.field_edge, edge))
        return img

    cells = [
        boxface(st.field_bg, A.mix(st.field_bg, st.field_edge, 0.35)),
        boxface(st.field_bg, A.mix(st.field_bg, st.field_edge, 0.35), ring_col=st.accent),
        boxface(A.mix(st.field_bg, "#000000", 0.3), st.field_bg, pushed=True, ring_col=st.accent),
        boxface(A.mix(st.field_bg, st.button_disabled_top, 0.6), st.button_disabled_bottom),
        check_glyph(st, BOX, st.extra.get("mark", st.accent_light), radio, k),
        check_glyph(st, BOX, st.button_text_disabled, radio, k),
    ]
    focus = Image.new("RGBA", (n, n), (0, 0, 0, 0))
    if radio and st.chamfer:
        fm = ImageChops.subtract(A.polygon_mask(n, n, [(n / 2, 0), (n, n / 2), (n / 2, n), (0, n / 2)]),
                                 A.polygon_mask(n, n, [(n / 2, 1.7 * k), (n - 1.7 * k, n / 2), (n / 2, n - 1.7 * k),
                                                       (1.7 * k, n / 2)]))
    elif radio:
        fm = ImageChops.subtract(A.ellipse_mask(n, n, 0), A.ellipse_mask(n, n, 1.2 * k))
    else:
        r = 5 if not st.chamfer else 1
        fm = ImageChops.subtract(shape_mask(st, n, n, r, 0, k), shape_mask(st, n, n, r, 1.2, k))
    A.over(focus, A.fill_mask((n, n), st.accent_light, fm.point(lambda v: v * 200 // 255)))
    cells.append(focus)
    sheet = Image.new("RGBA", (n * len(cells), n), (0, 0, 0, 0))
    for i, c in enumerate(cells):
        sheet.paste(c, (i * n, 0))
    return sheet


def field(st, w, h, r, focused, k=1):
    W, H = w * k, h * k
    img = Image.new("RGBA", (W, H), (0, 0, 0, 0))
    m = shape_mask(st, W, H, r, 0.5, k)
    A.over(img, A.fill_mask((W, H), st.field_bg, m))
    A.over(img, A.inner_shadow(m, 2.0 * k, 150, offset=(0, 2 * k)))
    edge = ImageChops.subtract(m, shape_mask(st, W, H, r, 1.5, k))
    A.over(img, A.fill_mask((W, H), st.accent if focused else st.field_edge, edge))
    # a faint light line under the field, as if cut into the panel
    lo = ImageChops.subtract(shape_mask(st, W, H, r, 0, k), shape_mask(st, W, H, r, 0.5, k))
    A.over(img, A.fill_mask((W, H), "#ffffff", fade_mask(lo, 0, 50, 0.5, 1.0)))
    return img


def edit_sheet(st, k=1):
    w, h = EDIT["w"], EDIT["h"]
    sheet = Image.new("RGBA", (w * k, h * 2 * k), (0, 0, 0, 0))
    sheet.paste(field(st, w, h, min(6, st.button_radius), False, k), (0, 0))
    sheet.paste(field(st, w, h, min(6, st.button_radius), True, k), (0, h * k))
    return sheet


def slider_sheet(st, k=1):
    """Row 0: the channel; row 1: thumb normal, thumb pushed. The thumb's body is 22 pixels tall."""
    cw, ch = CHANNEL["w"], CHANNEL["h"]
    tw, th = THUMB["w"] * k, THUMB["h"] * k
    sheet = Image.new("RGBA", (max(cw * k, tw * 2), ch * k + th), (0, 0, 0, 0))
    sheet.paste(field(st, cw, ch, ch // 2 if not st.chamfer else 2, False, k), (0, 0))
    for i, (top, bottom) in enumerate([(st.accent_light, st.accent), (st.accent, A.mix(st.accent, "#000000", 0.35))]):
        knob = Image.new("RGBA", (tw, th), (0, 0, 0, 0))
        body = Image.new("L", (tw, th), 0)
        if st.chamfer:
            body = A.polygon_mask(tw, th, [(3 * k, k), (tw - 3 * k, k), (tw - 2 * k, th - 9 * k), (tw / 2, th - 2 * k),
                                           (2 * k, th - 9 * k)])
        else:
            body.paste(A.rounded_mask(tw - 4 * k, th - 4 * k, 6 * k), (2 * k, k))
        A.over(knob, A.shadow(body, 1.2 * k, 140, offset=(0, 2 * k)))
        A.over(knob, A.fill_mask((tw, th), A.vgradient(tw, th, [(0, top), (1, bottom)]), body))
        hi = ImageChops.subtract(body, ImageChops.offset(body, 0, k))
        A.over(knob, A.fill_mask((tw, th), "#ffffff", hi.point(lambda v: v * 180 // 255)))
        edge = ImageChops.subtract(body, body.filter(ImageFilter.MinFilter(2 * k + 1)))
        A.over(knob, A.fill_mask((tw, th), A.mix(bottom, "#000000", 0.5), edge.point(lambda v: v * 200 // 255)))
        # three grip lines
        d = ImageDraw.Draw(knob)
        for g in (-3, 0, 3):
            x = tw // 2 + g * k
            d.line((x, 8 * k, x, th - 11 * k), fill=A.rgba(A.mix(bottom, "#000000", 0.45), 150), width=k)
        sheet.paste(knob, (i * tw, ch * k))
    return sheet


def progress_sheet(st, k=1):
    w, h = PROGRESS["w"], PROGRESS["h"]
    r = h // 2 if not st.chamfer else 3
    W, H = w * k, h * k
    sheet = Image.new("RGBA", (W, H * 2), (0, 0, 0, 0))
    sheet.paste(field(st, w, h, r, False, k), (0, 0))
    meter = Image.new("RGBA", (W, H), (0, 0, 0, 0))
    m = Image.new("L", (W, H), 0)
    m.paste(shape_mask(st, W - 4 * k, H - 4 * k, max(1, r - 2), k=k), (2 * k, 2 * k))
    A.over(meter, A.fill_mask((W, H), A.vgradient(W, H, [(0, st.meter_top), (1, st.meter_bottom)]), m))
    gl = Image.new("L", (W, H), 0)
    gl.paste(shape_mask(st, W - 6 * k, (H - 4 * k) // 2, max(1, r - 3), k=k), (3 * k, 3 * k))
    A.over(meter, A.fill_mask((W, H), "#ffffff", fade_mask(gl, 120, 20)))
    # diagonal sheen stripes, subtle
    stripes = Image.new("L", (W, H), 0)
    d = ImageDraw.Draw(stripes)
    for x in range(-h, w + h, 12):
        x *= k
        d.polygon([(x, H), (x + 6 * k, H), (x + 6 * k + H, 0), (x + H, 0)], fill=34)
    A.over(meter, A.fill_mask((W, H), "#ffffff", ImageChops.multiply(stripes, m)))
    sheet.paste(meter, (0, H))
    return sheet


def ornament(st, img, box, k=1):
    """A small decoration in a caption: stars for Nox, petals for Flower, thorns for Gothic,
    spread over the box (pixels of img)."""
    x0, y0, x1, y1 = box
    d = ImageDraw.Draw(img)
    if st.ornament == "stars":
        for (fx, fy, s, a) in [(0.1, 0.3, 1.6, 160), (0.3, 0.62, 1.0, 120), (0.5, 0.38, 1.2, 140),
                               (0.7, 0.7, 0.8, 100), (0.9, 0.35, 1.4, 150)]:
            cx, cy = x0 + (x1 - x0) * fx, y0 + (y1 - y0) * fy
            s *= k
            d.ellipse((cx - s, cy - s, cx + s, cy + s), fill=A.rgba(st.accent_light, a))
    elif st.ornament == "petals":
        for j, fx in enumerate([0.2, 0.5, 0.8]):
            cx, cy = x0 + (x1 - x0) * fx, (y0 + y1) / 2
            for p in range(5):
                ang = p * 2 * math.pi / 5 + j
                px, py = cx + 5 * k * math.cos(ang), cy + 5 * k * math.sin(ang)
                d.ellipse((px - 3.2 * k, py - 3.2 * k, px + 3.2 * k, py + 3.2 * k), fill=A.rgba("#ffffff", 150))
            d.ellipse((cx - 2 * k, cy - 2 * k, cx + 2 * k, cy + 2 * k), fill=A.rgba(st.accent, 200))
    elif st.ornament == "thorns":
        cy = (y0 + y1) / 2
        d.line((x0, cy, x1, cy), fill=A.rgba(st.accent_light, 90), width=k)
        for fx in (0.2, 0.5, 0.8):
            cx = x0 + (x1 - x0) * fx
            d.polygon([(cx - 4 * k, cy), (cx, cy - 5 * k), (cx + 4 * k, cy), (cx, cy + 5 * k)],
                      fill=A.rgba(st.accent_light, 120))


def panel_image(st, w, h, caption, k=1):
    """A window frame: rounded (or chamfered) panel, bevel, optional caption bar with accent
    line. The outer edge fades over one pixel of alpha: where the window is shaped by its mask
    that pixel is cut away, and where the desktop blends windows it shows a smooth edge."""
    W, H, cap = w * k, h * k, caption * k
    img = Image.new("RGBA", (W, H), (0, 0, 0, 0))
    r = st.radius
    m = shape_mask(st, W, H, r, k=k)
    A.over(img, A.fill_mask((W, H), A.vgradient(W, H, [(0, st.panel_top), (1, st.panel_bottom)]), m))
    if caption:
        capm = Image.new("L", (W, H), 0)
        capm.paste(255, (0, 0, W, cap))
        capm = ImageChops.multiply(capm, m)
        A.over(img, A.fill_mask((W, H), A.vgradient(W, H, [(0, st.caption_top), (cap / H, st.caption_bottom),
                                                          (1, st.caption_bottom)]), capm))
        gl = Image.new("L", (W, H), 0)
        gl.paste(110, (0, 0, W, cap // 2))
        A.over(img, A.fill_mask((W, H), "#ffffff", fade_mask(ImageChops.multiply(gl, m), 50, 0, 0, cap / H / 2)))
        d = ImageDraw.Draw(img)
        for row in range(k):
            d.line(((r // 2 + 4) * k, cap + row, W - (r // 2 + 5) * k, cap + row), fill=A.rgba(st.accent, 230))
            d.line(((r // 2 + 4) * k, cap + k + row, W - (r // 2 + 5) * k, cap + k + row), fill=A.rgba("#000000", 90))
    # inner bevel: light on top, fading down
    bv = ring(st, W, H, r, 1, 1.2, k)
    A.over(img, A.fill_mask((W, H), st.panel_bevel, fade_mask(bv, 230, 60, 0, 0.5)))
    # a second, gold hairline inside the bevel gives the frame its finish
    gr = ring(st, W, H, max(2, r - 3), 4, 1, k)
    A.over(img, A.fill_mask((W, H), st.accent, gr.point(lambda v: v * 70 // 255)))
    ol = ring(st, W, H, r, 0, 1.2, k)
    A.over(img, A.fill_mask((W, H), st.panel_edge, ol))
    return img


def dialog_sheet(st, k=1):
    D = DIALOG
    return panel_image(st, D["w"], D["h"], D["caption"], k)


# The caption's decoration: narrow, so that short dialogs keep room for their titles.
ORNAMENT = dict(w=48, h=40)


def ornament_sheet(st, k=1):
    """The caption's decoration, drawn once at the caption's right end (never stretched)."""
    img = Image.new("RGBA", (ORNAMENT["w"] * k, ORNAMENT["h"] * k), (0, 0, 0, 0))
    ornament(st, img, (2 * k, 0, (ORNAMENT["w"] - 2) * k, ORNAMENT["h"] * k), k)
    return img


def plain_panel_sheet(st, k=1):
    return panel_image(st, PANEL["w"], PANEL["h"], 0, k)


def band_sheet(st, k=1):
    """The caption band across the top of the screens: it spans the whole width, so it is
    square and opaque, with a light top edge, a gold line near the bottom and a dark rim."""
    w, h = BAND["w"] * k, BAND["h"] * k
    img = A.vgradient(w, h, [(0, st.caption_top), (0.8, st.panel_bottom), (1, st.panel_bottom)])
    d = ImageDraw.Draw(img)
    for row in range(k):
        d.line((0, row, w, row), fill=A.rgba(st.panel_bevel, 200))
        d.line((0, h - 5 * k + row, w, h - 5 * k + row), fill=A.rgba(st.accent, 190))
        d.line((0, h - 4 * k + row, w, h - 4 * k + row), fill=A.rgba("#000000", 80))
        d.line((0, h - k + row, w, h - k + row), fill=A.rgba(st.panel_edge, 255))
    gl = Image.new("L", (w, h), 0)
    gl.paste(255, (0, k, w, h // 2))
    A.over(img, A.fill_mask((w, h), "#ffffff", fade_mask(gl, 26, 0, 0, 0.5)))
    return img


# The band's title: the game's emblem and name, drawn at its left end.
LOGO = dict(w=150, h=40)


def logo_sheet(st, k=1):
    """The band's logo: a small jigsaw piece in the skin's accent beside the word "Velmora" in
    the skin's own bold face."""
    import pictures
    w, h = LOGO["w"] * k, LOGO["h"] * k
    img = Image.new("RGBA", (w, h), (0, 0, 0, 0))
    size = 30 * k
    piece, m = pictures.gold_piece(size, rotate=-0.18, top=st.accent_light, bottom=st.accent)
    full = Image.new("L", (w, h), 0)
    at = (2 * k, (h - size) // 2)
    full.paste(m, at)
    A.over(img, A.shadow(full, 1.5 * k, 150, offset=(0, k)))
    A.over(img, piece, at)
    fnt = A.font(A.font_path(st.font_family, st.font_bold), 22 * k)
    A.draw_text(img, (38 * k, h / 2), "Velmora", fnt, st.text, anchor="lm", shadow_colour=(0, 0, 0, 150),
                shadow_offset=(0, k))
    return img


def capbtn_sheet(st, k=1):
    """Round caption buttons (octagons in a chamfered skin): rows minimise / close / zoom;
    columns normal, hover, pushed."""
    n = CAPBTN * k
    sheet = Image.new("RGBA", (n * 3, n * 3), (0, 0, 0, 0))
    glyphs = ["min", "close", "zoom"]
    for row, g in enumerate(glyphs):
        for col in range(3):
            img = Image.new("RGBA", (n, n), (0, 0, 0, 0))
            m = round_mask(st, n, n, k)
            danger = g == "close" and col > 0
            top = [st.button_top, st.button_hover_top, st.button_pushed_top][col]
            bottom = [st.button_bottom, st.button_hover_bottom, st.button_pushed_bottom][col]
            if danger:
                top, bottom = ("#c4474f", "#8c1f29") if col == 1 else ("#7a1820", "#a8323b")
            A.over(img, A.fill_mask((n, n), A.vgradient(n, n, [(0, top), (1, bottom)]), m))
            if col == 2:
                A.over(img, A.inner_shadow(m, 1.5 * k, 150, offset=(0, 2 * k)))
            else:
                gl = Image.new("L", (n, n), 0)
                gl.paste(round_mask(st, n - 8 * k, n // 2, 0), (4 * k, 2 * k))
                A.over(img, A.fill_mask((n, n), "#ffffff", fade_mask(gl, 70, 5)))
            edge = ImageChops.subtract(m, round_mask(st, n, n, 2.1 * k))
            A.over(img, A.fill_mask((n, n), st.accent if col == 1 and not danger else st.panel_edge, edge))
            s = A.SS
            big = Image.new("L", (n * s, n * s), 0)
            d = ImageDraw.Draw(big)
            c = n * s / 2
            r = n * s * 0.2
            lw = int(n * s * 0.09)
            if g == "min":
                d.line((c - r, c + r * 0.6, c + r, c + r * 0.6), fill=255, width=lw)
            elif g == "close":
                d.line((c - r, c - r, c + r, c + r), fill=255, width=lw)
                d.line((c - r, c + r, c + r, c - r), fill=255, width=lw)
            else:
                d.ellipse((c - r, c - r, c + r * 0.5, c + r * 0.5), outline=255, width=lw)
                d.line((c + r * 0.35, c + r * 0.35, c + r * 1.1, c + r * 1.1), fill=255, width=lw)
            gm = big.resize((n, n), Image.LANCZOS)
            A.over(img, A.shadow(gm, 0.6 * k, 160, offset=(0, k)))
            A.over(img, A.fill_mask((n, n), "#ffffff" if danger else st.button_text, gm))
            sheet.paste(img, (col * n, row * n))
    return sheet


def icon_sheet(st, k=1):
    """Message-box icons, in the order the skin lists them: exclamation, information, question, error."""
    n = ICON * k
    sheet = Image.new("RGBA", (n * 4, n), (0, 0, 0, 0))
    specs = [("tri", "#f7c948", "#d9901a", "!"), ("circle", "#6fb3ff", "#2a6fd6", "i"),
             ("circle", "#6fdac4", "#1f9a86", "?"), ("circle", "#ff7a70", "#c42a2a", "x")]
    bold = A.font(A.font_path("lato", "Lato-Black.ttf"), 30 * k)
    for i, (shape, top, bottom, glyph) in enumerate(specs):
        img = Image.new("RGBA", (n, n), (0, 0, 0, 0))
        if shape == "tri":
            m = A.polygon_mask(n, n, [(n / 2, 3 * k), (n - 3 * k, n - 6 * k), (3 * k, n - 6 * k)])
            m = m.filter(ImageFilter.GaussianBlur(0.6 * k))
        else:
            m = A.ellipse_mask(n, n, 3 * k)
        A.over(img, A.shadow(m, 2.0 * k, 130, offset=(0, 2 * k)))
        A.over(img, A.fill_mask((n, n), A.vgradient(n, n, [(0, top), (1, bottom)]), m))
        gl = Image.new("L", (n, n), 0)
        gl.paste(A.ellipse_mask(n - 16 * k, n // 2 - 4 * k, 0), (8 * k, 5 * k))
        A.over(img, A.fill_mask((n, n), "#ffffff", ImageChops.multiply(fade_mask(gl, 110, 10), m)))
        edge = ImageChops.subtract(m, m.filter(ImageFilter.MinFilter(2 * k + 1)))
        A.over(img, A.fill_mask((n, n), A.mix(bottom, "#000000", 0.35), edge))
        if glyph == "x":
            s = A.SS
            big = Image.new("L", (n * s, n * s), 0)
            d = ImageDraw.Draw(big)
            c, r = n * s / 2, n * s * 0.17
            d.line((c - r, c - r, c + r, c + r), fill=255, width=int(n * s * 0.11))
            d.line((c - r, c + r, c + r, c - r), fill=255, width=int(n * s * 0.11))
            gm = big.resize((n, n), Image.LANCZOS)
            A.over(img, A.shadow(gm, 0.8 * k, 120, offset=(0, k)))
            A.over(img, A.fill_mask((n, n), "#ffffff", gm))
        else:
            ty = n / 2 + (5 if shape == "tri" else 1) * k
            colour = "#4a2c00" if shape == "tri" else "#ffffff"
            A.draw_text(img, (n / 2, ty), glyph, bold, colour, anchor="mm",
                        shadow_colour=(0, 0, 0, 90) if shape != "tri" else None, shadow_offset=(0, k))
        sheet.paste(img, (i * n, 0))
    return sheet


def tray_icon(st, n, full, k):
    """A tray seen from the front and a little above: a shallow box with a rim, holding three
    puzzle pieces when full. Drawn over n x n pixels."""
    import pictures
    s = A.SS
    img = Image.new("RGBA", (n, n), (0, 0, 0, 0))
    u = n / 48.0
    # the box: a trapezoid rim (the far edge seen from above) over the front wall
    inside = [(11 * u, 21 * u), (37 * u, 21 * u), (34 * u, 28 * u), (14 * u, 28 * u)]
    front = [(8 * u, 27 * u), (40 * u, 27 * u), (38 * u, 36 * u), (10 * u, 36 * u)]
    ink = st.accent_light if full else st.text_dim
    well = A.polygon_mask(n, n, inside)
    wall = A.polygon_mask(n, n, front)
    A.over(img, A.fill_mask((n, n), A.mix(st.button_bottom, "#000000", 0.35), well))
    if full:
        for j, (px, py, turn) in enumerate([(13.5, 14.0, -0.3), (19.5, 12.5, 0.25), (25.5, 14.5, -0.1)]):
            size = int(round(11 * u))
            piece, pm = pictures.gold_piece(size, rotate=turn,
                                            top=st.accent_light if j != 1 else st.accent,
                                            bottom=st.accent if j != 1 else A.mix(st.accent, "#000000", 0.3))
            A.over(img, piece, (int(px * u), int(py * u)))
    A.over(img, A.fill_mask((n, n), A.vgradient(n, n, [(0, A.mix(ink, "#ffffff", 0.2)), (1, ink)]), wall))
    rim = ImageChops.subtract(A.polygon_mask(n, n, [(p[0] - 1.2 * u, p[1] - 1.2 * u) if i < 2 else p
                                                    for i, p in enumerate(inside)]), well)
    A.over(img, A.fill_mask((n, n), ink, rim.point(lambda v: v * 200 // 255)))
    return img


def tray_sheet(st, k=1):
    """Tray handles: column 0 empty, column 1 full (pieces waiting); the open-tray frame below."""
    n = TRAY * k
    sheet = Image.new("RGBA", (n * 2, n + 64 * k), (0, 0, 0, 0))
    for col in range(2):
        img = face(st, TRAY, TRAY, 10, st.button_top, st.button_bottom, margin_bottom=2,
                   accent_ring=(st.accent, 180) if col == 1 else None, k=k)
        A.over(img, tray_icon(st, n, col == 1, k))
        sheet.paste(img, (col * n, 0))
    fw, fh = n * 2, 64 * k
    frame = Image.new("RGBA", (fw, fh), (0, 0, 0, 0))
    fm = shape_mask(st, fw, fh, 14, k=k)
    inner = shape_mask(st, fw, fh, 10, 5, k)
    rim = ImageChops.subtract(fm, inner)
    A.over(frame, A.fill_mask((fw, fh), A.vgradient(fw, fh, [(0, st.caption_top), (1, st.panel_bottom)]), rim))
    A.over(frame, A.fill_mask((fw, fh), st.accent, ring(st, fw, fh, 10, 4, 1, k).point(lambda v: v * 200 // 255)))
    A.over(frame, A.fill_mask((fw, fh), st.panel_edge, ring(st, fw, fh, 14, 0, 1, k)))
    A.over(frame, A.inner_shadow(inner, 3 * k, 120, offset=(0, 3 * k)))
    sheet.paste(frame, (0, n))
    return sheet
