#pragma once

#include <string>

#include "lead_bytes.h"

// The module path up to its last backslash, or all of it when it has none.
// A forward slash does not separate.
std::string LauncherDirectory(const std::string& modulePath, const LeadBytes& leadBytes);
