#pragma once

#include <string>

// The full path of the launcher's own executable. False when the system
// gives none, or none whole even in the largest buffer tried: a path cut
// short would name some other folder.
bool ReadModulePath(std::string& modulePath);
