#pragma once

#include "skin/LDialog.h"

#include <QImage>
#include <QList>

// The pattern choice of the board settings ("Pattern"): "Pattern 1" to "Pattern 15", each with
// a sample of the skin's picture, the current one chosen.
class CTextureDialog : public CLDialog
{
    Q_OBJECT

public:
    static constexpr int kTemplateId = 1007;
    static constexpr int kPatterns = 15;
    // "Pattern 1" is control kFirstChoice, "Pattern 15" kFirstChoice + 14.
    static constexpr int kFirstChoice = 1301;
    static constexpr int kOk = 1;
    static constexpr int kCancel = 2;

    // pattern: the index of the chosen pattern (0 is "Pattern 1").
    CTextureDialog(int pattern, const QList<QImage>& textures, QWidget* parent);

    int Pattern() const;
    void SetPattern(int pattern);

protected:
    void OnInitDialog() override;

private:
    int m_pattern;
    QList<QImage> m_textures;
};
