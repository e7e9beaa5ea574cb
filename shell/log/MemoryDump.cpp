#include "shell/log/MemoryDump.h"

#include "shell/log/GP_Exeption.h"
#include "shell/log/GP_LogFile.h"

#include <QDir>
#include <QFile>

#include <atomic>
#include <csignal>
#include <cstring>
#include <ctime>
#include <exception>

#include <execinfo.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

const char kTag[] = "evelmora";
constexpr int kFatalSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT};
constexpr size_t kPathBytes = 4096;
constexpr size_t kAltStackBytes = 64 * 1024;
constexpr int kMaxFrames = 64;

std::atomic<bool> s_initialized{false};
std::atomic<bool> s_inFilter{false};
char s_folder[kPathBytes];     // "<temp>/AppName"
char s_lastDump[kPathBytes];   // written by the filter
long s_utcOffsetSeconds = 0;   // local time = UTC + this, taken at initialisation
MemoryDump::Notice s_noMemoryNotice = nullptr;
MemoryDump::AfterDump s_afterDump = nullptr;
std::terminate_handler s_previousTerminate = nullptr;

// A small async-signal-safe text builder over a fixed buffer.
struct SafeText
{
    char data[kPathBytes];
    size_t size = 0;

    void Add(const char* text)
    {
        while (*text && size + 1 < sizeof data)
            data[size++] = *text++;
        data[size] = 0;
    }
    void AddNumber(unsigned long long value, int minDigits = 1, int base = 10)
    {
        char digits[32];
        int count = 0;
        do {
            const int digit = static_cast<int>(value % base);
            digits[count++] = static_cast<char>(digit < 10 ? '0' + digit : 'a' + digit - 10);
            value /= base;
        } while (value && count < 32);
        while (count < minDigits && count < 32)
            digits[count++] = '0';
        while (count > 0 && size + 1 < sizeof data)
            data[size++] = digits[--count];
        data[size] = 0;
    }
    void AddSigned(long long value)
    {
        if (value < 0) {
            Add("-");
            AddNumber(static_cast<unsigned long long>(-(value + 1)) + 1);
        } else {
            AddNumber(static_cast<unsigned long long>(value));
        }
    }
};

void WriteAll(int fd, const char* data, size_t size)
{
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written <= 0)
            return;
        data += written;
        size -= static_cast<size_t>(written);
    }
}

void WriteText(int fd, const SafeText& text)
{
    WriteAll(fd, text.data, text.size);
}

// Days since 1970-01-01 to a civil date (proleptic Gregorian).
void CivilFromDays(long long days, int& year, int& month, int& day)
{
    days += 719468;
    const long long era = (days >= 0 ? days : days - 146096) / 146097;
    const long long dayOfEra = days - era * 146097;
    const long long yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const long long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const long long mp = (5 * dayOfYear + 2) / 153;
    day = static_cast<int>(dayOfYear - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0));
}

const char* SignalName(int signal)
{
    switch (signal) {
    case SIGSEGV: return "SIGSEGV";
    case SIGBUS: return "SIGBUS";
    case SIGFPE: return "SIGFPE";
    case SIGILL: return "SIGILL";
    case SIGABRT: return "SIGABRT";
    case 0: return "exception";
    default: return "signal";
    }
}

void BuildDumpPath(SafeText& path)
{
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    const long long local = static_cast<long long>(now.tv_sec) + s_utcOffsetSeconds;
    long long days = local / 86400;
    long long seconds = local % 86400;
    if (seconds < 0) {
        seconds += 86400;
        --days;
    }
    int year = 0, month = 0, day = 0;
    CivilFromDays(days, year, month, day);

    path.Add(s_folder);
    path.Add("/v1.0-");
    path.AddNumber(static_cast<unsigned>(year), 4);
    path.AddNumber(static_cast<unsigned>(month), 2);
    path.AddNumber(static_cast<unsigned>(day), 2);
    path.Add("-");
    path.AddNumber(static_cast<unsigned long long>(seconds / 3600), 2);
    path.AddNumber(static_cast<unsigned long long>(seconds / 60 % 60), 2);
    path.AddNumber(static_cast<unsigned long long>(seconds % 60), 2);
    path.Add("-");
    path.AddSigned(getpid());
    path.Add("-");
    path.AddSigned(static_cast<long long>(syscall(SYS_gettid)));
    path.Add(".dmp");
}

