// A stand-in installer. It appends to the file named by STANDIN_RECORD what
// it was given: its own path, its command line byte for byte, its current
// directory, the ANSI code page it runs in, its pointer width in bits (32
// or 64: which of its builds ran) and its command line as the system holds
// it, in UTF-16, written as UTF-8; sleeps STANDIN_SLEEP_MS;
// appends that it ended; and exits with STANDIN_EXIT_STATUS. With
// STANDIN_ECHO set it also says so on its console.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::string Environment(const char* name)
{
    char value[4096];
    const DWORD length = GetEnvironmentVariableA(name, value, sizeof value);
    if (length == 0 || length >= sizeof value) return "";
    return std::string(value, length);
}

void Append(const std::string& recordFile, const std::string& text)
{
    if (recordFile.empty()) return;
    const HANDLE file = CreateFileA(recordFile.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
}

std::string Utf8(const wchar_t* text)
{
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1) return "";
    std::string converted(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, &converted[0], size, nullptr, nullptr);
    converted.resize(static_cast<std::size_t>(size - 1));
    return converted;
}

}  // namespace

int main()
{
    char modulePath[MAX_PATH * 4] = {};
    GetModuleFileNameA(nullptr, modulePath, sizeof modulePath - 1);
    char currentDirectory[MAX_PATH * 4] = {};
    GetCurrentDirectoryA(sizeof currentDirectory - 1, currentDirectory);
    const std::string commandLine = GetCommandLineA();

    const std::string recordFile = Environment("STANDIN_RECORD");
    Append(recordFile, std::string("started\x1f") + modulePath + "\x1f" + commandLine + "\x1f" + currentDirectory +
                           "\x1f" + std::to_string(GetACP()) + "\x1f" + std::to_string(8 * sizeof(void*)) + "\x1f" +
                           Utf8(GetCommandLineW()) + "\n");
    if (!Environment("STANDIN_ECHO").empty()) {
        std::printf("  installer %s\n  command line [%s]\n  current directory %s\n", modulePath, commandLine.c_str(),
                    currentDirectory);
        std::fflush(stdout);
    }

    Sleep(static_cast<DWORD>(std::strtoul(Environment("STANDIN_SLEEP_MS").c_str(), nullptr, 10)));
    Append(recordFile, std::string("ended\x1f") + modulePath + "\n");
    return static_cast<int>(std::strtoul(Environment("STANDIN_EXIT_STATUS").c_str(), nullptr, 10));
}
