#include "view/model/PuzzleLibrary.h"

#include "engine/GP_Folders.h"
#include "engine/GP_PuzzleFile.h"
#include "shell/log/GP_Exeption.h"
#include "shell/log/GP_LogFile.h"
#include "view/model/PuzzlePaths.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include <algorithm>
#include <cstring>
#include <unordered_set>

namespace {
constexpr GP_Folder kPuzzleFolders[] = {GP_Folder::Puzzles, GP_Folder::PuzzlesSimple, GP_Folder::PuzzlesCalendar,
                                        GP_Folder::PuzzlesCash, GP_Folder::PuzzlesCCash};
// Columns and rows follow the thumbnail position in the settings block.
constexpr int64_t kGridOffsetInSettings = 8;

QString LogSafe(QString text)
{
    return text.replace(QLatin1Char('%'), QStringLiteral("%%"));
}

// The puzzle files of a folder by name, hidden ones too: a name is used as it stands.
QStringList PuzzleFileNames(GP_Folder folder)
{
    QDir dir(GP_FolderPath(folder));
    dir.setNameFilters({QStringLiteral("*") + QLatin1String(GP_PuzzlePaths::kPuzzleExtension)});
    dir.setFilter(QDir::Files | QDir::Hidden | QDir::CaseSensitive);
    dir.setSorting(QDir::Name);
    return dir.entryList();
}

QString NameOf(const QString& fileName)
{
    return fileName.chopped(static_cast<int>(std::strlen(GP_PuzzlePaths::kPuzzleExtension)));
}

QByteArray Digest(const QByteArray& settings)
{
    return QCryptographicHash::hash(settings, QCryptographicHash::Md5);
}

// The settings block of a file whose header and grid were read: its size follows the grid.
QByteArray ReadSettingsBlock(QIODevice& file, uint32_t thumbnailSize, const CGP_Puzzle& puzzle)
{
    if (!file.seek(GP_PuzzleFile::kHeaderSize + thumbnailSize))
        return {};
    return file.read(GP_PuzzleFile::SettingsSize(puzzle.m_nColumns, puzzle.m_nRows));
}

bool IsPuzzleMagic(const QByteArray& header)
{
    return std::memcmp(header.constData() + 1, GP_PuzzleFile::kMagic + 1, 3) == 0;
}

// Every kFilesPerProgressStep files, one step of the start-up progress.
class FileCounter
{
public:
    explicit FileCounter(const std::function<void()>& progress) : m_progress(progress) {}
    void operator()()
    {
        if (++m_count % CPuzzleLibrary::kFilesPerProgressStep == 0 && m_progress)
            m_progress();
    }

private:
    const std::function<void()>& m_progress;
    int m_count = 0;
};

GP_PuzzlePtr ReadListPuzzle(const QString& path, const QString& name, QByteArray* settingsRead = nullptr)
{
    GP_PuzzlePtr puzzle(new CGP_Puzzle);
    if (CPuzzleLibrary::ReadForList(path, name, *puzzle, settingsRead) != CPuzzleLibrary::ReadResult::Listed)
        return {};
    return puzzle;
}
} // namespace

bool CPuzzleLibrary::CreateFolders()
{
    bool all = true;
    for (GP_Folder folder : kPuzzleFolders) {
        const QString path = GP_FolderPath(folder);
        if (!QDir().mkpath(path)) {
            GP_Log(QStringLiteral("CPuzzleLibrary::CreateFolders: cannot create %1\n").arg(LogSafe(path)));
            all = false;
        }
    }
    return all;
}

