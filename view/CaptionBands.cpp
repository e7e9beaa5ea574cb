#include "view/CaptionBands.h"

#include "shell/dialogs/CaptionPanel.h"
#include "shell/dialogs/TightCaptionPanel.h"

#include <QWidget>

CCaptionBands::CCaptionBands(QWidget& view, CMainViewCommands& commands)
    : m_view(view)
    , m_commands(commands)
{
}

CCaptionBands::~CCaptionBands() = default;

void CCaptionBands::Build()
{
    m_pLibrary = std::make_unique<CCaptionPanel>(&m_commands, &m_view);
}

void CCaptionBands::ShowFor(GameMode mode)
{
    const bool play = mode == GameMode::Play;
    const bool library = mode == GameMode::Startup || mode == GameMode::MyPuzzles || mode == GameMode::Calendar
        || mode == GameMode::Treasury;
    if (play && !m_pGame)
        m_pGame = std::make_unique<CTightCaptionPanel>(&m_commands, &m_view);
    Place();
    const bool shown = m_view.isVisible();
    if (m_pLibrary) {
        m_pLibrary->SetCurrentTab(mode == GameMode::Calendar   ? CCaptionPanel::kCalendar
                                  : mode == GameMode::Treasury  ? CCaptionPanel::kTreasury
                                  : mode == GameMode::MyPuzzles ? CCaptionPanel::kMyPuzzles
                                                                : 0);
        m_pLibrary->setHidden(!(shown && library));
    }
    if (m_pGame)
        m_pGame->setHidden(!(shown && play));
}

void CCaptionBands::Place()
{
    const QPoint top = m_view.mapToGlobal(QPoint(0, 0));
    if (m_pLibrary)
        m_pLibrary->setGeometry(QRect(top, QSize(m_view.width(), CCaptionPanel::kHeight)));
    if (m_pGame)
        m_pGame->setGeometry(QRect(top, QSize(m_view.width(), CTightCaptionPanel::kHeight)));
}
