// The least a launcher can do: kernel32 alone, no C runtime, no standard
// library, no heap. What it costs over starting the installer directly is
// what any launcher must cost.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "bare_command_line.h"
#include "platform_classification.h"

namespace {

const char Installer32Suffix[] = "\\32bit\\setup.exe";
const char Installer64Suffix[] = "\\64bit\\setup.exe";

// Static, so that the frame needs no stack probe and nothing has to be
// zeroed by hand. Long paths reach 32767 UTF-16 units, twice as many bytes
// in a double-byte code page; a command line is as long again.
char modulePath[65536 + 1];
char installerFile[sizeof(modulePath) + sizeof(Installer64Suffix)];
char commandLine[sizeof(installerFile) + 1 + 65536];
STARTUPINFOA startup;
PROCESS_INFORMATION process;

__attribute__((noreturn)) void Fail()
{
    const DWORD error = GetLastError();
    ExitProcess(error == 0 ? 1 : error);
}

// Returns the new end, or null when the text does not fit before limit.
char* Append(char* to, const char* limit, const char* from)
{
    while (*from != '\0') {
        if (to == limit) return nullptr;
        *to++ = *from++;
    }
    *to = '\0';
    return to;
}

}  // namespace

extern "C" __attribute__((noreturn)) void FloorStart()
{
    const DWORD capacity = sizeof(modulePath) - 1;
    const DWORD length = GetModuleFileNameA(nullptr, modulePath, capacity);
    if (length == 0 || length >= capacity) Fail();
    DWORD cut = length;
    for (DWORD at = 0; at < length; ++at) {
        if (modulePath[at] == '\\') cut = at;
    }
    modulePath[cut] = '\0';

    const char* const fileLimit = installerFile + sizeof(installerFile) - 1;
    char* end = Append(installerFile, fileLimit, modulePath);
    if (end == nullptr) Fail();
    if (Append(end, fileLimit, ClassifyPlatform() == Wow64 ? Installer64Suffix : Installer32Suffix) == nullptr) Fail();

    const char* const lineLimit = commandLine + sizeof(commandLine) - 1;
    end = Append(commandLine, lineLimit, installerFile);
    const char* const arguments = bare::SkipProgramName(GetCommandLineA());
    if (end != nullptr && *arguments != '\0') {
        end = Append(end, lineLimit, " ");
        if (end != nullptr) end = Append(end, lineLimit, arguments);
    }
    if (end == nullptr) Fail();

    startup.cb = sizeof(startup);
    if (!CreateProcessA(installerFile, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
        Fail();
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD status = 0;
    if (!GetExitCodeProcess(process.hProcess, &status)) Fail();
    ExitProcess(status);
}
