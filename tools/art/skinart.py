"""The skins' bitmaps: buttons, check boxes, radios, edits, sliders, progress bars, dialog frames,
caption buttons, message-box icons, and the tray handles. One sheet per control; the skin file
cuts the states out of it."""

import math

from PIL import Image, ImageChops, ImageDraw, ImageFilter

import artlib as A

# Sheet geometry shared with the skin writer.
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


def shape_mask(st, w, h, r, inset=0.0):
    if st.chamfer:
        c = max(2, st.chamfer * r / max(1, st.radius)) if r != st.radius else st.chamfer
        c = min(c, w / 3, h / 3)
        i = inset
        pts = [(i + c, i), (w - i - c, i), (w - i, i + c), (w - i, h - i - c), (w - i - c, h - i),
               (i + c, h - i), (i, h - i - c), (i, i + c)]
        return A.polygon_mask(w, h, pts)
    return A.rounded_mask(w, h, r, inset)


def ring(st, w, h, r, inset, width):
    return ImageChops.subtract(shape_mask(st, w, h, r, inset), shape_mask(st, w, h, r, inset + width))


def fade_mask(mask, top_alpha, bottom_alpha, start=0.0, end=1.0):
    w, h = mask.size
    g = A.vgradient(1, h, [(0, "#ffffff", top_alpha), (start, "#ffffff", top_alpha),
                           (end, "#ffffff", bottom_alpha), (1, "#ffffff", bottom_alpha)]).getchannel("A")
    return ImageChops.multiply(mask, g.resize((w, h)))


