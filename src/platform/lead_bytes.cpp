#include "lead_bytes.h"

#include "kernel_services.h"

bool IsLeadByte(const LeadBytes& leadBytes, char byte)
{
    return leadBytes.isLead[static_cast<unsigned char>(byte)];
}

LeadBytes ReadAnsiCodePageLeadBytes()
{
    LeadBytes leadBytes;
    CPINFO codePage{};
    if (!GetCPInfo(CP_ACP, &codePage)) return leadBytes;

    // Up to five inclusive ranges, as pairs of bytes, closed by a zero pair.
    for (std::size_t pair = 0; pair + 1 < MAX_LEADBYTES; pair += 2) {
        const unsigned first = codePage.LeadByte[pair];
        const unsigned last = codePage.LeadByte[pair + 1];
        if (first == 0 && last == 0) break;
        for (unsigned byte = first; byte <= last && byte < 256; ++byte) {
            leadBytes.isLead[byte] = true;
        }
    }
    return leadBytes;
}
