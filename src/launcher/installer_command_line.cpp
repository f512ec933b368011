#include "installer_command_line.h"

const char* const Installer32PathSuffix = "\\32bit\\setup.exe ";
const char* const Installer64PathSuffix = "\\64bit\\setup.exe ";

std::string BuildInstallerCommandLine(const std::string& installerPath, const std::vector<std::string>& arguments)
{
    std::string commandLine = installerPath;
    for (std::size_t index = 1; index < arguments.size(); ++index) {
        commandLine += arguments[index];
        commandLine += ' ';
    }
    return commandLine;
}

std::string InstallerFile(const std::string& installerPath)
{
    return installerPath.substr(0, installerPath.size() - 1);
}
