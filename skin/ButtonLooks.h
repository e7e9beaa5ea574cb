#pragma once

#include <QColor>
#include <QString>

namespace WINSKIN {
class Skin;
}

// The picture-button looks that suit a skin. Each shipped skin keeps a set of its own beside its
// file, in its colours ("SKINS/Flower.skn" has "SKINS/Flower/buttons/49302_hover.gif", and
// "49302_hover@2x.gif" for screens of twice the density), with the colour its screens show them
// on, which their edges are blended with: the skin's "ButtonMatte" Text item gives it as its
// BgColor. A look a skin lacks comes from the set compiled into the game (":/gif/49302/hover"),
// composed on night blue.
class CButtonLooks
{
public:
    // The compiled-in set.
    CButtonLooks();
    // The set of a skin (none: the compiled-in set).
    static CButtonLooks ForSkin(const WINSKIN::Skin* skin);
    // The folder of a skin's looks: "<skin file's folder>/<skin file's name>/buttons".
    static QString FolderOf(const QString& skinFile);

    // The file of a look ("normal", "hover", "pressed", "disabled") for a screen of that pixel
    // ratio: the skin's double-size look on a dense screen when it has one, else its own-size
    // look, else the compiled-in one.
    QString LookPath(int buttonId, const QString& look, qreal devicePixelRatio = 1.0) const;
    const QString& Folder() const { return m_folder; }
    QColor Matte() const { return m_matte; }

private:
    QString m_folder;
    QColor m_matte;
};
