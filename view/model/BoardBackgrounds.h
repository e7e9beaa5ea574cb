#pragma once

#include <QColor>
#include <QImage>
#include <QList>

class CGP_SettingsStore;

// The pictures the field is painted with: one tile for the board (table 0) and one for the
// trays (table 1), each made from the current skin's colour and one of its "Textures" pictures
// and repeated across its surface.
//
// Tint rule: the texture gives only light and shade, the colour gives the hue. Each texel's
// grey level L (0..255) moves the colour C, channel by channel: mid-grey (L = 128) gives C
// itself, darker texels scale C down towards black (C * L / 128), lighter ones move it up
// towards white (C + (255 - C) * (L - 128) / 127). A texture drawn around mid-grey thus keeps
// the chosen colour as the board's overall tone whatever its own colours are.
class CBoardBackgrounds
{
public:
    // Without a texture a surface is a plain tile of its colour this size.
    static constexpr int kPlainTileSize = 64;

    // The tile for one surface. The colour is a colour reference (red in the low byte).
    static QImage Build(quint32 colorRef, const QImage& texture);
    // One channel of the tint rule.
    static int Tint(int channel, int grey);
    static QColor ColorOf(quint32 colorRef);
    // The pattern's picture, or a null picture (logged) when the skin has no such pattern.
    static QImage TextureAt(const QList<QImage>& textures, quint32 pattern);

    // Both tiles from the current skin's colours and patterns.
    void Rebuild(const CGP_SettingsStore& settings, const QList<QImage>& textures);
    void Rebuild(quint32 boardColor, const QImage& boardTexture, quint32 trayColor, const QImage& trayTexture);

    const QImage& Board() const { return m_board; }
    const QImage& Trays() const { return m_trays; }

private:
    QImage m_board;
    QImage m_trays;
};
