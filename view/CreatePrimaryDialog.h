#pragma once

#include "engine/GP_Path.h"
#include "skin/LDialog.h"

#include <functional>

class CCreationSession;
class CSkinableSliderCtrl;

// Creation step 2, "Cutting": piece size, curvature, one of the sixteen outline patterns and
// rotation, with "Make" and "Back". Forwards every change to the creation session.
class CCreatePrimaryDialog : public CLDialog
{
public:
    static constexpr int kTemplateId = 1009;
    static constexpr int kPieceSize = 1032;
    static constexpr int kPieceSmaller = 1034;
    static constexpr int kPieceLarger = 1035;
    static constexpr int kCurvature = 1039;
    static constexpr int kCurvatureLess = 1040;
    static constexpr int kCurvatureMore = 1041;
    static constexpr int kRotation = 1029;
    static constexpr int kMake = 1000;
    static constexpr int kBack = 1030;
    static constexpr int kPiecesText = 1043;
    // The pattern buttons, left column then right column: pattern index 0 to 15.
    static constexpr int kPatternButtons[kPatternCount] = {1017, 1018, 1019, 1020, 1021, 1023, 1024, 1025,
                                                           1026, 1027, 1031, 1033, 1036, 1037, 1038, 1042};

    CCreatePrimaryDialog(CCreationSession& session, std::function<void()> make, std::function<void()> back,
                         QWidget* parent);

    // The controls show the session's values and ranges; the pieces text its count.
    void Refresh();
    bool RotationChecked() const;

    // A panel of the creation screen stays up on Escape.
    void reject() override {}

protected:
    void OnInitDialog() override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void ConnectControls();
    void PlaceControls();

    CCreationSession& m_session;
    std::function<void()> m_make;
    std::function<void()> m_back;
};
