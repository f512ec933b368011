// Does nothing but what the start-up code that GCC links into every
// MinGW program does first: ask whether the shared libgcc DLL is loaded.
// Wine answers that by searching the whole DLL path on disk.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

extern "C" __attribute__((noreturn)) void IdleStart()
{
    ExitProcess(GetModuleHandleA("libgcc_s_dw2-1.dll") == nullptr ? 7 : 1);
}
