"""Builds one complete skin: its bitmaps, fonts, region masks and the .skn file that ties them
into the Objects the game's windows look up."""

import os
import shutil

from PIL import Image

import artlib as A
import skinart as S
import templates as T
from sknwriter import Element, colour, nine_slice, three_slice_h, write_mask, write_skin

DT_CENTER, DT_VCENTER, DT_SINGLELINE = "DT_CENTER", "DT_VCENTER", "DT_SINGLELINE"

# The scales every sheet is written at: its own size, and twice that for dense screens.
SCALES = (1, 2)
# The points of the "Title" font and the room kept beside a title: the caption's left inset
# and the gap before the ornament.
TITLE_POINTS = 12
TITLE_LEFT = 20
TITLE_GAP = 8
# Pixels per point on the screens the game runs on (96 dots per inch).
PIXELS_PER_POINT = 96 / 72
# Said in the band's client area: the line the tabs and the round buttons share.
BAND_CLIENT_BOTTOM = 8


def fmt(*words):
    return " ".join(words)


class SkinBuilder:
    def __init__(self, style, skin_dir, skn_name, sub, texture_prefix):
        self.st = style
        self.skin_dir = skin_dir          # folder of the .skn file
        self.skn_name = skn_name
        self.sub = sub                    # folder of this skin's files, relative to skin_dir ("" or "Flower/")
        self.texture_prefix = texture_prefix
        self.root = Element("Skin", Name=style.title)

    # -- files -----------------------------------------------------------------------------
    def path(self, rel):
        return os.path.join(self.skin_dir, self.sub + rel)

    def bitmap(self, name, make):
        """Writes a sheet at its own size and at twice the size ("name@2x.png", which the skin
        engine draws on screens of twice the density); make(k) draws it at scale k."""
        rel = f"bitmaps/{name}.png"
        for k in SCALES:
            A.save_png(make(k), self.path(rel if k == 1 else f"bitmaps/{name}@{k}x.png"))
        return self.sub + rel

    def copy_fonts(self):
        st = self.st
        os.makedirs(self.path("fonts"), exist_ok=True)
        for f in (st.font_regular, st.font_bold):
            shutil.copyfile(A.font_path(st.font_family, f), self.path("fonts/" + f))
        doc = f"/usr/share/doc/{st.font_licence_doc}/copyright"
        shutil.copyfile(doc, self.path(f"fonts/LICENSE-{st.font_face.split()[0]}.txt"))
        return self.sub + "fonts/" + st.font_regular, self.sub + "fonts/" + st.font_bold

    # -- items -----------------------------------------------------------------------------
    def fonts(self):
        regular, bold = self.copy_fonts()
        face = self.st.font_face
        r = self.root
        r.sub("Font", Name="Text", Src=regular, Face=face, Size=10)
        r.sub("Font", Name="TextBold", Src=bold, Face=face, Size=10, Style=1)
        r.sub("Font", Name="Small", Src=regular, Face=face, Size=9)
        r.sub("Font", Name="Title", Src=bold, Face=face, Size=12, Style=1)
        r.sub("Font", Name="Heading", Src=bold, Face=face, Size=16, Style=1)
        r.sub("Font", Name="Clock", Src=bold, Face=face, Size=14, Style=1)

    def regions(self):
        st, r = self.st, self.root
        full = dict(X1="0", Y1="0", X2="0,rb", Y2="0,rb")
        if st.chamfer:
            # cut corners: the rectangle less a triangle at each corner, anchored to its corner
            c = st.chamfer
            g = r.sub("Region", Name="DialogShape", Shape="RECTANGLE", **full)
            corners = [("0", "0", f"0 0 {c} 0 0 {c}"),
                       (f"{c},rb", "0", f"0 0 {c} 0 {c} {c}"),
                       ("0", f"{c},rb", f"0 0 {c} {c} 0 {c}"),
                       (f"{c},rb", f"{c},rb", f"{c} 0 {c} {c} 0 {c}")]
            for x1, y1, data in corners:
                g.sub("Region", Shape="POLYGON", CombineMode="RGN_DIFF", Data=data, X1=x1, Y1=y1, X2="0,rb", Y2="0,rb")
        else:
            d = st.radius * 2 + 1
            r.sub("Region", Name="DialogShape", Shape="ROUNDRECT", Data=f"{d} {d}", **full)
        n = S.CAPBTN
        write_mask(self.path("masks/capbutton.msk"), S.round_mask(st, n, n, 0.5))
        r.sub("Region", Name="CapButtonShape", Shape="ARBITRARY", Src=self.sub + "masks/capbutton.msk",
              X1="0", Y1="0", X2=str(n), Y2=str(n))
        t = S.TRAY
        write_mask(self.path("masks/trayhandle.msk"), S.shape_mask(st, t, t - 2, 10))
        r.sub("Region", Name="TrayHandleShape", Shape="ARBITRARY", Src=self.sub + "masks/trayhandle.msk",
              X1="0", Y1="0", X2=str(t), Y2=str(t))

    def icons(self):
        src = self.bitmap("icons", lambda k: S.icon_sheet(self.st, k))
        n = S.ICON
        g = self.root.sub("Icons", Name="Icons", X1="0", Y1="0", X2=str(n), Y2=str(n))
        for i, kind in enumerate(["Exclamation", "Information", "Question", "Error"]):
            g.sub("Bitmap", Name=f"Icon{kind}", Src=src, SrcX=i * n, SrcY=0, SrcWidth=n, SrcHeight=n,
                  X1="0", Y1="0", X2=str(n), Y2=str(n))

    def textures(self, names):
        g = self.root.sub("Textures", Name="Textures", X1="0", Y1="0", X2="0,rb", Y2="0,rb")
        for i, name in enumerate(names, start=1):
            g.sub("Bitmap", Name=f"Pattern {i}", Src=f"{self.texture_prefix}{name}.png",
                  HPosition="Tiled", VPosition="Tiled", X1="0", Y1="0", X2="0,rb", Y2="0,rb")

    def text_style(self, parent, name, font, colour_hex, fmt_words, attributes=None, **rect):
        rect = {**dict(X1="0", Y1="0", X2="0,rb", Y2="0,rb"), **rect}
        return parent.sub("Text", Name=name, Font=font, Color=colour(colour_hex), BgColor=colour(self.st.field_bg),
                          BgMode="TRANSPARENT", Format=fmt_words, Attributes=attributes, **rect)

    # -- control faces ---------------------------------------------------------------------------
    def button_groups(self):
        st, r = self.st, self.root
        src = self.bitmap("button", lambda k: S.button_sheet(st, k))
        w, h, cx, cy = S.BUTTON["w"], S.BUTTON["h"], S.BUTTON["cx"], S.BUTTON["cy"]
        for i, (name, attrs) in enumerate([("ButtonFace", None), ("ButtonHover", "Hover"),
                                           ("ButtonPushed", "Pushed"), ("ButtonDisabled", "Disabled"),
                                           ("ButtonFocus", "Focused")]):
            nine_slice(r, src, 0, i * h, w, h, cx, cy, cx, cy, attributes=attrs, name=name)
        nine_slice(r, src, 0, 2 * h, w, h, cx, cy, cx, cy, attributes="Checked", name="ButtonChecked")
        self.text_style(r, "ButtonText", "TextBold", st.button_text, fmt(DT_CENTER, DT_VCENTER, DT_SINGLELINE, "DT_END_ELLIPSIS"),
                        X1="6", Y1="0", X2="6,rb", Y2="2,rb")
        self.text_style(r, "ButtonTextDisabled", "TextBold", st.button_text_disabled,
                        fmt(DT_CENTER, DT_VCENTER, DT_SINGLELINE, "DT_END_ELLIPSIS"), attributes="Disabled",
                        X1="6", Y1="0", X2="6,rb", Y2="2,rb")
        # the clock of the in-game caption band: an inset display rather than a raised button
        esrc = self.bitmap("edit", lambda k: S.edit_sheet(st, k))
        ew, eh, ec = S.EDIT["w"], S.EDIT["h"], S.EDIT["c"]
        nine_slice(r, esrc, 0, 0, ew, eh, ec, ec, ec, ec, name="FieldFace")
        nine_slice(r, esrc, 0, eh, ew, eh, ec, ec, ec, ec, attributes="Focused", name="FieldFocus")
        nine_slice(r, esrc, 0, eh, ew, eh, ec, ec, ec, ec, attributes="Hover", name="FieldHover")
        self.text_style(r, "ClockText", "Clock", st.extra.get("clock", st.accent_light), fmt(DT_CENTER, DT_VCENTER, DT_SINGLELINE))

    def button_object(self, id1=0, id2=0, rect=None, extra=()):
        rect = rect or dict(X1="0", Y1="0", X2="0,rb", Y2="0,rb")
        o = self.root.sub("Object", Name="Button", ID1=id1 or None, ID2=id2 or None, Font="TextBold", **rect)
        for g in ("ButtonFace", "ButtonHover", "ButtonChecked", "ButtonPushed", "ButtonDisabled", *extra, "ButtonFocus"):
            o.sub("Group", Name=g)
        o.sub("Text", Name="ButtonText")
        o.sub("Text", Name="ButtonTextDisabled")
        return o

    def caption_buttons(self):
        st, r = self.st, self.root
        src = self.bitmap("capbuttons", lambda k: S.capbtn_sheet(st, k))
        n = S.CAPBTN
        for row, glyph in enumerate(["Minimize", "Close", "Zoom"]):
            g = r.sub("Group", Name=f"Cap{glyph}", X1="0", Y1="0", X2="0,rb", Y2="0,rb")
            for col, attrs in enumerate([None, "Hover", "Pushed"]):
                g.sub("Bitmap", Src=src, SrcX=col * n, SrcY=row * n, SrcWidth=n, SrcHeight=n, Attributes=attrs,
                      HPosition="Centered", VPosition="Centered", X1="0", Y1="0", X2="0,rb", Y2="0,rb")

    def cap_button(self, id1, id2, glyph, x_from_right, top):
        n = S.CAPBTN
        o = self.root.sub("Object", Name="Button", ID1=id1, ID2=id2, Region="CapButtonShape",
                          X1=f"{x_from_right + n},rb", Y1=str(top), X2=f"{x_from_right},rb", Y2=str(top + n))
        o.sub("Group", Name=f"Cap{glyph}")

    def box_objects(self):
        st, r = self.st, self.root
        for kind, radio in (("CheckBox", False), ("Radio", True)):
            src = self.bitmap(kind.lower(), lambda k: S.box_sheet(st, radio, k))
            n = S.BOX
            o = r.sub("Object", Name=kind, Font="Text", X1="0", Y1="0", X2="0,rb", Y2="0,rb")
            cells = [None, "Hover", "Pushed", "Disabled", "Checked", "Checked Disabled", "Focused"]
            for i, attrs in enumerate(cells):
                o.sub("Bitmap", Src=src, SrcX=i * n, SrcY=0, SrcWidth=n, SrcHeight=n, Attributes=attrs,
                      VPosition="Centered", X1="1", Y1="0", X2=str(n + 1), Y2="0,rb")
            self.text_style(o, None, "Text", st.text, fmt(DT_VCENTER, DT_SINGLELINE, "DT_END_ELLIPSIS"),
                            X1=str(n + 8), Y1="0", X2="0,rb", Y2="0,rb")
            self.text_style(o, None, "Text", st.button_text_disabled, fmt(DT_VCENTER, DT_SINGLELINE, "DT_END_ELLIPSIS"),
                            attributes="Disabled", X1=str(n + 8), Y1="0", X2="0,rb", Y2="0,rb")

    def static_objects(self):
        st, r = self.st, self.root
        o = r.sub("Object", Name="Static", Font="Text", X1="0", Y1="0", X2="0,rb", Y2="0,rb")
        self.text_style(o, "StaticText", "Text", st.text, "DT_WORDBREAK DT_NOPREFIX")
        self.text_style(o, None, "Text", st.button_text_disabled, "DT_WORDBREAK DT_NOPREFIX", attributes="Disabled")

    def edit_object(self):
        st, r = self.st, self.root
        ew, eh, ec = S.EDIT["w"], S.EDIT["h"], S.EDIT["c"]
        o = r.sub("Object", Name="Edit", Font="Text", X1="0", Y1="0", X2="0,rb", Y2="0,rb")
        o.sub("Group", Name="FieldFace")
        o.sub("Group", Name="FieldFocus")
        # the field draws its own text inside this area; the skin only gives it its colours
        o.sub("Client", Attributes="Client", X1="8", Y1="5", X2="8,rb", Y2="5,rb")
        o.sub("Text", Name="EditColours", Attributes="EditColours", Font="Text", Color=colour(st.text),
              BgColor=colour(st.field_bg), X1="0", Y1="0", X2="0,rb", Y2="0,rb")

    def slider_object(self):
        st, r = self.st, self.root
        src = self.bitmap("slider", lambda k: S.slider_sheet(st, k))
        cw, ch, cc = S.CHANNEL["w"], S.CHANNEL["h"], S.CHANNEL["c"]
        tw, th = S.THUMB["w"], S.THUMB["h"]
        o = r.sub("Object", Name="TrackBar", X1="0", Y1="0", X2="0,rb", Y2="0,rb")
        three_slice_h(o, src, 0, 0, cw, ch, cc, cc, x1="4", x2="4,rb")
        t = o.sub("Group", Name="SliderThumb", Attributes="Thumb", X1="0", Y1="0", X2="0,rb", Y2="0,rb")
        t.sub("Bitmap", Src=src, SrcX=0, SrcY=ch, SrcWidth=tw, SrcHeight=th, HPosition="Centered",
              VPosition="Centered", X1="0", Y1="0", X2="0,rb", Y2="0,rb")
        t.sub("Bitmap", Src=src, SrcX=tw, SrcY=ch, SrcWidth=tw, SrcHeight=th, Attributes="Pushed",
              HPosition="Centered", VPosition="Centered", X1="0", Y1="0", X2="0,rb", Y2="0,rb")

    def progress_object(self, id1=0, id2=0):
        st, r = self.st, self.root
        if id1 == 0:
            self.progress_src = self.bitmap("progress", lambda k: S.progress_sheet(st, k))
        src = self.progress_src
        w, h, c = S.PROGRESS["w"], S.PROGRESS["h"], S.PROGRESS["c"]
        o = r.sub("Object", Name="ProgressBar", ID1=id1 or None, ID2=id2 or None, X1="0", Y1="0", X2="0,rb", Y2="0,rb")
        if id1 == 0:
            nine_slice(o, src, 0, 0, w, h, c, c, c, c, name="ProgressTrough")
            nine_slice(o, src, 0, h, w, h, c, c, c, c, attributes="Meter", name="ProgressMeter")
        else:
            o.sub("Group", Name="ProgressTrough")
            o.sub("Group", Name="ProgressMeter")

    # -- windows ---------------------------------------------------------------------------------
    def frames(self):
        st, r = self.st, self.root
        D = S.DIALOG
        src = self.bitmap("dialog", lambda k: S.dialog_sheet(st, k))
        nine_slice(r, src, 0, 0, D["w"], D["h"], D["left"], D["top"], D["right"], D["bottom"],
                   attributes="NonClient", name="DialogFrame")
        cap = D["caption"]
        # The title has the caption from its left inset to the ornament at the right end.
        orn_right = 20
        orn_left = orn_right + S.ORNAMENT["w"]
        self.text_style(r, "DialogTitle", "Title", st.text, fmt(DT_VCENTER, DT_SINGLELINE, "DT_END_ELLIPSIS"),
                        attributes="NonClient", X1=str(TITLE_LEFT), Y1="0", X2=f"{orn_left + TITLE_GAP},rb", Y2=str(cap))
        self.title_room = TITLE_LEFT + orn_left + TITLE_GAP
        osrc = self.bitmap("ornament", lambda k: S.ornament_sheet(st, k))
        r.sub("Bitmap", Name="DialogOrnament", Attributes="NonClient", Src=osrc, HPosition="Centered",
              VPosition="Centered", X1=f"{orn_left},rb", Y1="0", X2=f"{orn_right},rb", Y2=str(cap))
        r.sub("Caption", Name="DialogCaption", HitResult="HTCAPTION", X1="0", Y1="0", X2="0,rb", Y2=str(cap))
        # The client area lies on the frame's own panel, which shows through it: a square
        # picture of its own would show its corners inside the rounded frame. Its margins are
        # even: as far below the caption's divider as above the frame's bottom rim.
        c = r.sub("Client", Name="DialogClient", Attributes="Client", X1="16", Y1=str(cap + 14), X2="16,rb", Y2="14,rb")
        c.sub("Surface", Name="DialogSurface", X1="0", Y1="0", X2="0,rb", Y2="0,rb")

        P = S.PANEL
        psrc = self.bitmap("panel", lambda k: S.plain_panel_sheet(st, k))
        nine_slice(r, psrc, 0, 0, P["w"], P["h"], P["c"], P["c"], P["c"], P["c"], attributes="NonClient", name="PanelFrame")
        c = r.sub("Client", Name="PanelClient", Attributes="Client", X1="14", Y1="14", X2="14,rb", Y2="14,rb")
        c.sub("Surface", Name="PanelSurface", X1="0", Y1="0", X2="0,rb", Y2="0,rb")

        B = S.BAND
        bsrc = self.bitmap("band", lambda k: S.band_sheet(st, k))
        nine_slice(r, bsrc, 0, 0, B["w"], B["h"], B["left"], B["top"], B["right"], B["bottom"],
                   attributes="NonClient", name="BandFrame")
        c = r.sub("Client", Name="BandClient", Attributes="Client", X1="0", Y1="0", X2="0,rb", Y2=f"{BAND_CLIENT_BOTTOM},rb")
        c.sub("Bitmap", Src=bsrc, SrcX=B["w"] // 2, SrcY=B["h"] // 2 - 2, SrcWidth=4, SrcHeight=4, HPosition="Stretched",
              VPosition="Stretched", X1="0", Y1="0", X2="0,rb", Y2="0,rb")
        # the band's title: the game's emblem and name at its left end, before the tabs
        lsrc = self.bitmap("logo", lambda k: S.logo_sheet(st, k))
        c.sub("Bitmap", Name="BandLogo", Src=lsrc, VPosition="Centered", X1="16", Y1="0",
              X2=str(16 + S.LOGO["w"]), Y2="0,rb")

    def title_min_width(self, titles):
        """The narrowest dialog whose caption shows every one of its titles whole."""
        fnt = A.font(A.font_path(self.st.font_family, self.st.font_bold), round(TITLE_POINTS * PIXELS_PER_POINT))
        widest = max(fnt.getlength(t) for t in titles)
        # a few pixels spare: the game measures with its own text engine
        return int(widest + self.title_room + 6 + 0.999)

    def dialog(self, id1=0, kind="dialog", min_size=None):
        frame, client = {"dialog": ("DialogFrame", "DialogClient"), "panel": ("PanelFrame", "PanelClient"),
                         "band": ("BandFrame", "BandClient")}[kind]
        extra = {}
        min_w, min_h = min_size or (0, 0)
        if kind == "dialog":
            titles = T.TITLES.get(id1) or [t for group in T.TITLES.values() for t in group]
            min_w = max(min_w, self.title_min_width(titles))
        if min_w or min_h:
            extra = dict(MinWidth=min_w or None, MinHeight=min_h or None)
        o = self.root.sub("Object", Name="Dialog", ID1=id1 or None, Font="Text", Region="DialogShape" if kind != "band" else None,
                          HitResult="HTCAPTION" if kind == "panel" else None,
                          X1="0", Y1="0", X2="0,rb", Y2="0,rb", **extra)
        o.sub("Group", Name=frame)
        if kind == "dialog":
            o.sub("Bitmap", Name="DialogOrnament")
            o.sub("Text", Name="DialogTitle")
            o.sub("Caption", Name="DialogCaption")
        o.sub("Client", Name=client)
        return o

    def tray_objects(self):
        st, r = self.st, self.root
        src = self.bitmap("tray", lambda k: S.tray_sheet(st, k))
        n = S.TRAY
        for id2, col in ((T.TRAY_EMPTY, 0), (T.TRAY_FULL, 1)):
            o = r.sub("Object", Name="Button", ID1=T.TRAY, ID2=id2, Region="TrayHandleShape", X1="0", Y1="0", X2="0,rb", Y2="0,rb")
            o.sub("Bitmap", Src=src, SrcX=col * n, SrcY=0, SrcWidth=n, SrcHeight=n, HPosition="Stretched",
                  VPosition="Stretched", X1="0", Y1="0", X2="0,rb", Y2="0,rb")
        o = r.sub("Object", Name="Dialog", ID1=T.TRAY, X1="0", Y1="0", X2="0,rb", Y2="0,rb")
        nine_slice(o, src, 0, n, n * 2, 64, 18, 18, 18, 18, name="TrayFrame")
        o.sub("Client", Attributes="Client", X1="6", Y1="6", X2="6,rb", Y2="6,rb")

    def build(self, texture_names):
        st = self.st
        self.fonts()
        self.regions()
        self.icons()
        self.textures(texture_names)
        # the colour the screens show this skin's picture buttons on (their GIFs are matted on it)
        self.root.sub("Text", Name="ButtonMatte", BgColor=colour(st.button_matte), BgMode="TRANSPARENT")
        self.button_groups()
        self.caption_buttons()
        self.frames()
        # default looks of every control kind
        self.button_object()
        self.box_objects()
        self.static_objects()
        self.edit_object()
        self.slider_object()
        self.progress_object()
        self.dialog()
        # the shell's dialogs
        self.dialog(T.MESSAGE_BOX, min_size=(320, 150))
        o = self.root.sub("Object", Name="Static", ID1=T.MESSAGE_BOX, ID2=1160, Font="Text", X1="0", Y1="0", X2="0,rb", Y2="0,rb")
        self.text_style(o, None, "Text", st.text, "DT_WORDBREAK DT_NOPREFIX")
        self.dialog(T.LOADING, kind="panel")
        o = self.root.sub("Object", Name="Static", ID1=T.LOADING, ID2=1165, Font="TextBold", X1="0", Y1="0", X2="0,rb", Y2="0,rb")
        self.text_style(o, None, "TextBold", st.text, fmt(DT_CENTER, "DT_WORDBREAK", "DT_NOPREFIX"))
        self.dialog(T.WAIT)
        # the game's panels
        # the round buttons stand on the line of the band's tabs: the middle of its client area
        for template, height in ((T.CAPTION_PANEL, T.CAPTION_PANEL_HEIGHT), (T.TIGHT_CAPTION_PANEL, T.TIGHT_CAPTION_PANEL_HEIGHT)):
            self.dialog(template, kind="band")
            top = (height - BAND_CLIENT_BOTTOM - S.CAPBTN) // 2
            self.cap_button(template, 1089, "Minimize", 52, top)
            self.cap_button(template, 1090, "Close", 16, top)
        o = self.root.sub("Object", Name="Button", ID1=T.TIGHT_CAPTION_PANEL, ID2=1200, Font="Clock",
                          X1="0", Y1="0", X2="0,rb", Y2="0,rb")
        for g in ("FieldFace", "FieldHover", "FieldFocus"):
            o.sub("Group", Name=g)
        o.sub("Text", Name="ClockText")
        self.dialog(T.PLAY_PANEL, kind="panel")
        self.play_panel_tray_button()
        self.dialog(T.GAME_MENU, min_size=(180, 200))
        self.dialog(T.PICTURE, kind="panel", min_size=(80, 60))
        self.cap_button(T.PICTURE, 1149, "Close", 6, 6)
        self.cap_button(T.PICTURE, 1150, "Zoom", 38, 6)
        for t in (T.COMPLETE, T.COLOR, T.PATTERN, T.CREATE_IMAGE, T.CREATE_PARAMETERS, T.PUZZLE_NAME):
            self.dialog(t)
        o = self.root.sub("Object", Name="Static", ID1=T.COMPLETE, ID2=T.COMPLETE_HEADING, Font="Heading",
                          X1="0", Y1="0", X2="0,rb", Y2="0,rb")
        self.text_style(o, None, "Heading", st.accent_light, fmt(DT_CENTER, DT_VCENTER, DT_SINGLELINE))
        self.tray_objects()

    def play_panel_tray_button(self):
        """The "Boards" button glows while pieces wait in the trays (own state word tray_full)."""
        st, r = self.st, self.root
        w, h, cx, cy = S.BUTTON["w"], S.BUTTON["h"], S.BUTTON["cx"], S.BUTTON["cy"]
        src = self.bitmap("button_tray_full", lambda k: S.face(st, w, h, st.button_radius, st.accent_light, st.accent,
                                                              accent_ring=(st.accent_light, 255), k=k))
        o = self.button_object(T.PLAY_PANEL, 1096)
        # the glowing face goes under the pushed and focus looks, above the plain one
        g = Element("Group", Name="TrayFullFace", Attributes="tray_full", X1="0", Y1="0", X2="0,rb", Y2="0,rb")
        nine_slice(g, src, 0, 0, w, h, cx, cy, cx, cy)
        o.children.insert(1, g)
        t = Element("Text", Attributes="tray_full", Font="TextBold", Color=colour(st.text_dark), BgMode="TRANSPARENT",
                    Format=fmt(DT_CENTER, DT_VCENTER, DT_SINGLELINE), X1="6", Y1="0", X2="6,rb", Y2="2,rb")
        o.children.append(t)

    def write(self):
        write_skin(os.path.join(self.skin_dir, self.skn_name), self.root,
                   f"{self.st.title} skin for Velmora. Generated by tools/art; edit the generator, not this file.")
