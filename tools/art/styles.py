"""The three skins' palettes, shapes and fonts. Every colour the generators use comes from here."""

from dataclasses import dataclass, field


@dataclass(frozen=True)
class Style:
    key: str                  # short name used in file names
    title: str
    font_family: str          # artlib.FONT_DIRS key
    font_regular: str         # file names inside the family folder
    font_bold: str
    font_face: str            # the typeface name the skin asks for
    font_licence_doc: str     # Debian doc folder holding the font's copyright file
    # panels
    panel_top: str
    panel_bottom: str
    panel_edge: str           # outer outline
    panel_bevel: str          # inner light line
    caption_top: str
    caption_bottom: str
    accent: str               # gold / rose / crimson highlight
    accent_light: str
    text: str
    text_dim: str
    text_dark: str            # text on light faces
    # buttons
    button_top: str
    button_bottom: str
    button_hover_top: str
    button_hover_bottom: str
    button_pushed_top: str
    button_pushed_bottom: str
    button_disabled_top: str
    button_disabled_bottom: str
    button_text: str
    button_text_disabled: str
    # fields
    field_bg: str
    field_edge: str
    meter_top: str
    meter_bottom: str
    screen_top: str
    screen_bottom: str
    # the colour the screens show the picture buttons on; their GIF edges are blended with it
    button_matte: str = "#111a2e"
    radius: int = 10          # panel corner radius
    button_radius: int = 8
    chamfer: int = 0          # cut corners instead of round ones (Gothic)
    ornament: str = "none"    # decoration painted on panel captions
    extra: dict = field(default_factory=dict)


NOX = Style(
    key="nox", title="Nox",
    font_family="lato", font_regular="Lato-Regular.ttf", font_bold="Lato-Bold.ttf", font_face="Lato",
    font_licence_doc="fonts-lato",
    panel_top="#243352", panel_bottom="#17213a", panel_edge="#070b16", panel_bevel="#4a5d86",
    caption_top="#2e4168", caption_bottom="#1f2d4c",
    accent="#d9a441", accent_light="#f6d489",
    text="#f4ecd8", text_dim="#a3aec6", text_dark="#1b2238",
    button_top="#41557f", button_bottom="#27375a",
    button_hover_top="#526a9a", button_hover_bottom="#31456f",
    button_pushed_top="#1b2640", button_pushed_bottom="#2a3a5e",
    button_disabled_top="#343c4f", button_disabled_bottom="#2a3040",
    button_text="#f7efdc", button_text_disabled="#7a8296",
    field_bg="#0d1425", field_edge="#3b4c70",
    meter_top="#f3c96b", meter_bottom="#c88a24",
    screen_top="#1a2745", screen_bottom="#0a0f1e",
    radius=12, button_radius=8, ornament="stars",
)

FLOWER = Style(
    key="flower", title="Flower",
    font_family="comfortaa", font_regular="Comfortaa-Regular.ttf", font_bold="Comfortaa-Bold.ttf",
    font_face="Comfortaa", font_licence_doc="fonts-comfortaa",
    panel_top="#fff8f4", panel_bottom="#f6e6ea", panel_edge="#c98ba0", panel_bevel="#ffffff",
    caption_top="#f7c6d4", caption_bottom="#ec9fb6",
    accent="#d2577c", accent_light="#f7b7c9",
    text="#5a2e3f", text_dim="#9b7482", text_dark="#5a2e3f",
    button_top="#fdf3f6", button_bottom="#f2cfda",
    button_hover_top="#fff9fb", button_hover_bottom="#f6dbe4",
    button_pushed_top="#e9b5c5", button_pushed_bottom="#f4d2dd",
    button_disabled_top="#f1ecee", button_disabled_bottom="#e4dcdf",
    button_text="#6b2f45", button_text_disabled="#b8a9ae",
    field_bg="#fffdfd", field_edge="#d9a3b5",
    meter_top="#9ed48b", meter_bottom="#5da552",
    screen_top="#fbe9ef", screen_bottom="#eecbd8",
    button_matte="#f4dae3",
    radius=16, button_radius=13, ornament="petals", extra={"clock": "#c0406a", "mark": "#c0406a"},
)

GOTHIC = Style(
    key="gothic", title="Gothic",
    font_family="libertine", font_regular="LinLibertine_R.otf", font_bold="LinLibertine_RB.otf",
    font_face="Linux Libertine O", font_licence_doc="fonts-linuxlibertine",
    panel_top="#2b2226", panel_bottom="#171214", panel_edge="#000000", panel_bevel="#5a4a48",
    caption_top="#4a1a22", caption_bottom="#2c0d13",
    accent="#b3262f", accent_light="#d9b26a",
    text="#e8dcc4", text_dim="#a39580", text_dark="#1a1012",
    button_top="#4b3b3a", button_bottom="#2a2020",
    button_hover_top="#5f2830", button_hover_bottom="#3a1419",
    button_pushed_top="#1a1113", button_pushed_bottom="#2e2224",
    button_disabled_top="#34302f", button_disabled_bottom="#272423",
    button_text="#eadfc6", button_text_disabled="#766c63",
    field_bg="#0e0b0c", field_edge="#6b5a4f",
    meter_top="#c9383f", meter_bottom="#7c1219",
    screen_top="#241a1d", screen_bottom="#0a0708",
    button_matte="#171012",
    radius=4, button_radius=3, chamfer=9, ornament="thorns",
)

STYLES = [NOX, FLOWER, GOTHIC]
