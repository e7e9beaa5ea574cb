#pragma once

#include "skin/LDialog.h"

// The completion dialog ("Puzzle is solved"): the heading "Puzzle is solved!", what was solved
// and how, and "Send puzzle to a friend", offered only where the game can send puzzles.
class CPuzzleCompleteDialog : public CLDialog
{
    Q_OBJECT

public:
    static constexpr int kTemplateId = 1005;
    static constexpr int kHeading = 1170;
    static constexpr int kText = 1171;
    static constexpr int kSendToFriend = 1085;
    static constexpr int kOk = 1;

    CPuzzleCompleteDialog(const QString& text, bool canSend, QWidget* parent);

    // Whether the player ticked "Send puzzle to a friend".
    bool SendToFriend() const;

protected:
    void OnInitDialog() override;

private:
    QString m_text;
    bool m_bCanSend;
};
