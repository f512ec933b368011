#include "module_path.h"

#include <algorithm>
#include <vector>

#include "kernel_services.h"

namespace {

// The classic path limit, with one byte held back so that the buffer stays
// terminated even on systems that do not terminate a path they cut short.
const std::size_t FirstBufferSize = 260;

// Long paths reach 32767 UTF-16 units, twice as many bytes in a
// double-byte code page.
const std::size_t LargestBufferSize = 65536 + 1;

}  // namespace

bool ReadModulePath(std::string& modulePath)
{
    std::vector<char> buffer(FirstBufferSize, '\0');
    for (;;) {
        const DWORD capacity = static_cast<DWORD>(buffer.size() - 1);
        const DWORD length = GetModuleFileNameA(nullptr, buffer.data(), capacity);
        if (length == 0) return false;
        if (length < capacity) {
            modulePath.assign(buffer.data(), length);
            return true;
        }
        // A result that fills the capacity means the path was cut short.
        if (buffer.size() >= LargestBufferSize) return false;
        buffer.assign(std::min((buffer.size() - 1) * 2, LargestBufferSize - 1) + 1, '\0');
    }
}
