#pragma once

#include <string>
#include <vector>

// Appended to the launcher directory; each keeps its trailing blank, which
// separates the path from the first forwarded argument.
extern const char* const Installer32PathSuffix;
extern const char* const Installer64PathSuffix;

// The installer path, then every argument after the program name, each
// followed by one blank. Nothing is quoted.
std::string BuildInstallerCommandLine(const std::string& installerPath, const std::vector<std::string>& arguments);

// The installer path without its trailing blank: the file to run.
std::string InstallerFile(const std::string& installerPath);
