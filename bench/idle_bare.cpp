// Does nothing, with no C runtime: built with launcher.exe's resource, it
// shows what the manifest alone costs at start-up.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

extern "C" __attribute__((noreturn)) void IdleStart()
{
    ExitProcess(7);
}
