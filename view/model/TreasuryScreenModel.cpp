#include "view/model/TreasuryScreenModel.h"

#include "resources/StringTable.h"
#include "view/model/PrintfText.h"

#include <algorithm>

void CTreasuryScreenModel::SetContent(std::vector<GP_TreasuryTheme> themes, bool serverReached)
{
    m_themes = std::move(themes);
    m_serverReached = serverReached;
    m_theme = std::clamp(m_theme, 0, std::max(0, int(m_themes.size()) - 1));
    m_page = std::clamp(m_page, 0, PageCount() - 1);
}

void CTreasuryScreenModel::SetPageSize(int puzzlesPerPage)
{
    m_pageSize = std::max(1, puzzlesPerPage);
    m_page = std::clamp(m_page, 0, PageCount() - 1);
}

QString CTreasuryScreenModel::ThemeTitle() const
{
    return m_themes.empty() ? QString() : m_themes[size_t(m_theme)].title;
}

bool CTreasuryScreenModel::StepTheme(int direction)
{
    const int theme = std::clamp(m_theme + direction, 0, std::max(0, int(m_themes.size()) - 1));
    if (theme == m_theme)
        return false;
    m_theme = theme;
    m_page = 0;
    return true;
}

int CTreasuryScreenModel::PageCount() const
{
    if (m_themes.empty())
        return 1;
    const int puzzles = int(m_themes[size_t(m_theme)].puzzles.size());
    return std::max(1, (puzzles + m_pageSize - 1) / m_pageSize);
}

bool CTreasuryScreenModel::StepPage(int direction)
{
    const int page = std::clamp(m_page + direction, 0, PageCount() - 1);
    if (page == m_page)
        return false;
    m_page = page;
    return true;
}

QString CTreasuryScreenModel::PageText() const
{
    return GP_PrintfText(QStringLiteral("Page %d / %d"), {m_page + 1, PageCount()});
}

std::vector<GP_TreasuryPuzzle> CTreasuryScreenModel::PagePuzzles() const
{
    if (m_themes.empty())
        return {};
    const std::vector<GP_TreasuryPuzzle>& puzzles = m_themes[size_t(m_theme)].puzzles;
    const size_t first = std::min(puzzles.size(), size_t(m_page) * size_t(m_pageSize));
    const size_t last = std::min(puzzles.size(), first + size_t(m_pageSize));
    return {puzzles.begin() + qsizetype(first), puzzles.begin() + qsizetype(last)};
}

QString CTreasuryScreenModel::EmptyPageText() const
{
    if (!PagePuzzles().empty() || m_serverReached)
        return {};
    return GP_LoadString(IDS_CONNECTION_ERROR);
}
