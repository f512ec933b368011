#include "launch_sequence.h"

#include <string>
#include <vector>

#include "command_line_split.h"
#include "installer_command_line.h"
#include "kernel_services.h"
#include "launcher_directory.h"
#include "lead_bytes.h"
#include "module_path.h"
#include "platform_classification.h"

namespace {

// Deployment tools read the exit status, so a failure must never read as 0.
int LastErrorStatus()
{
    const DWORD error = GetLastError();
    return error == 0 ? 1 : static_cast<int>(error);
}

int ReportStartFailure(std::FILE* output)
{
    // Read before the write, which may set an error of its own.
    const int status = LastErrorStatus();
    std::fputs("Could not start the installer\n", output);
    std::fflush(output);
    return status;
}

// A wait that did not end with the installer's exit leaves it running, and
// its exit code would still read STILL_ACTIVE (259). Neither that nor 0 may
// pass for the installer's status: the wait's error code is reported, and 1
// in place of none or of an error code that happens to be 259.
int WaitFailureStatus()
{
    const DWORD error = GetLastError();
    return error == 0 || error == STILL_ACTIVE ? 1 : static_cast<int>(error);
}

// The start-up of the C runtime splits the executable's path when the
// system gives an empty command line; so does the launcher.
std::string ProcessCommandLine(const std::string& modulePath)
{
    const char* const commandLine = GetCommandLineA();
    if (commandLine == nullptr || *commandLine == '\0') return modulePath;
    return commandLine;
}

}  // namespace

int RunLauncher(std::FILE* output)
{
    const LeadBytes leadBytes = ReadAnsiCodePageLeadBytes();

    std::string modulePath;
    if (!ReadModulePath(modulePath)) return ReportStartFailure(output);

    const std::string launcherDirectory = LauncherDirectory(modulePath, leadBytes);
    const std::string installer32Path = launcherDirectory + Installer32PathSuffix;
    const std::string installer64Path = launcherDirectory + Installer64PathSuffix;
    const std::string& installerPath = ClassifyPlatform() == Wow64 ? installer64Path : installer32Path;

    // The runtime this program links splits by older rules, so the launcher
    // splits the line itself.
    const std::vector<std::string> arguments = SplitCommandLine(ProcessCommandLine(modulePath), leadBytes);
    const std::string commandLine = BuildInstallerCommandLine(installerPath, arguments);

    // CreateProcessA may write into the command line it is given.
    std::vector<char> writableCommandLine(commandLine.begin(), commandLine.end());
    writableCommandLine.push_back('\0');

    // Naming the file keeps the system from resolving the unquoted line,
    // which in a folder such as "D:\Disc One" would first try "D:\Disc.exe".
    const std::string installerFile = InstallerFile(installerPath);

    STARTUPINFOA startup{};
    startup.cb = sizeof(STARTUPINFOA);
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(installerFile.c_str(), writableCommandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process)) {
        return ReportStartFailure(output);
    }

    int status = 0;
    if (WaitForSingleObject(process.hProcess, INFINITE) != WAIT_OBJECT_0) {
        status = WaitFailureStatus();
    } else {
        DWORD installerStatus = 0;
        status = GetExitCodeProcess(process.hProcess, &installerStatus) ? static_cast<int>(installerStatus)
                                                                        : LastErrorStatus();
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return status;
}
