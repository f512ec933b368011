// Command-line helpers for the programs built without any C runtime: the
// installer stand-in and the floor launcher.
#pragma once

namespace bare {

inline bool IsBlank(char byte)
{
    return byte == ' ' || byte == '\t';
}

// The program name is a path: a double quote only switches quoting, and it
// ends at the first blank outside quotes. Returns what follows it, blanks
// skipped.
inline const char* SkipProgramName(const char* line)
{
    bool quoted = false;
    while (*line != '\0' && (quoted || !IsBlank(*line))) {
        if (*line == '"') quoted = !quoted;
        ++line;
    }
    while (IsBlank(*line)) ++line;
    return line;
}

}  // namespace bare
