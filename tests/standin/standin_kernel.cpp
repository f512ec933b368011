// The stand-in kernel: answers as the test's StandinKernel says and records
// each call in the order it came.
#include "standin_kernel.h"

#include <cstring>

struct StandinModule {
};

namespace {

StandinKernel standin;
DWORD lastError = 0;
bool installerEnded = false;

// Objects whose addresses serve as the handles the stand-in gives out.
StandinModule kernel32Module;
char installerProcess;
char installerThread;
HANDLE const CurrentProcessPseudoHandle = reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(-1));

std::string Quoted(LPCSTR text)
{
    if (text == nullptr) return "null";
    return "\"" + std::string(text) + "\"";
}

std::string Pointer(const void* pointer)
{
    return pointer == nullptr ? "null" : "pointer";
}

std::string HandleName(HANDLE handle)
{
    if (handle == &installerProcess) return "installer process";
    if (handle == &installerThread) return "installer thread";
    if (handle == CurrentProcessPseudoHandle) return "current process";
    if (handle == nullptr) return "null";
    return "unknown handle";
}

std::string Flag(BOOL value)
{
    return value == FALSE ? "FALSE" : value == TRUE ? "TRUE" : std::to_string(value);
}

bool AllZero(const void* bytes, std::size_t size)
{
    const auto* byte = static_cast<const unsigned char*>(bytes);
    for (std::size_t at = 0; at < size; ++at) {
        if (byte[at] != 0) return false;
    }
    return true;
}

// The start-up record as the stand-in saw it: its size field, and whether
// every other byte was zero.
std::string StartupRecord(const STARTUPINFOA* startup)
{
    if (startup == nullptr) return "null";
    STARTUPINFOA others = *startup;
    others.cb = 0;
    const bool othersZero = others.lpReserved == nullptr && others.lpDesktop == nullptr &&
                            others.lpTitle == nullptr && others.dwX == 0 && others.dwY == 0 &&
                            others.dwXSize == 0 && others.dwYSize == 0 && others.dwXCountChars == 0 &&
                            others.dwYCountChars == 0 && others.dwFillAttribute == 0 && others.dwFlags == 0 &&
                            others.wShowWindow == 0 && others.cbReserved2 == 0 && others.lpReserved2 == nullptr &&
                            others.hStdInput == nullptr && others.hStdOutput == nullptr &&
                            others.hStdError == nullptr;
    return "startup{cb=" + std::to_string(startup->cb) + (othersZero ? ", rest zero}" : ", rest set}");
}

BOOL WINAPI StandinIsWow64Process(HANDLE hProcess, PBOOL Wow64Process)
{
    standin.calls.push_back("IsWow64Process(" + HandleName(hProcess) + ")");
    if (standin.wow64Query == Wow64Query::Fails) {
        lastError = 5;
        return FALSE;
    }
    *Wow64Process = standin.wow64Flag;
    return standin.wow64QueryResult;
}

}  // namespace

StandinKernel& Standin()
{
    return standin;
}

void ResetStandin()
{
    standin = StandinKernel{};
    lastError = 0;
    installerEnded = false;
}

DWORD WINAPI GetLastError()
{
    standin.calls.push_back("GetLastError()");
    return lastError;
}

LPSTR WINAPI GetCommandLineA()
{
    standin.calls.push_back("GetCommandLineA()");
    if (standin.commandLineMissing) return nullptr;
    return standin.commandLine.data();
}

BOOL WINAPI GetCPInfo(UINT CodePage, LPCPINFO lpCPInfo)
{
    standin.calls.push_back("GetCPInfo(" + std::string(CodePage == CP_ACP ? "CP_ACP" : std::to_string(CodePage)) +
                            ")");
    if (standin.codePageQueryFails) {
        lastError = 87;
        return FALSE;
    }
    std::memset(lpCPInfo, 0, sizeof(CPINFO));
    lpCPInfo->MaxCharSize = standin.leadByteRanges.empty() ? 1 : 2;
    std::size_t at = 0;
    for (const auto& range : standin.leadByteRanges) {
        lpCPInfo->LeadByte[at++] = range.first;
        lpCPInfo->LeadByte[at++] = range.second;
    }
    return TRUE;
}

DWORD WINAPI GetModuleFileNameA(HMODULE hModule, LPSTR lpFilename, DWORD nSize)
{
    standin.calls.push_back("GetModuleFileNameA(" + Pointer(hModule) + ", " + std::to_string(nSize) +
                            (AllZero(lpFilename, nSize) ? ", zeroed" : ", not zeroed") + ")");
    const std::string& path = standin.modulePath;
    if (path.empty()) {
        lastError = standin.moduleFileNameError;
        return 0;
    }
    if (path.size() < nSize) {
        std::memcpy(lpFilename, path.c_str(), path.size() + 1);
        return static_cast<DWORD>(path.size());
    }
    if (standin.modulePathCut == ModulePathCut::WindowsXP) {
        std::memcpy(lpFilename, path.data(), nSize);
    } else {
        std::memcpy(lpFilename, path.data(), nSize - 1);
        lpFilename[nSize - 1] = '\0';
        lastError = 122;
    }
    return nSize;
}

