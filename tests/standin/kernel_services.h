// The kernel services the launcher calls, declared for the host build with
// the platform's names, signatures and record layouts. The stand-in kernel
// (standin_kernel.cpp) provides them and does what a test asks of it.
#pragma once

#include <cstdint>

#define WINAPI

using BOOL = int;
using BYTE = unsigned char;
using UINT = unsigned int;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using HANDLE = void*;
using HMODULE = struct StandinModule*;
using LPVOID = void*;
using LPSTR = char*;
using LPCSTR = const char*;
using LPBYTE = BYTE*;
using PBOOL = BOOL*;
using LPDWORD = DWORD*;
using FARPROC = std::intptr_t(WINAPI*)();

const BOOL FALSE = 0;
const BOOL TRUE = 1;
const DWORD INFINITE = 0xFFFFFFFF;
const DWORD WAIT_OBJECT_0 = 0;
const DWORD WAIT_TIMEOUT = 258;
const DWORD WAIT_FAILED = 0xFFFFFFFF;
const DWORD STILL_ACTIVE = 259;
const UINT CP_ACP = 0;
const int MAX_LEADBYTES = 12;
const int MAX_DEFAULTCHAR = 2;

struct CPINFO {
    UINT MaxCharSize;
    BYTE DefaultChar[MAX_DEFAULTCHAR];
    BYTE LeadByte[MAX_LEADBYTES];
};
using LPCPINFO = CPINFO*;

struct OSVERSIONINFOA {
    DWORD dwOSVersionInfoSize;
    DWORD dwMajorVersion;
    DWORD dwMinorVersion;
    DWORD dwBuildNumber;
    DWORD dwPlatformId;
    char szCSDVersion[128];
};
using LPOSVERSIONINFOA = OSVERSIONINFOA*;

struct SECURITY_ATTRIBUTES {
    DWORD nLength;
    LPVOID lpSecurityDescriptor;
    BOOL bInheritHandle;
};
using LPSECURITY_ATTRIBUTES = SECURITY_ATTRIBUTES*;

struct STARTUPINFOA {
    DWORD cb;
    LPSTR lpReserved;
    LPSTR lpDesktop;
    LPSTR lpTitle;
    DWORD dwX;
    DWORD dwY;
    DWORD dwXSize;
    DWORD dwYSize;
    DWORD dwXCountChars;
    DWORD dwYCountChars;
    DWORD dwFillAttribute;
    DWORD dwFlags;
    WORD wShowWindow;
    WORD cbReserved2;
    LPBYTE lpReserved2;
    HANDLE hStdInput;
    HANDLE hStdOutput;
    HANDLE hStdError;
};
using LPSTARTUPINFOA = STARTUPINFOA*;

struct PROCESS_INFORMATION {
    HANDLE hProcess;
    HANDLE hThread;
    DWORD dwProcessId;
    DWORD dwThreadId;
};
using LPPROCESS_INFORMATION = PROCESS_INFORMATION*;

DWORD WINAPI GetLastError();
LPSTR WINAPI GetCommandLineA();
BOOL WINAPI GetCPInfo(UINT CodePage, LPCPINFO lpCPInfo);
DWORD WINAPI GetModuleFileNameA(HMODULE hModule, LPSTR lpFilename, DWORD nSize);
HMODULE WINAPI GetModuleHandleA(LPCSTR lpModuleName);
FARPROC WINAPI GetProcAddress(HMODULE hModule, LPCSTR lpProcName);
HANDLE WINAPI GetCurrentProcess();
BOOL WINAPI GetVersionExA(LPOSVERSIONINFOA lpVersionInformation);
BOOL WINAPI CreateProcessA(LPCSTR lpApplicationName, LPSTR lpCommandLine,
                           LPSECURITY_ATTRIBUTES lpProcessAttributes, LPSECURITY_ATTRIBUTES lpThreadAttributes,
                           BOOL bInheritHandles, DWORD dwCreationFlags, LPVOID lpEnvironment,
                           LPCSTR lpCurrentDirectory, LPSTARTUPINFOA lpStartupInfo,
                           LPPROCESS_INFORMATION lpProcessInformation);
DWORD WINAPI WaitForSingleObject(HANDLE hHandle, DWORD dwMilliseconds);
BOOL WINAPI GetExitCodeProcess(HANDLE hProcess, LPDWORD lpExitCode);
BOOL WINAPI CloseHandle(HANDLE hObject);
