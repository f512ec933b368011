#pragma once

#include "lead_bytes.h"

// The lead bytes of code page 932: 0x81 to 0x9F and 0xE0 to 0xFC.
inline LeadBytes CodePage932()
{
    LeadBytes leadBytes;
    for (unsigned byte = 0x81; byte <= 0x9F; ++byte) leadBytes.isLead[byte] = true;
    for (unsigned byte = 0xE0; byte <= 0xFC; ++byte) leadBytes.isLead[byte] = true;
    return leadBytes;
}
