#include "command_line_split.h"

namespace {

bool IsSeparator(char byte)
{
    return byte == ' ' || byte == '\t';
}

// The program name is a path: backslashes in it are plain, and a double
// quote only switches quoting.
std::size_t SplitProgramName(const std::string& line, const LeadBytes& leadBytes, std::string& programName)
{
    bool quoted = false;
    std::size_t at = 0;
    while (at < line.size()) {
        const char byte = line[at];
        if (!quoted && IsSeparator(byte)) break;
        if (byte == '"') {
            quoted = !quoted;
            ++at;
        } else if (IsLeadByte(leadBytes, byte) && at + 1 < line.size()) {
            programName.append(line, at, 2);
            at += 2;
        } else {
            programName += byte;
            ++at;
        }
    }
    return at;
}

std::size_t SplitArgument(const std::string& line, std::size_t at, const LeadBytes& leadBytes, std::string& argument)
{
    bool quoted = false;
    while (at < line.size()) {
        const char byte = line[at];
        if (!quoted && IsSeparator(byte)) break;
        if (byte == '\\') {
            std::size_t backslashes = 0;
            while (at < line.size() && line[at] == '\\') {
                ++backslashes;
                ++at;
            }
            if (at < line.size() && line[at] == '"') {
                argument.append(backslashes / 2, '\\');
                if (backslashes % 2 == 1) {
                    argument += '"';
                    ++at;
                }
                // With an even run the quote is read on the next turn.
            } else {
                argument.append(backslashes, '\\');
            }
        } else if (byte == '"') {
            if (quoted && at + 1 < line.size() && line[at + 1] == '"') {
                argument += '"';
                at += 2;
            } else {
                quoted = !quoted;
                ++at;
            }
        } else if (IsLeadByte(leadBytes, byte) && at + 1 < line.size()) {
            argument.append(line, at, 2);
            at += 2;
        } else {
            // A lead byte with nothing after it is kept as it is.
            argument += byte;
            ++at;
        }
    }
    return at;
}

}  // namespace

std::vector<std::string> SplitCommandLine(const std::string& commandLine, const LeadBytes& leadBytes)
{
    std::vector<std::string> arguments(1);
    std::size_t at = SplitProgramName(commandLine, leadBytes, arguments.front());
    for (;;) {
        while (at < commandLine.size() && IsSeparator(commandLine[at])) ++at;
        if (at == commandLine.size()) break;
        arguments.emplace_back();
        at = SplitArgument(commandLine, at, leadBytes, arguments.back());
    }
    return arguments;
}