void WriteDumpFile(int signal, const void* faultAddress)
{
    SafeText path;
    BuildDumpPath(path);
    mkdir(s_folder, 0700);
    const int fd = ::open(path.data, O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0)
        return;

    SafeText head;
    head.Add("Velmora crash dump\nsignal: ");
    head.AddSigned(signal);
    head.Add(" ");
    head.Add(SignalName(signal));
    head.Add("\nfault address: 0x");
    head.AddNumber(reinterpret_cast<unsigned long long>(faultAddress), 1, 16);
    head.Add("\nprocess: ");
    head.AddSigned(getpid());
    head.Add("\nthread: ");
    head.AddSigned(static_cast<long long>(syscall(SYS_gettid)));
    head.Add("\nstack:\n");
    WriteText(fd, head);

    void* frames[kMaxFrames];
    const int count = backtrace(frames, kMaxFrames);
    backtrace_symbols_fd(frames, count, fd);
    ::close(fd);

    std::memcpy(s_lastDump, path.data, path.size + 1);
}

void OnFatalSignal(int signal, siginfo_t* info, void*)
{
    // A fault inside the filter itself, or a second thread crashing meanwhile, dies plainly.
    if (s_inFilter.exchange(true)) {
        ::signal(signal, SIG_DFL);
        raise(signal);
        return;
    }
    MemoryDump::TopLevelFilter(signal, info ? info->si_addr : nullptr);
    if (s_afterDump)
        s_afterDump(signal);
    ::signal(signal, SIG_DFL);
    raise(signal);
}

void OnTerminate()
{
    if (!s_inFilter.exchange(true))
        MemoryDump::TopLevelFilter(0, nullptr);
    // abort() raises SIGABRT; the handler sees the flag and lets the process die.
    std::abort();
}

} // namespace

void MemoryDump::Initialize()
{
    if (s_initialized.exchange(true))
        return;

    const QByteArray folder = QFile::encodeName(QDir::tempPath() + QStringLiteral("/AppName"));
    std::strncpy(s_folder, folder.constData(), sizeof s_folder - 1);

    const time_t now = time(nullptr);
    tm local{};
    localtime_r(&now, &local);
    s_utcOffsetSeconds = local.tm_gmtoff;

    // backtrace() loads its unwinder on first use, which allocates: do that here, not in the handler.
    void* frames[4];
    backtrace(frames, 4);

    static char* altStack = new char[kAltStackBytes];
    stack_t stack{};
    stack.ss_sp = altStack;
    stack.ss_size = kAltStackBytes;
    sigaltstack(&stack, nullptr);

    struct sigaction action {};
    action.sa_sigaction = OnFatalSignal;
    action.sa_flags = SA_SIGINFO | SA_ONSTACK;
    sigemptyset(&action.sa_mask);
    for (int signal : kFatalSignals)
        sigaction(signal, &action, nullptr);
    s_previousTerminate = std::set_terminate(OnTerminate);

    GP_Log(QStringLiteral("MemoryDump::MemoryDump %1\n").arg(QLatin1String(kTag)));
}

bool MemoryDump::IsInitialized()
{
    return s_initialized.load();
}

void MemoryDump::SetNoMemoryNotice(Notice notice)
{
    s_noMemoryNotice = notice;
}

void MemoryDump::SetAfterDump(AfterDump hook)
{
    s_afterDump = hook;
}

void MemoryDump::TopLevelFilter(int signal, const void* faultAddress)
{
    if (g_bOutOfMemory) {
        static std::atomic<bool> noticeShown{false};
        if (s_noMemoryNotice && !noticeShown.exchange(true))
            s_noMemoryNotice();
        return;
    }
    const int logFd = CGP_LogFile::CrashDescriptor();
    if (logFd >= 0) {
        SafeText line;
        line.Add("MemoryDump::topLevelFilter: ");
        line.Add(kTag);
        line.Add(".dmp\n");
        WriteText(logFd, line);
    }
    if (s_folder[0])
        WriteDumpFile(signal, faultAddress);
}

QString MemoryDump::DumpFolder()
{
    return QFile::decodeName(s_folder);
}

QString MemoryDump::LastDumpPath()
{
    return QFile::decodeName(s_lastDump);
}

void GP_ThreadCrashed(const QString& tag)
{
    if (g_pLogFile)
        g_pLogFile->Write("ERROR!!\n").Write(tag).Write(" thread exception.\n");
    if (!s_inFilter.exchange(true))
        MemoryDump::TopLevelFilter(0, nullptr);
    _exit(0);
}
