#pragma once

#include "skin/LDialog.h"
#include "view/model/BoardLook.h"

#include <QImage>
#include <QList>

class CSwatch;
enum class GP_Table;

// The board settings ("Color"): "Sound FX", the colour and pattern of the board ("Primary
// Board") and of the trays ("Pockets"), "Default", "Apply" and "Cancel". The colour buttons and
// swatches open the system's colour dialog, the pattern buttons and swatches the pattern
// choice; the dialog only edits a copy of the look, which the caller stores on "Apply".
class CChooseColorDialog : public CLDialog
{
    Q_OBJECT

public:
    static constexpr int kTemplateId = 1006;
    static constexpr int kSoundFX = 1159;
    static constexpr int kBoardColor = 1060;
    static constexpr int kTrayColor = 1061;
    static constexpr int kBoardColorSwatch = 1054;
    static constexpr int kTrayColorSwatch = 1055;
    static constexpr int kBoardPattern = 1063;
    static constexpr int kTrayPattern = 1064;
    static constexpr int kBoardPatternSwatch = 1057;
    static constexpr int kTrayPatternSwatch = 1058;
    static constexpr int kDefault = 1066;
    static constexpr int kApply = 1;
    static constexpr int kCancel = 2;

    CChooseColorDialog(const GP_BoardLook& look, int skinIndex, const QList<QImage>& textures, QWidget* parent);

    const GP_BoardLook& Look() const { return m_look; }

    // What the buttons do: the system's colour dialog, the pattern choice, the skin's defaults.
    void ChooseColor(GP_Table table);
    void ChoosePattern(GP_Table table);
    void RestoreDefaults();

protected:
    void OnInitDialog() override;

private:
    void BuildRow(int top, const char* label, int colorButton, int colorSwatch, int patternButton, int patternSwatch);
    void ShowLook();
    QImage PatternImage(quint32 pattern) const;

    GP_BoardLook m_look;
    int m_skinIndex;
    QList<QImage> m_textures;
};
