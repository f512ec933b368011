#pragma once

#include <string>
#include <vector>

#include "lead_bytes.h"

// Splits a process command line into its argument vector, the program name
// first, by the rules of the Windows C runtime's start-up (the 2008 rules,
// with "" inside quotes giving one double quote). The start-up splits the
// executable's path in place of an empty line; that choice is the caller's.
std::vector<std::string> SplitCommandLine(const std::string& commandLine, const LeadBytes& leadBytes);
