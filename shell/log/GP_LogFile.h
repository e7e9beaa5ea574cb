#pragma once

#include <QString>

#include <atomic>
#include <cstdio>
#include <mutex>

// The session log "Exception.log": short trace lines from every thread of the game.
// One instance exists while the game runs; g_pLogFile names it and writers check it for null
// (GP_Log does that for them).
class CGP_LogFile
{
public:
    // A log larger than this when the game starts, or growing past it during a run, starts over.
    static constexpr long kMaxSize = 100000;

    explicit CGP_LogFile(const QString& path);
    virtual ~CGP_LogFile();

    CGP_LogFile(const CGP_LogFile&) = delete;
    CGP_LogFile& operator=(const CGP_LogFile&) = delete;

    // Opens the file (appending, or starting over when it is too large or unreadable) and
    // writes the BEGIN SESSION lines. A log that cannot be opened stays closed and silent.
    void Open();

    // Writes the text as it stands, except that "%%" becomes "%" (trace texts double their
    // percent signs); a text is never used as a format. Returns the log for chaining.
    CGP_LogFile& Write(const QString& text);
    CGP_LogFile& Write(const char* text);

    bool IsOpen() const;
    const QString& Path() const { return m_path; }
    const QString& Version() const { return m_version; }

    // The open file's descriptor, or -1: the crash handler writes its one line through it
    // without taking the lock (a crashed thread may hold it).
    static int CrashDescriptor() { return s_crashFd.load(std::memory_order_relaxed); }

    // "<short date>  <24-hour time>" in the user's locale.
    static QString DateTimeText();
    static QString UnescapePercents(const QString& text);

private:
    void OpenWithMode(const char* mode);
    void WriteRaw(const QByteArray& bytes);

    FILE* m_file = nullptr;
    QString m_path;
    QString m_version;
    mutable std::mutex m_lock;

    static std::atomic<int> s_crashFd;
};

extern CGP_LogFile* g_pLogFile;

// Writes to the session log when there is one; returns whether there was.
bool GP_Log(const QString& text);