CPuzzleLibrary::ReadResult CPuzzleLibrary::ReadForList(const QString& path, const QString& name, CGP_Puzzle& puzzle,
                                                        QByteArray* settingsRead)
{
    if (path.isEmpty()) {
        GP_Log(QStringLiteral("CPuzzleLibrary: the puzzle name \"%1\" cannot be a file name; skipped\n").arg(LogSafe(name)));
        return ReadResult::Skipped;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        GP_Log(QStringLiteral("CPuzzleLibrary: cannot open %1 (%2); skipped\n").arg(LogSafe(path), LogSafe(file.errorString())));
        return ReadResult::Skipped;
    }
    const QByteArray header = file.read(GP_PuzzleFile::kHeaderSize);
    const bool tooShort = file.size() < GP_PuzzleFile::kHeaderSize;
    if (tooShort || (header.size() == GP_PuzzleFile::kHeaderSize && !IsPuzzleMagic(header))) {
        file.close();
        GP_Log(QStringLiteral("CPuzzleLibrary: %1 is %2; deleted\n")
                   .arg(LogSafe(path), tooShort ? QStringLiteral("too short for a header") : QStringLiteral("not a puzzle file")));
        QFile::remove(path);
        return ReadResult::Deleted;
    }
    bool read = false;
    try {
        read = header.size() == GP_PuzzleFile::kHeaderSize && puzzle.ReadThumbnailBlock(file) && puzzle.ReadSettings(file);
        if (read && !puzzle.m_bFresh)
            puzzle.MakeProgressOverlay();
    } catch (const CGP_Exeption& error) {
        GP_Log(QStringLiteral("CPuzzleLibrary: %1: %2\n").arg(LogSafe(path), QLatin1String(error.Message())));
        read = false;
    }
    if (!read) {
        GP_Log(QStringLiteral("CPuzzleLibrary: %1 could not be read; skipped\n").arg(LogSafe(path)));
        return ReadResult::Skipped;
    }
    puzzle.m_strTitle = name;
    if (settingsRead)
        *settingsRead = Digest(ReadSettingsBlock(file, qFromLittleEndian<uint32_t>(header.constData() + 4), puzzle));
    return ReadResult::Listed;
}

void CPuzzleLibrary::List(const std::function<void()>& progress)
{
    FileCounter countFile(progress);
    std::vector<GP_LibraryItem> items;
    for (const QString& fileName : PuzzleFileNames(GP_Folder::PuzzlesSimple)) {
        const QString name = NameOf(fileName);
        QByteArray settingsRead;
        if (GP_PuzzlePtr puzzle = ReadListPuzzle(GP_PuzzlePaths::LibraryFile(name), name, &settingsRead))
            items.push_back(GP_LibraryItem{puzzle, false, settingsRead});
        countFile();
    }
    {
        std::lock_guard<std::mutex> lock(m_listMutex);
        std::unordered_set<QString> selected;
        for (const GP_LibraryItem& item : m_items) {
            if (item.selected)
                selected.insert(item.puzzle->m_strTitle);
        }
        for (GP_LibraryItem& item : items)
            item.selected = selected.count(item.puzzle->m_strTitle) > 0;
        m_items.swap(items);
    }
    ListCalendar(countFile);
}

void CPuzzleLibrary::ListCalendar(const std::function<void()>& countFile)
{
    CCalendarStore calendar;
    for (const QString& fileName : PuzzleFileNames(GP_Folder::PuzzlesCalendar)) {
        const QString name = NameOf(fileName);
        const std::optional<GP_Date> date = CCalendarStore::ParseDateText(name);
        if (!date) {
            GP_Log(QStringLiteral("CPuzzleLibrary: calendar puzzle \"%1\" is not named by a day; skipped\n").arg(LogSafe(name)));
        } else if (GP_PuzzlePtr puzzle = ReadListPuzzle(GP_PuzzlePaths::CalendarFile(name), name)) {
            calendar.Add(*date, name, puzzle);
        }
        countFile();
    }
    std::lock_guard<std::mutex> lock(m_listMutex);
    m_calendar = std::move(calendar);
}

std::vector<GP_LibraryItem> CPuzzleLibrary::Items() const
{
    std::lock_guard<std::mutex> lock(m_listMutex);
    return m_items;
}

size_t CPuzzleLibrary::Size() const
{
    std::lock_guard<std::mutex> lock(m_listMutex);
    return m_items.size();
}

GP_PuzzlePtr CPuzzleLibrary::Find(const QString& name) const
{
    std::lock_guard<std::mutex> lock(m_listMutex);
    for (const GP_LibraryItem& item : m_items) {
        if (item.puzzle->m_strTitle == name)
            return item.puzzle;
    }
    return {};
}

std::vector<GP_PuzzlePtr> CPuzzleLibrary::Selected() const
{
    std::lock_guard<std::mutex> lock(m_listMutex);
    std::vector<GP_PuzzlePtr> selected;
    for (const GP_LibraryItem& item : m_items) {
        if (item.selected)
            selected.push_back(item.puzzle);
    }
    return selected;
}

