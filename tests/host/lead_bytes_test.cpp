#include "lead_bytes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "code_page_932.h"
#include "standin_kernel.h"

namespace {

struct ByteCase {
    const char* name;
    unsigned byte;
    bool lead;
};

class LeadBytesOfTheCodePage : public testing::Test {
protected:
    void SetUp() override { ResetStandin(); }
};

void ExpectLeadBytes(const LeadBytes& leadBytes, const std::vector<ByteCase>& cases)
{
    for (const ByteCase& row : cases) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(IsLeadByte(leadBytes, static_cast<char>(row.byte)), row.lead);
    }
}

// Code page 932 as GetCPInfo gives it: two ranges, each with both of its
// ends a lead byte.
TEST_F(LeadBytesOfTheCodePage, ReadsEveryRangeWithBothEnds)
{
    Standin().leadByteRanges = {{0x81, 0x9F}, {0xE0, 0xFC}};
    const LeadBytes leadBytes = ReadAnsiCodePageLeadBytes();
    ExpectLeadBytes(leadBytes, {
        {"just before the first range", 0x80, false},
        {"first range, first byte", 0x81, true},
        {"first range, inside", 0x95, true},
        {"first range, last byte", 0x9F, true},
        {"just after the first range", 0xA0, false},
        {"single-byte katakana between the ranges", 0xB1, false},
        {"just before the second range", 0xDF, false},
        {"second range, first byte", 0xE0, true},
        {"second range, inside", 0xEA, true},
        {"second range, last byte", 0xFC, true},
        {"just after the second range", 0xFD, false},
        {"last byte value", 0xFF, false},
        {"zero", 0x00, false},
        {"backslash", 0x5C, false},
        {"ASCII letter", 0x41, false},
    });
    // The table the splitting and directory tests use is the same one.
    EXPECT_EQ(leadBytes.isLead, CodePage932().isLead);
    EXPECT_EQ(Standin().calls, std::vector<std::string>{"GetCPInfo(CP_ACP)"});
}

TEST_F(LeadBytesOfTheCodePage, ReadsAllFiveRanges)
{
    Standin().leadByteRanges = {{0x81, 0x84}, {0x90, 0x90}, {0xA0, 0xA2}, {0xC0, 0xC1}, {0xFE, 0xFF}};
    ExpectLeadBytes(ReadAnsiCodePageLeadBytes(), {
        {"first range, first byte", 0x81, true},
        {"first range, last byte", 0x84, true},
        {"after the first range", 0x85, false},
        {"one-byte range", 0x90, true},
        {"around the one-byte range", 0x8F, false},
        {"third range, last byte", 0xA2, true},
        {"fourth range, first byte", 0xC0, true},
        {"fourth range, last byte", 0xC1, true},
        {"after the fourth range", 0xC2, false},
        {"fifth range, first byte", 0xFE, true},
        {"fifth range ends at the last byte value", 0xFF, true},
        {"before the fifth range", 0xFD, false},
    });
}

TEST_F(LeadBytesOfTheCodePage, SingleByteOrRefusedQueryHasNone)
{
    const LeadBytes none;
    EXPECT_EQ(ReadAnsiCodePageLeadBytes().isLead, none.isLead);

    ResetStandin();
    Standin().leadByteRanges = {{0x81, 0x9F}, {0xE0, 0xFC}};
    Standin().codePageQueryFails = true;
    EXPECT_EQ(ReadAnsiCodePageLeadBytes().isLead, none.isLead);
}

}  // namespace
