#include "shell/log/GP_Exeption.h"

#include "shell/log/GP_LogFile.h"

#include <cstdio>
#include <cstring>
#include <vector>

volatile unsigned char g_bOutOfMemory = 0;
const char* g_pszAppModule = "ROruzoz.cpp";

std::string CGP_Exeption::FormatText() const
{
    const char* module = m_module ? m_module : "";
    const size_t size = std::strlen("Line %d in module %s\n%s") + std::strlen(module)
                        + (m_message ? std::strlen(m_message) : 0) + 100;
    std::vector<char> buffer(size);
    if (m_message)
        std::snprintf(buffer.data(), size, "Line %d in module %s throw exception:\n%s", m_line, module, m_message);
    else
        std::snprintf(buffer.data(), size, "Line %d in module %s throw exception", m_line, module);
    return std::string(buffer.data());
}

void GPNewErrorHandler(size_t requested)
{
    // Logging allocates; should that fail too, the nested call must not log again.
    thread_local bool reporting = false;
    g_bOutOfMemory = 1;
    if (g_pLogFile && !reporting) {
        reporting = true;
        try {
            g_pLogFile->Write("GPNewErrorHandler()").Write("\n");
        } catch (...) {
        }
        reporting = false;
    }
    throw CGP_FatalExeption("Error memory allocation\n", static_cast<int>(requested), g_pszAppModule);
}

void GPNewErrorHandler()
{
    // std::new_handler is not told the size that failed.
    GPNewErrorHandler(0);
}