void GP_LogDiskFull(int line, const char* module)
{
    GP_Log(QString::fromStdString(CGP_Exeption("Disk Full!", line, module).FormatText()) + QLatin1Char('\n'));
}

CCalendarStore CPuzzleLibrary::Calendar() const
{
    std::lock_guard<std::mutex> lock(m_listMutex);
    return m_calendar;
}

GP_PuzzlePtr CPuzzleLibrary::CalendarPuzzle(const GP_Date& date) const
{
    std::lock_guard<std::mutex> lock(m_listMutex);
    const CCalendarStore::Entry* entry = m_calendar.Find(date);
    return entry ? entry->puzzle : GP_PuzzlePtr();
}

void CPuzzleLibrary::SetSelected(const GP_PuzzlePtr& puzzle, bool selected)
{
    std::lock_guard<std::mutex> lock(m_listMutex);
    for (GP_LibraryItem& item : m_items) {
        if (item.puzzle == puzzle)
            item.selected = selected;
    }
}

void CPuzzleLibrary::Update(const std::function<void(std::vector<GP_LibraryItem>&)>& change)
{
    std::lock_guard<std::mutex> lock(m_listMutex);
    change(m_items);
}

void CPuzzleLibrary::SelectOnly(const GP_PuzzlePtr& puzzle)
{
    std::lock_guard<std::mutex> lock(m_listMutex);
    for (GP_LibraryItem& item : m_items)
        item.selected = item.puzzle == puzzle;
}

void CPuzzleLibrary::AddMade(const GP_PuzzlePtr& puzzle)
{
    std::lock_guard<std::mutex> lock(m_listMutex);
    for (GP_LibraryItem& item : m_items)
        item.selected = false;
    // A puzzle made again under its old name takes the old entry's place.
    const auto same = std::find_if(m_items.begin(), m_items.end(), [&](const GP_LibraryItem& item) {
        return item.puzzle->m_strTitle == puzzle->m_strTitle;
    });
    if (same != m_items.end())
        *same = GP_LibraryItem{puzzle, true, {}};
    else
        m_items.push_back(GP_LibraryItem{puzzle, true, {}});
}

GP_PuzzlePtr CPuzzleLibrary::AddFromFile(const QString& path)
{
    const QFileInfo source(path);
    const QString suffix = QLatin1String(GP_PuzzlePaths::kPuzzleExtension);
    QString name = source.fileName();
    if (name.endsWith(suffix))
        name.chop(suffix.size());
    if (source.absolutePath() == QFileInfo(GP_FolderPath(GP_Folder::PuzzlesSimple)).absoluteFilePath())
        return Find(name);
    // The player's own file is only read: a damaged one is refused, never deleted.
    QFile file(path);
    const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    CGP_Puzzle check;
    if (bytes.size() < GP_PuzzleFile::kHeaderSize || !IsPuzzleMagic(bytes)
        || ReadForList(path, name, check) != ReadResult::Listed) {
        GP_Log(QStringLiteral("CPuzzleLibrary::AddFromFile: %1 is no puzzle\n").arg(LogSafe(path)));
        return {};
    }
    QString unique = name;
    for (int n = 2; !GP_PuzzlePaths::IsSafeName(unique) || QFile::exists(GP_PuzzlePaths::LibraryFile(unique)); ++n)
        unique = QStringLiteral("%1 (%2)").arg(name).arg(n);
    if (!GP_ReplaceFile(GP_PuzzlePaths::LibraryFile(unique), bytes))
        return {};
    QByteArray settingsRead;
    const GP_PuzzlePtr puzzle = ReadListPuzzle(GP_PuzzlePaths::LibraryFile(unique), unique, &settingsRead);
    if (!puzzle)
        return {};
    std::lock_guard<std::mutex> lock(m_listMutex);
    m_items.push_back(GP_LibraryItem{puzzle, false, settingsRead});
    return puzzle;
}

bool CPuzzleLibrary::Reload(const QString& name)
{
    QByteArray settingsRead;
    const GP_PuzzlePtr fresh = ReadListPuzzle(GP_PuzzlePaths::LibraryFile(name), name, &settingsRead);
    if (!fresh)
        return false;
    std::lock_guard<std::mutex> lock(m_listMutex);
    for (GP_LibraryItem& item : m_items) {
        if (item.puzzle->m_strTitle == name) {
            item.puzzle = fresh;
            item.settingsRead = settingsRead;
        }
    }
    return true;
}

