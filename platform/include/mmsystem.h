// Stand-in for the multimedia timer of <mmsystem.h> (winmm): timeGetTime only.
// Milliseconds from a monotonic clock, unsigned 32-bit, wrapping at 2^32 like the real counter.
#ifndef OSTREL_PLATFORM_MMSYSTEM_H
#define OSTREL_PLATFORM_MMSYSTEM_H

#include <windows.h>

#define TIMERR_NOERROR 0
#define TIMERR_NOCANDO 97

DWORD WINAPI timeGetTime(void);

#endif
