#pragma once

#include <QImage>
#include <QString>

#include <vector>

// One puzzle of a Treasury pack as the screen shows it.
struct GP_TreasuryPuzzle
{
    QString id;
    QString name;
    QImage picture;
    bool isNew = false;
    bool selected = false;
};

// One theme (pack) of the Treasury with its puzzles.
struct GP_TreasuryTheme
{
    QString packId;
    QString title;
    std::vector<GP_TreasuryPuzzle> puzzles;
};

// The Treasury screen's page without its widgets: the themes the content gives it, the theme
// shown, its pages of puzzles and the page text. Without content (the server was never reached)
// the page is empty and says so with message 243.
class CTreasuryScreenModel
{
public:
    // The content changed (the download threads filled or refreshed it); serverReached tells
    // whether it came from the server or nothing could be fetched.
    void SetContent(std::vector<GP_TreasuryTheme> themes, bool serverReached);
    void SetPageSize(int puzzlesPerPage);

    const std::vector<GP_TreasuryTheme>& Themes() const { return m_themes; }
    int Theme() const { return m_theme; }
    // The theme's title, empty without themes.
    QString ThemeTitle() const;
    bool StepTheme(int direction);

    int Page() const { return m_page; }
    int PageCount() const;
    bool StepPage(int direction);
    // "Page %d / %d", from 1.
    QString PageText() const;
    // The puzzles of the page shown.
    std::vector<GP_TreasuryPuzzle> PagePuzzles() const;
    // What the empty page says: message 243 when the server could not be reached.
    QString EmptyPageText() const;

private:
    std::vector<GP_TreasuryTheme> m_themes;
    bool m_serverReached = false;
    int m_theme = 0;
    int m_page = 0;
    int m_pageSize = 1;
};
