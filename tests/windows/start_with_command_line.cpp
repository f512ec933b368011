// Starts a program with an exact application name, command line and current
// directory, read from a request file (three fields, each closed by a zero
// byte; an empty application name leaves the system to find the program in
// the command line, and an empty directory means the driver's own). The
// program's standard output and standard error go to REQUEST.stdout and
// REQUEST.stderr, and REQUEST.status receives its exit status and how long
// it ran, in milliseconds, or "failed" and the error of a refused start.
// With DRIVER_UTF8 set, the fields are UTF-8 and the start is a Unicode one
// (CreateProcessW), so that a name outside the ANSI code page can be given.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

bool ReadFileBytes(const std::string& path, std::string& bytes)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return false;
    char buffer[4096];
    std::size_t count = 0;
    while ((count = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes.append(buffer, count);
    std::fclose(file);
    return true;
}

void WriteText(const std::string& path, const std::string& text)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return;
    std::fwrite(text.data(), 1, text.size(), file);
    std::fclose(file);
}

HANDLE CreateInheritable(const std::string& path, DWORD access, DWORD disposition)
{
    SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    return CreateFileA(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, &inheritable, disposition,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

std::wstring Wide(const std::string& utf8)
{
    const int size = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), &wide[0], size);
    return wide;
}

BOOL StartUnicode(const std::vector<std::string>& fields, const STARTUPINFOA& startup, PROCESS_INFORMATION& process)
{
    const std::wstring applicationName = Wide(fields[0]);
    std::wstring commandLine = Wide(fields[1]);
    const std::wstring currentDirectory = Wide(fields[2]);
    STARTUPINFOW startupW{};
    startupW.cb = sizeof startupW;
    startupW.dwFlags = startup.dwFlags;
    startupW.hStdInput = startup.hStdInput;
    startupW.hStdOutput = startup.hStdOutput;
    startupW.hStdError = startup.hStdError;
    return CreateProcessW(applicationName.empty() ? nullptr : applicationName.c_str(), &commandLine[0], nullptr,
                          nullptr, TRUE, 0, nullptr, currentDirectory.empty() ? nullptr : currentDirectory.c_str(),
                          &startupW, &process);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) return 2;
    const std::string request = argv[1];
    std::string bytes;
    if (!ReadFileBytes(request, bytes)) return 2;

    std::vector<std::string> fields;
    std::size_t start = 0;
    for (std::size_t end; (end = bytes.find('\0', start)) != std::string::npos; start = end + 1) {
        fields.push_back(bytes.substr(start, end - start));
    }
    if (fields.size() != 3) return 2;
    const char* const applicationName = fields[0].empty() ? nullptr : fields[0].c_str();
    std::vector<char> commandLine(fields[1].begin(), fields[1].end());
    commandLine.push_back('\0');
    const char* const currentDirectory = fields[2].empty() ? nullptr : fields[2].c_str();

    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = CreateInheritable("NUL", GENERIC_READ, OPEN_EXISTING);
    startup.hStdOutput = CreateInheritable(request + ".stdout", GENERIC_WRITE, CREATE_ALWAYS);
    startup.hStdError = CreateInheritable(request + ".stderr", GENERIC_WRITE, CREATE_ALWAYS);

    LARGE_INTEGER frequency, started, ended;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&started);
    PROCESS_INFORMATION process{};
    const BOOL startAccepted = GetEnvironmentVariableA("DRIVER_UTF8", nullptr, 0) != 0
                             ? StartUnicode(fields, startup, process)
                             : CreateProcessA(applicationName, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                              currentDirectory, &startup, &process);
    if (!startAccepted) {
        WriteText(request + ".status", "failed " + std::to_string(GetLastError()));
        return 1;
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    QueryPerformanceCounter(&ended);
    DWORD status = 0;
    GetExitCodeProcess(process.hProcess, &status);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    CloseHandle(startup.hStdOutput);
    CloseHandle(startup.hStdError);
    const long long milliseconds = (ended.QuadPart - started.QuadPart) * 1000 / frequency.QuadPart;
    WriteText(request + ".status", std::to_string(status) + " " + std::to_string(milliseconds));
    return 0;
}
