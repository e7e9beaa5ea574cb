"""Dialog template numbers the skin gives Objects of their own. The shell's dialogs carry the
numbers the game has always used; the panels' numbers are the ones the game's dialog templates
take (see resources/README.md), and the trays' windows use a number of their own."""

MESSAGE_BOX = 189
LOADING = 138
WAIT = 250

CAPTION_PANEL = 1000        # CCaptionPanel, above the library screens
TIGHT_CAPTION_PANEL = 1001  # CTightCaptionPanel, the band across the top of the field
PLAY_PANEL = 1002           # CPlayPanel
GAME_MENU = 1003            # CPlayDialog, "Game Menu"
PICTURE = 1004              # CThumbWnd, "Picture"
COMPLETE = 1005             # CPuzzleCompleteDialog, "Puzzle is solved"
COLOR = 1006                # CChooseColorDialog, "Color"
PATTERN = 1007              # CTextureDialog, "Pattern"
CREATE_IMAGE = 1008         # CCreateImageDialog, "Image"
CREATE_PARAMETERS = 1009    # CCreatePrimaryDialog, "Cutting"
PUZZLE_NAME = 1010          # the name dialog, "Puzzle Name"
CAMPAIGN_PANEL = 1011       # CCampaignPanel

COMPLETE_HEADING = 1170     # the heading static "Puzzle is solved!" of the completion dialog

TRAY = 2000                 # the trays' skinned windows: handle buttons and the open-tray frame
TRAY_EMPTY = 1
TRAY_FULL = 2

# The heights of the two caption bands (CCaptionPanel::kHeight, CTightCaptionPanel::kHeight).
CAPTION_PANEL_HEIGHT = 52
TIGHT_CAPTION_PANEL_HEIGHT = 50

# The titles the dialogs show in their captions; each skin makes its dialogs wide enough for
# them. A dialog without its own Object wears the default one, which fits the longest.
TITLES = {
    MESSAGE_BOX: ["Velmora"],
    WAIT: ["Creating..."],
    GAME_MENU: ["Game Menu"],
    COMPLETE: ["Puzzle is solved"],
    COLOR: ["Color"],
    PATTERN: ["Pattern"],
    CREATE_IMAGE: ["Image"],
    CREATE_PARAMETERS: ["Cutting"],
    PUZZLE_NAME: ["Puzzle Name"],
}
