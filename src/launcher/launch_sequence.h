#pragma once

#include <cstdio>

// Starts the installer build that matches the running Windows, from the
// launcher's own folder, with the launcher's arguments; waits for it to end.
// Returns the installer's exit status, or the system's error code (never 0)
// when it could not be started, after writing the failure line to output.
// When the wait fails the installer's status is not known: the wait's error
// code is returned (never 0 nor 259, STILL_ACTIVE) and no line is written.
int RunLauncher(std::FILE* output);
