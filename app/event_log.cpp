#include "app/application.h"

#include <cstdarg>
#include <cstdio>

namespace {

const char* const kLogFileName = "log.txt";

}  // namespace

void Application::StartLog() {
    m_logEnabled = true;

    // Empties whatever a previous run left. A file that cannot be created (read-only folder, a
    // directory of that name) is not fatal: the run goes on without its log.
    FILE* pFile = fopen(kLogFileName, "wb");
    if (pFile != NULL) {
        fclose(pFile);
    }
}

void Application::WriteLog(const char* format, ...) {
    if (!m_logEnabled) {
        return;
    }

    // Opened and closed per line so that everything logged before an abrupt end is on disk.
    FILE* pFile = fopen(kLogFileName, "a+");
    if (pFile == NULL) {
        return;  // the line is dropped; nothing else depends on the log
    }

    va_list args;
    va_start(args, format);
    vfprintf(pFile, format, args);
    va_end(args);
    fputc('\n', pFile);
    fclose(pFile);
}