def face(st, w, h, r, top, bottom, *, edge=None, bevel=0.5, gloss=0.18, pushed=False, shadow=True,
         accent_ring=None, margin_bottom=2):
    """A glossy control face with bevel, outline and a small drop shadow below it."""
    img = Image.new("RGBA", (w, h), (0, 0, 0, 0))
    bh = h - margin_bottom
    body = Image.new("L", (w, h), 0)
    body.paste(shape_mask(st, w, bh, r), (0, 0))
    if shadow and margin_bottom:
        A.over(img, A.shadow(body, 1.2, 110, offset=(0, 2)))
    A.over(img, A.fill_mask((w, h), A.vgradient(w, h, [(0, top), (bh / h, bottom), (1, bottom)]), body))
    if gloss and not pushed:
        gl = Image.new("L", (w, h), 0)
        gl.paste(shape_mask(st, w - 2, int(bh * 0.5), max(1, r - 1)), (1, 1))
        A.over(img, A.fill_mask((w, h), "#ffffff", fade_mask(gl, int(255 * gloss), int(255 * gloss * 0.25))))
    if pushed:
        A.over(img, A.inner_shadow(body, 2.0, 150, offset=(0, 3)))
    if bevel:
        bv = Image.new("L", (w, h), 0)
        bv.paste(ring(st, w, bh, r, 1, 1), (0, 0))
        hi = fade_mask(bv, int(255 * bevel), 0, 0.0, 0.6 if not pushed else 0.2)
        A.over(img, A.fill_mask((w, h), "#ffffff", hi))
    ol = Image.new("L", (w, h), 0)
    ol.paste(ring(st, w, bh, r, 0, 1.1), (0, 0))
    A.over(img, A.fill_mask((w, h), edge or st.panel_edge, ol.point(lambda v: v * 220 // 255)))
    if accent_ring:
        ar = Image.new("L", (w, h), 0)
        ar.paste(ring(st, w, bh, r, 0, 1.4), (0, 0))
        A.over(img, A.fill_mask((w, h), accent_ring[0], ar.point(lambda v: v * accent_ring[1] // 255)))
    return img


def button_sheet(st):
    w, h = BUTTON["w"], BUTTON["h"]
    r = st.button_radius
    looks = [
        face(st, w, h, r, st.button_top, st.button_bottom),
        face(st, w, h, r, st.button_hover_top, st.button_hover_bottom, accent_ring=(st.accent, 200)),
        face(st, w, h, r, st.button_pushed_top, st.button_pushed_bottom, pushed=True, accent_ring=(st.accent, 140)),
        face(st, w, h, r, st.button_disabled_top, st.button_disabled_bottom, gloss=0.06, bevel=0.2, shadow=False),
    ]
    focus = Image.new("RGBA", (w, h), (0, 0, 0, 0))
    fm = Image.new("L", (w, h), 0)
    fm.paste(ring(st, w, h - 2, r, 2, 1.3), (0, 0))
    A.over(focus, A.fill_mask((w, h), st.accent_light, fm.point(lambda v: v * 170 // 255)))
    looks.append(focus)
    sheet = Image.new("RGBA", (w, h * len(looks)), (0, 0, 0, 0))
    for i, im in enumerate(looks):
        sheet.paste(im, (0, i * h))
    return sheet


def check_glyph(st, size, colour, radio):
    img = Image.new("RGBA", (size, size), (0, 0, 0, 0))
    s = A.SS
    big = Image.new("L", (size * s, size * s), 0)
    d = ImageDraw.Draw(big)
    if radio:
        c = size * s / 2
        rr = size * s * 0.2
        d.ellipse((c - rr, c - rr, c + rr, c + rr), fill=255)
    else:
        pts = [(0.26, 0.52), (0.43, 0.69), (0.75, 0.31)]
        d.line([(x * size * s, y * size * s) for x, y in pts], fill=255, width=int(size * s * 0.13), joint="curve")
    m = big.resize((size, size), Image.LANCZOS)
    A.over(img, A.shadow(m, 0.8, 140, offset=(0, 1)))
    A.over(img, A.fill_mask((size, size), colour, m))
    return img


def box_sheet(st, radio):
    """normal, hover, pushed, disabled, mark, disabled mark, focus ring."""
    n = BOX
    r = n // 2 if radio else (4 if not st.chamfer else 2)

    def boxface(top, bottom, pushed=False, ring_col=None):
        img = Image.new("RGBA", (n, n), (0, 0, 0, 0))
        m = A.ellipse_mask(n, n, 0.5) if radio else shape_mask(st, n, n, r, 0.5)
        A.over(img, A.fill_mask((n, n), A.vgradient(n, n, [(0, top), (1, bottom)]), m))
        A.over(img, A.inner_shadow(m, 1.5, 160 if pushed else 110, offset=(0, 2)))
        edge = ImageChops.subtract(m, (A.ellipse_mask(n, n, 1.6) if radio else shape_mask(st, n, n, r, 1.6)))
        A.over(img, A.fill_mask((n, n), ring_col or st.field_edge, edge))
        return img

    cells = [
        boxface(st.field_bg, A.mix(st.field_bg, st.field_edge, 0.35)),
        boxface(st.field_bg, A.mix(st.field_bg, st.field_edge, 0.35), ring_col=st.accent),
        boxface(A.mix(st.field_bg, "#000000", 0.3), st.field_bg, pushed=True, ring_col=st.accent),
        boxface(A.mix(st.field_bg, st.button_disabled_top, 0.6), st.button_disabled_bottom),
        check_glyph(st, n, st.extra.get("mark", st.accent_light), radio),
        check_glyph(st, n, st.button_text_disabled, radio),
    ]
    focus = Image.new("RGBA", (n, n), (0, 0, 0, 0))
    fm = ImageChops.subtract(A.ellipse_mask(n, n, 0), A.ellipse_mask(n, n, 1.2)) if radio else \
        ImageChops.subtract(shape_mask(st, n, n, r + 1, 0), shape_mask(st, n, n, r + 1, 1.2))
    A.over(focus, A.fill_mask((n, n), st.accent_light, fm.point(lambda v: v * 200 // 255)))
    cells.append(focus)
    sheet = Image.new("RGBA", (n * len(cells), n), (0, 0, 0, 0))
    for i, c in enumerate(cells):
        sheet.paste(c, (i * n, 0))
    return sheet


def field(st, w, h, r, focused):
    img = Image.new("RGBA", (w, h), (0, 0, 0, 0))
    m = shape_mask(st, w, h, r, 0.5)
    A.over(img, A.fill_mask((w, h), st.field_bg, m))
    A.over(img, A.inner_shadow(m, 2.0, 150, offset=(0, 2)))
    edge = ImageChops.subtract(m, shape_mask(st, w, h, r, 1.5))
    A.over(img, A.fill_mask((w, h), st.accent if focused else st.field_edge, edge))
    # a faint light line under the field, as if cut into the panel
    lo = ImageChops.subtract(shape_mask(st, w, h, r, 0), shape_mask(st, w, h, r, 0.5))
    A.over(img, A.fill_mask((w, h), "#ffffff", fade_mask(lo, 0, 50, 0.5, 1.0)))
    return img


def edit_sheet(st):
    w, h = EDIT["w"], EDIT["h"]
    sheet = Image.new("RGBA", (w, h * 2), (0, 0, 0, 0))
    sheet.paste(field(st, w, h, min(6, st.button_radius), False), (0, 0))
    sheet.paste(field(st, w, h, min(6, st.button_radius), True), (0, h))
    return sheet


def slider_sheet(st):
    """Row 0: the channel; row 1: thumb normal, thumb pushed."""
    cw, ch = CHANNEL["w"], CHANNEL["h"]
    tw, th = THUMB["w"], THUMB["h"]
    sheet = Image.new("RGBA", (max(cw, tw * 2), ch + th), (0, 0, 0, 0))
    sheet.paste(field(st, cw, ch, ch // 2 if not st.chamfer else 2, False), (0, 0))
    for i, (top, bottom) in enumerate([(st.accent_light, st.accent), (st.accent, A.mix(st.accent, "#000000", 0.35))]):
        knob = Image.new("RGBA", (tw, th), (0, 0, 0, 0))
        if st.chamfer:
            pts = [(3, 1), (tw - 3, 1), (tw - 2, th - 9), (tw / 2, th - 2), (2, th - 9)]
        else:
            pts = None
        body = Image.new("L", (tw, th), 0)
        if pts:
            body = A.polygon_mask(tw, th, pts)
        else:
            body.paste(A.rounded_mask(tw - 4, th - 4, 6), (2, 1))
        A.over(knob, A.shadow(body, 1.2, 140, offset=(0, 2)))
        A.over(knob, A.fill_mask((tw, th), A.vgradient(tw, th, [(0, top), (1, bottom)]), body))
        hi = ImageChops.subtract(body, ImageChops.offset(body, 0, 1))
        A.over(knob, A.fill_mask((tw, th), "#ffffff", hi.point(lambda v: v * 180 // 255)))
        edge = ImageChops.subtract(body, body.filter(ImageFilter.MinFilter(3)))
        A.over(knob, A.fill_mask((tw, th), A.mix(bottom, "#000000", 0.5), edge.point(lambda v: v * 200 // 255)))
        # three grip lines
        d = ImageDraw.Draw(knob)
        for k in (-3, 0, 3):
            x = tw // 2 + k
            d.line((x, 8, x, th - 11), fill=A.rgba(A.mix(bottom, "#000000", 0.45), 150))
        sheet.paste(knob, (i * tw, ch))
    return sheet


def progress_sheet(st):
    w, h = PROGRESS["w"], PROGRESS["h"]
    r = h // 2 if not st.chamfer else 3
    sheet = Image.new("RGBA", (w, h * 2), (0, 0, 0, 0))
    sheet.paste(field(st, w, h, r, False), (0, 0))
    meter = Image.new("RGBA", (w, h), (0, 0, 0, 0))
    m = Image.new("L", (w, h), 0)
    m.paste(shape_mask(st, w - 4, h - 4, max(1, r - 2)), (2, 2))
    A.over(meter, A.fill_mask((w, h), A.vgradient(w, h, [(0, st.meter_top), (1, st.meter_bottom)]), m))
    gl = Image.new("L", (w, h), 0)
    gl.paste(shape_mask(st, w - 6, (h - 4) // 2, max(1, r - 3)), (3, 3))
    A.over(meter, A.fill_mask((w, h), "#ffffff", fade_mask(gl, 120, 20)))
    # diagonal sheen stripes, subtle
    stripes = Image.new("L", (w, h), 0)
    d = ImageDraw.Draw(stripes)
    for x in range(-h, w + h, 12):
        d.polygon([(x, h), (x + 6, h), (x + 6 + h, 0), (x + h, 0)], fill=34)
    A.over(meter, A.fill_mask((w, h), "#ffffff", ImageChops.multiply(stripes, m)))
    sheet.paste(meter, (0, h))
    return sheet


def ornament(st, img, box):
    """A small decoration in the caption bar: stars for Nox, petals for Flower, thorns for Gothic."""
    x0, y0, x1, y1 = box
    d = ImageDraw.Draw(img)
    if st.ornament == "stars":
        for (fx, fy, s, a) in [(0.62, 0.3, 1.6, 160), (0.7, 0.62, 1.0, 120), (0.78, 0.38, 1.2, 140),
                               (0.86, 0.7, 0.8, 100), (0.93, 0.35, 1.4, 150)]:
            cx, cy = x0 + (x1 - x0) * fx, y0 + (y1 - y0) * fy
            d.ellipse((cx - s, cy - s, cx + s, cy + s), fill=A.rgba(st.accent_light, a))
    elif st.ornament == "petals":
        for k, fx in enumerate([0.7, 0.8, 0.9]):
            cx, cy = x0 + (x1 - x0) * fx, (y0 + y1) / 2
            for p in range(5):
                ang = p * 2 * math.pi / 5 + k
                px, py = cx + 5 * math.cos(ang), cy + 5 * math.sin(ang)
                d.ellipse((px - 3.2, py - 3.2, px + 3.2, py + 3.2), fill=A.rgba("#ffffff", 150))
            d.ellipse((cx - 2, cy - 2, cx + 2, cy + 2), fill=A.rgba(st.accent, 200))
    elif st.ornament == "thorns":
        cy = (y0 + y1) / 2
        d.line((x0 + (x1 - x0) * 0.55, cy, x1 - 30, cy), fill=A.rgba(st.accent_light, 90), width=1)
        for fx in (0.6, 0.7, 0.8):
            cx = x0 + (x1 - x0) * fx
            d.polygon([(cx - 4, cy), (cx, cy - 5), (cx + 4, cy), (cx, cy + 5)], fill=A.rgba(st.accent_light, 120))


def panel_image(st, w, h, caption):
    """A window frame: rounded (or chamfered) panel, bevel, optional caption bar with accent line."""
    img = Image.new("RGBA", (w, h), (0, 0, 0, 0))
    r = st.radius
    m = shape_mask(st, w, h, r)
    A.over(img, A.fill_mask((w, h), A.vgradient(w, h, [(0, st.panel_top), (1, st.panel_bottom)]), m))
    if caption:
        cap = Image.new("L", (w, h), 0)
        cap.paste(255, (0, 0, w, caption))
        cap = ImageChops.multiply(cap, m)
        A.over(img, A.fill_mask((w, h), A.vgradient(w, h, [(0, st.caption_top), (caption / h, st.caption_bottom),
                                                          (1, st.caption_bottom)]), cap))
        gl = Image.new("L", (w, h), 0)
        gl.paste(110, (0, 0, w, caption // 2))
        A.over(img, A.fill_mask((w, h), "#ffffff", fade_mask(ImageChops.multiply(gl, m), 50, 0, 0, caption / h / 2)))
        d = ImageDraw.Draw(img)
        d.line((r // 2 + 4, caption, w - r // 2 - 5, caption), fill=A.rgba(st.accent, 230), width=1)
        d.line((r // 2 + 4, caption + 1, w - r // 2 - 5, caption + 1), fill=A.rgba("#000000", 90), width=1)
    # inner bevel: light on top, fading down
    bv = ring(st, w, h, r, 1, 1.2)
    A.over(img, A.fill_mask((w, h), st.panel_bevel, fade_mask(bv, 230, 60, 0, 0.5)))
    # a second, gold hairline inside the bevel gives the frame its finish
    gr = ring(st, w, h, max(2, r - 3), 4, 1)
    A.over(img, A.fill_mask((w, h), st.accent, gr.point(lambda v: v * 70 // 255)))
    ol = ring(st, w, h, r, 0, 1.2)
    A.over(img, A.fill_mask((w, h), st.panel_edge, ol))
    return img


def dialog_sheet(st):
    D = DIALOG
    return panel_image(st, D["w"], D["h"], D["caption"])


ORNAMENT = dict(w=100, h=40)


def ornament_sheet(st):
    """The caption's decoration, drawn once at the caption's right end (never stretched)."""
    img = Image.new("RGBA", (ORNAMENT["w"], ORNAMENT["h"]), (0, 0, 0, 0))
    ornament(st, img, (-ORNAMENT["w"] * 1.2, 0, ORNAMENT["w"] * 1.06, ORNAMENT["h"]))
    return img


def plain_panel_sheet(st):
    return panel_image(st, PANEL["w"], PANEL["h"], 0)


def band_sheet(st):
    """The caption band across the top of the screens: it spans the whole width, so it is
    square and opaque, with a light top edge, a gold line near the bottom and a dark rim."""
    w, h = BAND["w"], BAND["h"]
    img = A.vgradient(w, h, [(0, st.caption_top), (0.8, st.panel_bottom), (1, st.panel_bottom)])
    d = ImageDraw.Draw(img)
    d.line((0, 0, w, 0), fill=A.rgba(st.panel_bevel, 200))
    d.line((0, h - 5, w, h - 5), fill=A.rgba(st.accent, 190))
    d.line((0, h - 4, w, h - 4), fill=A.rgba("#000000", 80))
    d.line((0, h - 1, w, h - 1), fill=A.rgba(st.panel_edge, 255))
    gl = Image.new("L", (w, h), 0)
    gl.paste(255, (0, 1, w, h // 2))
    A.over(img, A.fill_mask((w, h), "#ffffff", fade_mask(gl, 26, 0, 0, 0.5)))
    return img


def capbtn_sheet(st):
    """Round caption buttons: rows minimise / close / zoom; columns normal, hover, pushed."""
    n = CAPBTN
    sheet = Image.new("RGBA", (n * 3, n * 3), (0, 0, 0, 0))
    glyphs = ["min", "close", "zoom"]
    for row, g in enumerate(glyphs):
        for col in range(3):
            img = Image.new("RGBA", (n, n), (0, 0, 0, 0))
            m = A.ellipse_mask(n, n, 1)
            danger = g == "close" and col > 0
            top = [st.button_top, st.button_hover_top, st.button_pushed_top][col]
            bottom = [st.button_bottom, st.button_hover_bottom, st.button_pushed_bottom][col]
            if danger:
                top, bottom = ("#c4474f", "#8c1f29") if col == 1 else ("#7a1820", "#a8323b")
            A.over(img, A.fill_mask((n, n), A.vgradient(n, n, [(0, top), (1, bottom)]), m))
            if col == 2:
                A.over(img, A.inner_shadow(m, 1.5, 150, offset=(0, 2)))
            else:
                gl = Image.new("L", (n, n), 0)
                gl.paste(A.ellipse_mask(n - 8, n // 2, 0), (4, 2))
                A.over(img, A.fill_mask((n, n), "#ffffff", fade_mask(gl, 70, 5)))
            edge = ImageChops.subtract(m, A.ellipse_mask(n, n, 2.1))
            A.over(img, A.fill_mask((n, n), st.accent if col == 1 and not danger else st.panel_edge, edge))
            s = A.SS
            big = Image.new("L", (n * s, n * s), 0)
            d = ImageDraw.Draw(big)
            c = n * s / 2
            k = n * s * 0.2
            lw = int(n * s * 0.09)
            if g == "min":
                d.line((c - k, c + k * 0.6, c + k, c + k * 0.6), fill=255, width=lw)
            elif g == "close":
                d.line((c - k, c - k, c + k, c + k), fill=255, width=lw)
                d.line((c - k, c + k, c + k, c - k), fill=255, width=lw)
            else:
                d.ellipse((c - k, c - k, c + k * 0.5, c + k * 0.5), outline=255, width=lw)
                d.line((c + k * 0.35, c + k * 0.35, c + k * 1.1, c + k * 1.1), fill=255, width=lw)
            gm = big.resize((n, n), Image.LANCZOS)
            A.over(img, A.shadow(gm, 0.6, 160, offset=(0, 1)))
            A.over(img, A.fill_mask((n, n), "#ffffff" if danger else st.button_text, gm))
            sheet.paste(img, (col * n, row * n))
    return sheet


def icon_sheet(st):
    """Message-box icons, in the order the skin lists them: exclamation, information, question, error."""
    n = ICON
    sheet = Image.new("RGBA", (n * 4, n), (0, 0, 0, 0))
    specs = [("tri", "#f7c948", "#d9901a", "!"), ("circle", "#6fb3ff", "#2a6fd6", "i"),
             ("circle", "#6fdac4", "#1f9a86", "?"), ("circle", "#ff7a70", "#c42a2a", "x")]
    bold = A.font(A.font_path("lato", "Lato-Black.ttf"), 30)
    for i, (shape, top, bottom, glyph) in enumerate(specs):
        img = Image.new("RGBA", (n, n), (0, 0, 0, 0))
        if shape == "tri":
            m = A.polygon_mask(n, n, [(n / 2, 3), (n - 3, n - 6), (3, n - 6)])
            m = m.filter(ImageFilter.GaussianBlur(0.6))
        else:
            m = A.ellipse_mask(n, n, 3)
        A.over(img, A.shadow(m, 2.0, 130, offset=(0, 2)))
        A.over(img, A.fill_mask((n, n), A.vgradient(n, n, [(0, top), (1, bottom)]), m))
        gl = A.ellipse_mask(n, n, 0)
        gl = Image.new("L", (n, n), 0)
        gl.paste(A.ellipse_mask(n - 16, n // 2 - 4, 0), (8, 5))
        A.over(img, A.fill_mask((n, n), "#ffffff", ImageChops.multiply(fade_mask(gl, 110, 10), m)))
        edge = ImageChops.subtract(m, m.filter(ImageFilter.MinFilter(3)))
        A.over(img, A.fill_mask((n, n), A.mix(bottom, "#000000", 0.35), edge))
        if glyph == "x":
            s = A.SS
            big = Image.new("L", (n * s, n * s), 0)
            d = ImageDraw.Draw(big)
            c, k = n * s / 2, n * s * 0.17
            d.line((c - k, c - k, c + k, c + k), fill=255, width=int(n * s * 0.11))
            d.line((c - k, c + k, c + k, c - k), fill=255, width=int(n * s * 0.11))
            gm = big.resize((n, n), Image.LANCZOS)
            A.over(img, A.shadow(gm, 0.8, 120, offset=(0, 1)))
            A.over(img, A.fill_mask((n, n), "#ffffff", gm))
        else:
            ty = n / 2 + (5 if shape == "tri" else 1)
            colour = "#4a2c00" if shape == "tri" else "#ffffff"
            A.draw_text(img, (n / 2, ty), glyph, bold, colour, anchor="mm",
                        shadow_colour=(0, 0, 0, 90) if shape != "tri" else None)
        sheet.paste(img, (i * n, 0))
    return sheet


def tray_sheet(st):
    """Tray handles: column 0 empty, column 1 full (pieces waiting); the open-tray frame below."""
    n = TRAY
    sheet = Image.new("RGBA", (n * 2, n + 64), (0, 0, 0, 0))
    for col in range(2):
        img = face(st, n, n, 10, st.button_top, st.button_bottom, margin_bottom=2,
                   accent_ring=(st.accent, 180) if col == 1 else None)
        d = ImageDraw.Draw(img)
        # an upward chevron: the tray slides open
        cx = n / 2
        chev = Image.new("L", (n * A.SS, n * A.SS), 0)
        ImageDraw.Draw(chev).line([((cx - 9) * A.SS, 22 * A.SS), (cx * A.SS, 13 * A.SS), ((cx + 9) * A.SS, 22 * A.SS)],
                                  fill=255, width=3 * A.SS, joint="curve")
        chev = chev.resize((n, n), Image.LANCZOS)
        A.over(img, A.fill_mask((n, n), st.accent_light if col == 1 else st.text_dim, chev))
        if col == 1:
            # three little pieces stacked in the tray
            for k, (px, py) in enumerate([(13, 28), (22, 30), (31, 28)]):
                d.rounded_rectangle((px, py, px + 7, py + 7), radius=2, fill=A.rgba(st.accent_light if k != 1 else st.accent),
                                    outline=A.rgba("#000000", 120))
        else:
            d.line((14, 33, n - 14, 33), fill=A.rgba(st.text_dim, 120), width=2)
        sheet.paste(img, (col * n, 0))
    frame = Image.new("RGBA", (n * 2, 64), (0, 0, 0, 0))
    fm = shape_mask(st, n * 2, 64, 14)
    inner = shape_mask(st, n * 2, 64, 10, 5)
    rim = ImageChops.subtract(fm, inner)
    A.over(frame, A.fill_mask((n * 2, 64), A.vgradient(n * 2, 64, [(0, st.caption_top), (1, st.panel_bottom)]), rim))
    A.over(frame, A.fill_mask((n * 2, 64), st.accent, ring(st, n * 2, 64, 10, 4, 1).point(lambda v: v * 200 // 255)))
    A.over(frame, A.fill_mask((n * 2, 64), st.panel_edge, ring(st, n * 2, 64, 14, 0, 1)))
    A.over(frame, A.inner_shadow(inner, 3, 120, offset=(0, 3)))
    sheet.paste(frame, (0, n))
    return sheet