HMODULE WINAPI GetModuleHandleA(LPCSTR lpModuleName)
{
    standin.calls.push_back("GetModuleHandleA(" + Quoted(lpModuleName) + ")");
    return &kernel32Module;
}

FARPROC WINAPI GetProcAddress(HMODULE hModule, LPCSTR lpProcName)
{
    standin.calls.push_back("GetProcAddress(" + std::string(hModule == &kernel32Module ? "kernel32" : "other") +
                            ", " + Quoted(lpProcName) + ")");
    if (hModule != &kernel32Module || std::strcmp(lpProcName, "IsWow64Process") != 0 ||
        standin.wow64Query == Wow64Query::Missing) {
        lastError = 127;
        return nullptr;
    }
    return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(&StandinIsWow64Process));
}

HANDLE WINAPI GetCurrentProcess()
{
    standin.calls.push_back("GetCurrentProcess()");
    return CurrentProcessPseudoHandle;
}

BOOL WINAPI GetVersionExA(LPOSVERSIONINFOA lpVersionInformation)
{
    standin.calls.push_back("GetVersionExA(" + std::to_string(lpVersionInformation->dwOSVersionInfoSize) + ")");
    if (standin.versionQueryFails || lpVersionInformation->dwOSVersionInfoSize != sizeof(OSVERSIONINFOA)) {
        lastError = 122;
        return FALSE;
    }
    lpVersionInformation->dwMajorVersion = standin.majorVersion;
    lpVersionInformation->dwMinorVersion = standin.minorVersion;
    lpVersionInformation->dwBuildNumber = 2600;
    lpVersionInformation->dwPlatformId = standin.platformId;
    std::strcpy(lpVersionInformation->szCSDVersion, "Service Pack 3");
    return TRUE;
}

BOOL WINAPI CreateProcessA(LPCSTR lpApplicationName, LPSTR lpCommandLine,
                           LPSECURITY_ATTRIBUTES lpProcessAttributes, LPSECURITY_ATTRIBUTES lpThreadAttributes,
                           BOOL bInheritHandles, DWORD dwCreationFlags, LPVOID lpEnvironment,
                           LPCSTR lpCurrentDirectory, LPSTARTUPINFOA lpStartupInfo,
                           LPPROCESS_INFORMATION lpProcessInformation)
{
    standin.calls.push_back("CreateProcessA(" + Quoted(lpApplicationName) + ", " + Quoted(lpCommandLine) + ", " +
                            Pointer(lpProcessAttributes) + ", " + Pointer(lpThreadAttributes) + ", " +
                            Flag(bInheritHandles) + ", " + std::to_string(dwCreationFlags) + ", " +
                            Pointer(lpEnvironment) + ", " + Quoted(lpCurrentDirectory) + ", " +
                            StartupRecord(lpStartupInfo) + ", " + Pointer(lpProcessInformation) + ")");
    standin.startedApplicationName = lpApplicationName == nullptr ? "" : lpApplicationName;
    standin.startedCommandLine = lpCommandLine == nullptr ? "" : lpCommandLine;
    if (!standin.startSucceeds) {
        lastError = standin.startError;
        return FALSE;
    }
    lpProcessInformation->hProcess = &installerProcess;
    lpProcessInformation->hThread = &installerThread;
    lpProcessInformation->dwProcessId = 4242;
    lpProcessInformation->dwThreadId = 4243;
    return TRUE;
}

DWORD WINAPI WaitForSingleObject(HANDLE hHandle, DWORD dwMilliseconds)
{
    standin.calls.push_back("WaitForSingleObject(" + HandleName(hHandle) + ", " +
                            (dwMilliseconds == INFINITE ? "INFINITE" : std::to_string(dwMilliseconds)) + ")");
    if (standin.waitResult == WAIT_FAILED) lastError = standin.waitError;
    if (standin.waitResult == WAIT_OBJECT_0 && hHandle == &installerProcess) installerEnded = true;
    return standin.waitResult;
}

BOOL WINAPI GetExitCodeProcess(HANDLE hProcess, LPDWORD lpExitCode)
{
    standin.calls.push_back("GetExitCodeProcess(" + HandleName(hProcess) + ")");
    if (standin.exitCodeQueryFails || hProcess != &installerProcess) {
        lastError = standin.exitCodeQueryError;
        return FALSE;
    }
    *lpExitCode = installerEnded ? standin.installerExitStatus : STILL_ACTIVE;
    return TRUE;
}

BOOL WINAPI CloseHandle(HANDLE hObject)
{
    standin.calls.push_back("CloseHandle(" + HandleName(hObject) + ")");
    return TRUE;
}
