#include "view/model/CompletionText.h"

#include "engine/GP_Puzzle.h"
#include "resources/StringTable.h"

#include <QDate>
#include <QRegularExpression>
#include <QTime>

namespace {
constexpr int kSolvedMessage = 212;
const QLatin1String kPlacement("%s %s\n%s\n%s %d");
constexpr int kHourSeconds = 3600;
constexpr int kDayHours = 24;

// The locale's long time format without its time zone, which a solving time does not have.
QString TimeOfDayFormat(const QLocale& locale)
{
    QString format = locale.timeFormat(QLocale::LongFormat);
    format.remove(QRegularExpression(QStringLiteral("\\s*t+\\s*")));
    return format.trimmed();
}
} // namespace

QString GP_FillFormat(const QString& format, const QStringList& arguments)
{
    QString filled;
    qsizetype next = 0;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format[i];
        if (c != QLatin1Char('%') || i + 1 >= format.size()) {
            filled += c;
            continue;
        }
        const QChar kind = format[i + 1];
        if (kind == QLatin1Char('%')) {
            filled += c;
            ++i;
        } else if (kind == QLatin1Char('s') || kind == QLatin1Char('d')) {
            filled += next < arguments.size() ? arguments[next] : QString();
            ++next;
            ++i;
        } else {
            filled += c;
        }
    }
    return filled;
}

QString GP_SolvingTimeText(int seconds, const QLocale& locale)
{
    const int total = seconds > 0 ? seconds : 0;
    const int hours = total / kHourSeconds;
    if (hours >= kDayHours) {
        return QStringLiteral("%1:%2:%3")
            .arg(hours)
            .arg(total / 60 % 60, 2, 10, QLatin1Char('0'))
            .arg(total % 60, 2, 10, QLatin1Char('0'));
    }
    return locale.toString(QTime(hours, total / 60 % 60, total % 60), TimeOfDayFormat(locale));
}

QString GP_CompletionText(const CGP_Puzzle& puzzle, const QLocale& locale)
{
    const QString about = GP_FillFormat(GP_LoadString(kSolvedMessage),
                                        {puzzle.m_strTitle, puzzle.m_strCreator,
                                         QString::number(static_cast<int>(puzzle.m_nColumns * puzzle.m_fPieceSize)),
                                         QString::number(static_cast<int>(puzzle.m_nRows * puzzle.m_fPieceSize)),
                                         QString::number(puzzle.m_nColumns * puzzle.m_nRows)});
    const QDate solved(puzzle.m_nSolveYear, puzzle.m_nSolveMonth, puzzle.m_nSolveDay);
    return GP_FillFormat(kPlacement, {about, GP_SolvingTimeText(puzzle.m_nSolvingTime, locale),
                                      locale.toString(solved, QLocale::ShortFormat), GP_LoadString(IDS_HINTS_USED),
                                      QString::number(puzzle.m_nHintsUsed)});
}
