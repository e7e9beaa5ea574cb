#pragma once

#include "skin/LDialog.h"

#include <functional>

class CCreationSession;
class CSkinableSliderCtrl;

// Creation step 1, "Image": the picture's size, and another picture. Forwards to the creation
// session; the image-size slider acts on every move of its thumb, its arrow keys and its page
// clicks.
class CCreateImageDialog : public CLDialog
{
public:
    static constexpr int kTemplateId = 1008;
    static constexpr int kChangeImage = 1046;
    static constexpr int kImageSize = 1036;
    static constexpr int kSmaller = 1037;
    static constexpr int kLarger = 1038;
    static constexpr int kResetSize = 1045;

    // changeImage runs when "Change Image" is clicked.
    CCreateImageDialog(CCreationSession& session, std::function<void()> changeImage, QWidget* parent);

    // The slider shows the session's range and width.
    void Refresh();
    CSkinableSliderCtrl* ImageSizeSlider() const;

    // A panel of the creation screen stays up on Escape.
    void reject() override {}

protected:
    void OnInitDialog() override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void PlaceControls();

    CCreationSession& m_session;
    std::function<void()> m_changeImage;
};
