// Splits fuzzed command lines, builds the installer's command line from them
// and searches fuzzed module paths for the launcher's folder, under lead-byte
// tables drawn from the same input, and checks what must hold for any input.
//
// An input is read as: one byte giving the number of lead-byte ranges (its
// value modulo 6), two bytes for each range (first and last byte, as
// GetCPInfo gives them), then the command line up to the first zero byte,
// then the module path up to the next zero byte or the end. The ranges are
// moved into the upper half: no code page of Windows has a lead byte below
// 0x80, so a blank, a quote or a backslash is always one when it opens a
// character, and can only be the second byte of one. The seeds in seeds/
// are the rows of the host tests' tables in this form.
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "command_line_split.h"
#include "installer_command_line.h"
#include "launcher_directory.h"
#include "lead_bytes.h"
#include "standin_kernel.h"

namespace {

struct FuzzInput {
    std::vector<std::pair<BYTE, BYTE>> leadByteRanges;
    std::string commandLine;
    std::string modulePath;
};

FuzzInput ReadFuzzInput(const std::uint8_t* data, std::size_t size)
{
    FuzzInput input;
    std::size_t at = 0;
    const std::size_t ranges = size > 0 ? data[at++] % 6u : 0;
    for (std::size_t range = 0; range < ranges && at + 1 < size; ++range, at += 2) {
        input.leadByteRanges.emplace_back(static_cast<BYTE>(data[at] | 0x80u), static_cast<BYTE>(data[at + 1] | 0x80u));
    }
    // The system's strings end at a zero byte, so none holds one.
    while (at < size && data[at] != 0) input.commandLine += static_cast<char>(data[at++]);
    if (at < size) ++at;
    while (at < size && data[at] != 0) input.modulePath += static_cast<char>(data[at++]);
    return input;
}

void Require(bool holds, const char* property)
{
    if (holds) return;
    std::fprintf(stderr, "Broken: %s\n", property);
    std::abort();
}

// Every range is read, each with both its ends.
void CheckLeadBytes(const FuzzInput& input, const LeadBytes& leadBytes)
{
    std::array<bool, 256> expected{};
    for (const auto& [first, last] : input.leadByteRanges) {
        for (unsigned byte = first; byte <= last; ++byte) expected[byte] = true;
    }
    Require(leadBytes.isLead == expected, "the lead bytes are those of the code page's ranges");
}

void CheckSplit(const std::string& commandLine, const std::vector<std::string>& arguments)
{
    Require(!arguments.empty(), "there is always a program name");
    // Every byte of the line gives at most one byte of one argument.
    std::size_t total = 0;
    for (const std::string& argument : arguments) {
        Require(argument.size() <= commandLine.size(), "no argument is longer than the line");
        total += argument.size();
    }
    Require(total <= commandLine.size(), "the arguments together are no longer than the line");
    Require(arguments.size() - 1 <= commandLine.size(), "each argument after the name takes a byte of the line");
}

void CheckInstallerCommandLine(const std::string& installerPath, const std::vector<std::string>& arguments)
{
    const std::string commandLine = BuildInstallerCommandLine(installerPath, arguments);
    Require(commandLine.compare(0, installerPath.size(), installerPath) == 0, "the line starts with the path");
    std::size_t at = installerPath.size();
    for (std::size_t index = 1; index < arguments.size(); ++index) {
        const std::string& argument = arguments[index];
        Require(commandLine.compare(at, argument.size(), argument) == 0, "each argument follows, as split");
        at += argument.size();
        Require(at < commandLine.size() && commandLine[at] == ' ', "each argument is followed by one blank");
        ++at;
    }
    Require(at == commandLine.size(), "nothing follows the last argument's blank");
    Require(InstallerFile(installerPath) + ' ' == installerPath, "the file is the path without its blank");
}

// Which bytes are the second of a double-byte character, worked out from the
// byte before each, apart from the launcher's own walk.
std::vector<bool> TrailBytes(const std::string& text, const LeadBytes& leadBytes)
{
    std::vector<bool> trail(text.size(), false);
    for (std::size_t at = 1; at < text.size(); ++at) {
        trail[at] = !trail[at - 1] && IsLeadByte(leadBytes, text[at - 1]);
    }
    return trail;
}

void CheckDirectory(const std::string& modulePath, const LeadBytes& leadBytes, const std::string& directory)
{
    Require(modulePath.compare(0, directory.size(), directory) == 0, "the folder is a prefix of the path");
    const std::vector<bool> trail = TrailBytes(modulePath, leadBytes);
    std::size_t lastBackslash = modulePath.size();
    for (std::size_t at = 0; at < modulePath.size(); ++at) {
        if (modulePath[at] == '\\' && !trail[at]) lastBackslash = at;
    }
    Require(directory.size() == lastBackslash,
            "the folder ends before the last real backslash, never a trail byte, or is the whole path");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const FuzzInput input = ReadFuzzInput(data, size);

    ResetStandin();
    Standin().leadByteRanges = input.leadByteRanges;
    const LeadBytes leadBytes = ReadAnsiCodePageLeadBytes();
    CheckLeadBytes(input, leadBytes);

    const std::vector<std::string> arguments = SplitCommandLine(input.commandLine, leadBytes);
    CheckSplit(input.commandLine, arguments);

    const std::string directory = LauncherDirectory(input.modulePath, leadBytes);
    CheckDirectory(input.modulePath, leadBytes, directory);

    for (const char* suffix : {Installer32PathSuffix, Installer64PathSuffix}) {
        CheckInstallerCommandLine(directory + suffix, arguments);
    }
    return 0;
}
