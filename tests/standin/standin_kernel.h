// What the host tests tell the stand-in kernel to answer, and the calls it
// saw. Every service the launcher uses appends one line to calls, naming its
// arguments, so a test can compare the whole conversation at once.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "kernel_services.h"

enum class Wow64Query {
    Missing,  // the kernel has no IsWow64Process
    Answers,  // it writes wow64Flag and returns wow64QueryResult
    Fails,    // it returns FALSE and leaves the flag as it was
};

// How GetModuleFileNameA answers when the path does not fit its nSize
// bytes; either way it returns nSize.
enum class ModulePathCut {
    WindowsXP,     // nSize bytes of the path, unterminated; the last error is left as it was
    WindowsVista,  // nSize - 1 bytes and a zero; the last error is 122, ERROR_INSUFFICIENT_BUFFER
};

struct StandinKernel {
    // GetModuleFileNameA reports this path, cut as modulePathCut says when
    // it does not fit; an empty one makes it fail with moduleFileNameError.
    std::string modulePath = "D:\\media\\launcher.exe";
    ModulePathCut modulePathCut = ModulePathCut::WindowsXP;
    DWORD moduleFileNameError = 126;

    // GetCommandLineA returns this line, or a null pointer.
    std::string commandLine = "launcher.exe";
    bool commandLineMissing = false;

    // The ANSI code page's lead byte ranges; GetCPInfo can refuse.
    std::vector<std::pair<BYTE, BYTE>> leadByteRanges;
    bool codePageQueryFails = false;

    Wow64Query wow64Query = Wow64Query::Answers;
    BOOL wow64Flag = FALSE;
    BOOL wow64QueryResult = TRUE;

    // The version record GetVersionExA fills, unless it refuses.
    DWORD platformId = 2;
    DWORD majorVersion = 5;
    DWORD minorVersion = 1;
    bool versionQueryFails = false;

    // CreateProcessA succeeds, or fails with startError.
    bool startSucceeds = true;
    DWORD startError = 2;

    // WaitForSingleObject returns waitResult, setting waitError when that
    // is WAIT_FAILED. Until a wait has returned WAIT_OBJECT_0 the installer
    // runs, and GetExitCodeProcess reads STILL_ACTIVE.
    DWORD waitResult = WAIT_OBJECT_0;
    DWORD waitError = 6;

    DWORD installerExitStatus = 0;
    bool exitCodeQueryFails = false;
    DWORD exitCodeQueryError = 6;

    std::vector<std::string> calls;

    // What the last CreateProcessA was given, byte for byte.
    std::string startedApplicationName;
    std::string startedCommandLine;
};

// The one stand-in kernel of the test process; ResetStandin restores every
// answer to its default and forgets every call.
StandinKernel& Standin();
void ResetStandin();
