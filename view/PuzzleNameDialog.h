#pragma once

#include "skin/LDialog.h"

// "Puzzle Name": the name and author of a puzzle being made, and whether to send it to a friend.
// OK answers IDOK, Cancel (and Escape) IDCANCEL; the caller checks the input.
class CPuzzleNameDialog : public CLDialog
{
public:
    static constexpr int kTemplateId = 1010;
    static constexpr int kName = 1083;
    static constexpr int kAuthor = 1084;
    static constexpr int kSendToFriend = 1085;
    static constexpr int kOk = 1;
    static constexpr int kCancel = 2;

    // The send box shows only where sending exists.
    CPuzzleNameDialog(const QString& name, const QString& author, bool sendOffered, QWidget* parent);

    QString Name() const;
    QString Author() const;
    bool SendToFriend() const;

protected:
    void OnInitDialog() override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void PlaceControls();

    QString m_name;
    QString m_author;
    bool m_sendOffered;
};
