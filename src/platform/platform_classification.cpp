#include "platform_classification.h"

#include "kernel_services.h"

namespace {

// Windows 95, 98, Me and NT 4.0 before SP6 have no IsWow64Process; importing
// it would keep the launcher from loading there, so it is looked up by name.
using IsWow64ProcessFunction = BOOL(WINAPI*)(HANDLE, PBOOL);

const DWORD PlatformWindows9x = 1;
const DWORD PlatformWindowsNT = 2;

bool RunsUnderWow64()
{
    BOOL wow64 = FALSE;
    const FARPROC query = GetProcAddress(GetModuleHandleA("kernel32"), "IsWow64Process");
    if (query != nullptr) {
        // A failing query leaves the flag as it was, so its result need not
        // be read: only a nonzero flag means WOW64.
        const auto isWow64Process =
            reinterpret_cast<IsWow64ProcessFunction>(reinterpret_cast<void (*)()>(query));
        isWow64Process(GetCurrentProcess(), &wow64);
    }
    return wow64 != FALSE;
}

int ClassifyVersion(const OSVERSIONINFOA& version)
{
    const DWORD platform = version.dwPlatformId;
    const DWORD major = version.dwMajorVersion;
    const DWORD minor = version.dwMinorVersion;
    if (platform == PlatformWindows9x && major == 4 && minor == 0) return Win95;
    if (platform == PlatformWindows9x && major == 4 && minor == 10) return Win98;
    if (platform == PlatformWindows9x && major == 4 && minor == 90) return WinMe;
    if (platform == PlatformWindowsNT && major == 3 && minor == 51) return WinNT351;
    if (platform == PlatformWindowsNT && major == 4 && minor == 0) return WinNT4;
    if (platform == PlatformWindowsNT && major == 5 && minor == 0) return Win2000;
    if (platform == PlatformWindowsNT && major == 5 && minor == 1) return WinXP;
    if (platform == PlatformWindowsNT && major == 5 && minor == 2) return WinServer2003;
    if (platform == PlatformWindowsNT && major == 6) return WinNT6;
    return WinXP;
}

}  // namespace

int ClassifyPlatform()
{
    const bool wow64 = RunsUnderWow64();

    // The basic record is the one every release accepts. It starts zeroed so
    // that a refused query classifies as an unknown version, never from
    // whatever the stack held.
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);
    GetVersionExA(&version);

    // On a 64-bit system the version says nothing about which build to run.
    if (wow64) return Wow64;
    return ClassifyVersion(version);
}
