// The process entry of the stand-in platform: what a loader does before WinMain and after it.
#ifndef OSTREL_PLATFORM_ENTRY_PROCESS_ENTRY_H
#define OSTREL_PLATFORM_ENTRY_PROCESS_ENTRY_H

namespace ostrel {

// Reads the OSTREL_* settings (a malformed one: a line on stderr and exit status 2, before the
// program starts), installs the runtime with its host, routes SIGINT and SIGTERM to WM_CLOSE,
// calls WinMain, reports objects still alive, and returns WinMain's exit code.
int RunProcess(int argc, char** argv);

}  // namespace ostrel

#endif
