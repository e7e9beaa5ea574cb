#pragma once

#include "engine/GP_Puzzle.h"
#include "shell/log/GP_Exeption.h"
#include "view/model/CalendarStore.h"

#include <QString>
#include <QStringList>

#include <boost/shared_ptr.hpp>

#include <functional>
#include <mutex>
#include <vector>

// "Disk Full!" in the session log with the source file and line, as every failed save writes it.
void GP_LogDiskFull(int line, const char* module);
#define GP_LOG_DISK_FULL() GP_LogDiskFull(__LINE__, GP_ModuleName(__FILE__))

using GP_PuzzlePtr = boost::shared_ptr<CGP_Puzzle>;

// One puzzle of the player's library as the list holds it.
struct GP_LibraryItem
{
    GP_PuzzlePtr puzzle;
    bool selected = false;
    // The settings block the file had when the puzzle was read (a digest; empty when unknown).
    QByteArray settingsRead;
};

// The player's library on disk and in memory: the list of puzzles in "Puzzles/simple" with
// their selected flags, and the calendar puzzles of "Puzzles/calendar" by day. Both are read by
// the download threads and the paint; every change takes the list mutex, held only for a copy
// or an update of the list (files are read and written outside it).
//
// A list puzzle holds what the library screen shows: the thumbnail, the settings (with the
// progress numbers) and the progress mark. Its pieces stay in its file until it is opened.
class CPuzzleLibrary
{
public:
    // The start-up progress advances once per this many files read.
    static constexpr int kFilesPerProgressStep = 21;

    enum class ReadResult { Listed, Deleted, Skipped };

    // "Puzzles" with "simple", "calendar", "Cash" and "CCash"; each folder that cannot be made is
    // logged. Answers whether all of them exist.
    static bool CreateFolders();

    // Reads one puzzle file for the list: header, thumbnail and settings. Only a file proven
    // damaged (too short for a header, or without the puzzle magic) is deleted; a file that
    // cannot be opened or read, perhaps still being copied in, is skipped with a log line.
    // settingsRead receives the digest of the settings block as read.
    static ReadResult ReadForList(const QString& path, const QString& name, CGP_Puzzle& puzzle,
                                  QByteArray* settingsRead = nullptr);

    // Reads the library afresh: "Puzzles/simple/*.pzl", then "Puzzles/calendar/*.pzl" into the
    // calendar store. progress is called once per kFilesPerProgressStep files. Selected flags
    // survive for puzzles that are still there.
    void List(const std::function<void()>& progress = {});

    std::mutex& ListMutex() const { return m_listMutex; }
    std::vector<GP_LibraryItem> Items() const;
    size_t Size() const;
    GP_PuzzlePtr Find(const QString& name) const;
    std::vector<GP_PuzzlePtr> Selected() const;
    // A copy of the calendar store, or one day's entry.
    CCalendarStore Calendar() const;
    GP_PuzzlePtr CalendarPuzzle(const GP_Date& date) const;

    void SetSelected(const GP_PuzzlePtr& puzzle, bool selected);
    // Runs a change of the list (selection, order) under the list mutex; the change must not
    // touch files or show anything.
    void Update(const std::function<void(std::vector<GP_LibraryItem>&)>& change);
    void SelectOnly(const GP_PuzzlePtr& puzzle);
    // A puzzle the player has just made joins the list as the only one selected.
    void AddMade(const GP_PuzzlePtr& puzzle);
    // A puzzle file from elsewhere (one the player opened from a file manager) joins the library:
    // a copy goes into "Puzzles/simple" under the file's name (numbered when another puzzle has
    // that name) and is listed. A file already in the library is just found. Null when the file
    // is no readable puzzle.
    GP_PuzzlePtr AddFromFile(const QString& path);
    // Reads a puzzle's list entry from its file again (after a game saved it).
    bool Reload(const QString& name);

    // Takes the selected puzzles out of the list and deletes their files: the puzzle, its
    // piece-image cache and, when the calendar holds a puzzle of that name, the calendar's file
    // and its day in the store. Answers the puzzles taken out.
    std::vector<GP_PuzzlePtr> RemoveSelected();
    // The same for one puzzle (a puzzle whose file proved damaged when it was opened).
    void Remove(const GP_PuzzlePtr& puzzle);

    // Writes every library puzzle's progress part back into its file, as the view's last act.
    // Each file is replaced whole or not at all: a failure leaves the old file as it was. Answers
    // the names that could not be saved (the caller shows the disk-full message once).
    QStringList SavePuzzleIcons() const;

    // Writes the puzzle's settings block into its file; the rest of the file stays byte for byte.
    // A file whose settings already read so is not touched, and neither is one whose settings
    // are no longer those read into the puzzle (settingsRead): a game saved it since, and its
    // progress is newer than the list's.
    static bool SaveProgressPart(CGP_Puzzle& puzzle, const QString& path, const QByteArray& settingsRead = {});

private:
    void ListCalendar(const std::function<void()>& countFile);
    std::vector<GP_PuzzlePtr> TakeOut(const std::function<bool(const GP_LibraryItem&)>& which);
    static void DeleteFiles(const QString& name, CCalendarStore& calendar);

    mutable std::mutex m_listMutex;
    std::vector<GP_LibraryItem> m_items;
    CCalendarStore m_calendar;
};
