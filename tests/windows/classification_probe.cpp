// Prints what the launcher's classification makes of the running Windows,
// with the version numbers it was given, as "code platform major.minor".
#include <windows.h>

#include <cstdio>

#include "platform_classification.h"

// The records' sizes as the launcher's 32-bit build hands them to the system.
static_assert(sizeof(OSVERSIONINFOA) == 148, "the basic version record");
static_assert(sizeof(STARTUPINFOA) == 68, "the start-up record of a 32-bit process");

int main()
{
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
    GetVersionExA(&version);
    std::printf("%d %lu %lu.%lu\n", ClassifyPlatform(), version.dwPlatformId, version.dwMajorVersion,
                version.dwMinorVersion);
    return 0;
}