std::vector<GP_PuzzlePtr> CPuzzleLibrary::RemoveSelected()
{
    return TakeOut([](const GP_LibraryItem& item) { return item.selected; });
}

void CPuzzleLibrary::Remove(const GP_PuzzlePtr& puzzle)
{
    TakeOut([&](const GP_LibraryItem& item) { return item.puzzle == puzzle; });
}

std::vector<GP_PuzzlePtr> CPuzzleLibrary::TakeOut(const std::function<bool(const GP_LibraryItem&)>& which)
{
    std::vector<GP_PuzzlePtr> removed;
    std::lock_guard<std::mutex> lock(m_listMutex);
    const auto kept = std::stable_partition(m_items.begin(), m_items.end(), [&](const GP_LibraryItem& item) {
        return !which(item);
    });
    for (auto it = kept; it != m_items.end(); ++it) {
        removed.push_back(it->puzzle);
        DeleteFiles(it->puzzle->m_strTitle, m_calendar);
    }
    m_items.erase(kept, m_items.end());
    return removed;
}

void CPuzzleLibrary::DeleteFiles(const QString& name, CCalendarStore& calendar)
{
    const QString puzzle = GP_PuzzlePaths::LibraryFile(name);
    if (puzzle.isEmpty())
        return;
    QFile::remove(puzzle);
    QFile::remove(GP_PuzzlePaths::CacheFile(name));
    const QString calendarFile = GP_PuzzlePaths::CalendarFile(name);
    if (!QFile::exists(calendarFile))
        return;
    if (const std::optional<GP_Date> date = CCalendarStore::ParseDateText(name))
        calendar.Forget(*date);
    QFile::remove(calendarFile);
}

QStringList CPuzzleLibrary::SavePuzzleIcons() const
{
    QStringList failed;
    for (const GP_LibraryItem& item : Items()) {
        const QString& name = item.puzzle->m_strTitle;
        if (!SaveProgressPart(*item.puzzle, GP_PuzzlePaths::LibraryFile(name), item.settingsRead))
            failed.append(name);
    }
    return failed;
}

bool CPuzzleLibrary::SaveProgressPart(CGP_Puzzle& puzzle, const QString& path, const QByteArray& settingsRead)
{
    // A puzzle without its lattice has nothing of its own to write (it was never read whole).
    if (path.isEmpty() || puzzle.m_pCorners.empty())
        return true;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        GP_Log(QStringLiteral("CPuzzleLibrary::SaveProgressPart: cannot open %1\n").arg(LogSafe(path)));
        return false;
    }
    QByteArray bytes = file.readAll();
    file.close();
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadWrite);
    GP_PuzzleFile::Header header;
    // A file damaged since it was listed has no place for the progress (the log says why).
    if (!GP_PuzzleFile::ReadCheckedHeader(buffer, header, "SaveProgressPart"))
        return true;
    // The settings are rewritten in place, so they must be the same size as the file's: the
    // same grid.
    const int64_t settings = GP_PuzzleFile::kHeaderSize + header.thumbnailSize;
    if (!buffer.seek(settings + kGridOffsetInSettings))
        return false;
    const QByteArray grid = buffer.read(8);
    const int32_t columns = qFromLittleEndian<int32_t>(grid.constData());
    const int32_t rows = qFromLittleEndian<int32_t>(grid.constData() + 4);
    if (columns != puzzle.m_nColumns || rows != puzzle.m_nRows) {
        GP_Log(QStringLiteral("CPuzzleLibrary::SaveProgressPart: %1 holds another cut; left as it is\n").arg(LogSafe(path)));
        return true;
    }
    const QByteArray before = bytes.mid(settings, GP_PuzzleFile::SettingsSize(columns, rows));
    if (!settingsRead.isEmpty() && Digest(before) != settingsRead) {
        GP_Log(QStringLiteral("CPuzzleLibrary::SaveProgressPart: %1 was saved since it was listed; left as it is\n")
                   .arg(LogSafe(path)));
        return true;
    }
    if (!puzzle.WriteSettings(buffer))
        return false;
    buffer.close();
    if (bytes.mid(settings, before.size()) == before)
        return true;
    if (!GP_ReplaceFile(path, bytes)) {
        GP_LOG_DISK_FULL();
        return false;
    }
    return true;
}
