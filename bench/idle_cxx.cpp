// Does next to nothing, but with strings and vectors, so that the same
// pieces of the static C++ library as in launcher.exe are linked in and
// initialised at start-up.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <string>
#include <vector>

int main()
{
    const std::vector<std::string> lines(1, GetCommandLineA());
    return lines.front().empty() ? 1 : 7;
}
