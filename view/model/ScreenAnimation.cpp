#include "view/model/ScreenAnimation.h"

#include <algorithm>

bool CScreenAnimation::Advance(int elapsedMs)
{
    if (!Running() || elapsedMs <= 0)
        return false;
    m_shownMs = std::min(kFadeMs, m_shownMs + std::min(elapsedMs, kMaxStepMs));
    return true;
}

double CScreenAnimation::Opacity() const
{
    return double(m_shownMs) / kFadeMs;
}
