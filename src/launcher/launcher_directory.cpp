#include "launcher_directory.h"

std::string LauncherDirectory(const std::string& modulePath, const LeadBytes& leadBytes)
{
    // Searched from the front: in a double-byte code page a trail byte can
    // be 0x5C, and only a walk that knows where each character starts can
    // tell it from a backslash.
    std::size_t end = modulePath.size();
    for (std::size_t at = 0; at < modulePath.size(); ++at) {
        if (modulePath[at] == '\\') {
            end = at;
        } else if (IsLeadByte(leadBytes, modulePath[at])) {
            ++at;
        }
    }
    return modulePath.substr(0, end);
}
