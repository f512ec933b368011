#pragma once

#include <array>

// Which bytes open a double-byte character in the ANSI code page. Such a
// byte and the one after it form one character; the second may have the
// value of a backslash, a double quote or a blank without being one.
struct LeadBytes {
    std::array<bool, 256> isLead{};
};

bool IsLeadByte(const LeadBytes& leadBytes, char byte);

// The lead bytes of the process's ANSI code page; none in a single-byte one.
LeadBytes ReadAnsiCodePageLeadBytes();
