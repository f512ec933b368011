// The installer stand-in: no C runtime, so that starting it directly costs
// no more than the image and the process. Its status says which folder it
// was started from, and whether the arguments came through, so that a
// broken start path can never pass for a fast one.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "bare_command_line.h"

namespace {

const char ExpectedArgument[] = "--bench-arg";
const UINT WrongArguments = 2;

// Exactly the one argument, with trailing blanks allowed: the launcher ends
// every forwarded argument with one.
bool HasExpectedArgument(const char* arguments)
{
    const char* expected = ExpectedArgument;
    while (*expected != '\0' && *arguments == *expected) {
        ++expected;
        ++arguments;
    }
    if (*expected != '\0') return false;
    while (bare::IsBlank(*arguments)) ++arguments;
    return *arguments == '\0';
}

}  // namespace

extern "C" __attribute__((noreturn)) void SetupStart()
{
    const char* const arguments = bare::SkipProgramName(GetCommandLineA());
    ExitProcess(HasExpectedArgument(arguments) ? SETUP_STATUS : WrongArguments);
}
