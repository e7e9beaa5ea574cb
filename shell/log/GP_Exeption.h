#pragma once

#include <string>

// The engine's error: what went wrong, where (source file name without folders) and on which
// line. Texts are static strings and are never released.
class CGP_Exeption
{
public:
    CGP_Exeption(const char* message, int line, const char* module, bool fatal = false)
        : m_message(message), m_fatal(fatal ? 1 : 0), m_line(line), m_module(module)
    {
    }
    virtual ~CGP_Exeption() { m_message = nullptr; }

    // "Line %d in module %s throw exception:\n%s", or without the colon and message when
    // there is no message.
    virtual std::string FormatText() const;

    const char* Message() const { return m_message; }
    bool IsFatal() const { return m_fatal != 0; }
    int Line() const { return m_line; }
    const char* Module() const { return m_module; }

private:
    const char* m_message;
    unsigned char m_fatal;
    int m_line;
    const char* m_module;
};

// Raised when memory runs out; the game cannot go on after it.
class CGP_FatalExeption : public CGP_Exeption
{
public:
    CGP_FatalExeption(const char* message, int line, const char* module)
        : CGP_Exeption(message, line, module, true)
    {
    }
};

// The file name part of a compiler file-name text (everything after the last folder separator).
constexpr const char* GP_ModuleName(const char* path)
{
    const char* name = path;
    for (const char* p = path; *p; ++p) {
        if (*p == '/' || *p == '\\')
            name = p + 1;
    }
    return name;
}

#define GP_THROW(message) throw CGP_Exeption((message), __LINE__, GP_ModuleName(__FILE__))

// Process-wide: set once memory ran out, never cleared.
extern volatile unsigned char g_bOutOfMemory;

// The source file that defines the application object; named in out-of-memory reports.
extern const char* g_pszAppModule;

// Installed with std::set_new_handler: flags the shortage, logs it and raises CGP_FatalExeption.
void GPNewErrorHandler();
// The same with the requested size recorded as the exception's line.
[[noreturn]] void GPNewErrorHandler(size_t requested);
