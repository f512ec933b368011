#include "module_path.h"

#include <algorithm>
#include <vector>

#include "kernel_services.h"

namespace {

// The classic path limit, with one byte of the buffer held back so that it
// stays terminated even on systems that do not terminate a path they cut
// short.
const DWORD FirstCapacity = 259;

// Long paths reach 32767 UTF-16 units, twice as many bytes in a
// double-byte code page.
const DWORD LargestCapacity = 65536;

}  // namespace

bool ReadModulePath(std::string& modulePath)
{
    DWORD capacity = FirstCapacity;
    for (;;) {
        std::vector<char> buffer(capacity + 1, '\0');
        const DWORD length = GetModuleFileNameA(nullptr, buffer.data(), capacity);
        if (length == 0) return false;
        if (length < capacity) {
            modulePath.assign(buffer.data(), length);
            return true;
        }
        // A result that fills the capacity means the path was cut short.
        if (capacity == LargestCapacity) return false;
        capacity = std::min(capacity * 2, LargestCapacity);
    }
}
