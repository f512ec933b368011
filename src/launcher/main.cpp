#include <cstdio>

#include "launch_sequence.h"

// The argument vector of the C runtime is not used: the launcher reads the
// command line itself.
int main()
{
    return RunLauncher(stdout);
}
