// Does nothing, with no C runtime. Alone it is the bare i686 start that the
// other idle programs are measured against (the installer the timer starts
// directly is an x86-64 program); built with launcher.exe's resource, it
// shows what the manifest alone costs at start-up.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

extern "C" __attribute__((noreturn)) void IdleStart()
{
    ExitProcess(7);
}
