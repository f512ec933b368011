#include "platform_classification.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "standin_kernel.h"

namespace {

struct ClassificationCase {
    const char* name;
    Wow64Query query;
    BOOL flag;
    DWORD platformId;
    DWORD majorVersion;
    DWORD minorVersion;
    int code;
};

const Wow64Query Missing = Wow64Query::Missing;
const Wow64Query Answers = Wow64Query::Answers;
const Wow64Query Fails = Wow64Query::Fails;

class PlatformClassification : public testing::Test {
protected:
    void SetUp() override { ResetStandin(); }
};

TEST_F(PlatformClassification, DecisionTable)
{
    const ClassificationCase cases[] = {
        {"WOW64 on a 64-bit NT 5.2", Answers, TRUE, 2, 5, 2, Wow64},
        {"WOW64 on a 64-bit NT 6.1", Answers, TRUE, 2, 6, 1, Wow64},
        {"WOW64 whatever the version", Answers, TRUE, 1, 4, 0, Wow64},
        {"WOW64 with an unknown version", Answers, TRUE, 0, 0, 0, Wow64},
        {"any nonzero flag counts", Answers, 2, 2, 5, 1, Wow64},
        {"Windows 95", Missing, FALSE, 1, 4, 0, Win95},
        {"Windows 98", Missing, FALSE, 1, 4, 10, Win98},
        {"Windows Me", Missing, FALSE, 1, 4, 90, WinMe},
        {"NT 3.51", Missing, FALSE, 2, 3, 51, WinNT351},
        {"NT 4.0", Missing, FALSE, 2, 4, 0, WinNT4},
        {"Windows 2000", Answers, FALSE, 2, 5, 0, Win2000},
        {"Windows XP", Answers, FALSE, 2, 5, 1, WinXP},
        {"Server 2003", Answers, FALSE, 2, 5, 2, WinServer2003},
        {"NT 6.0", Answers, FALSE, 2, 6, 0, WinNT6},
        {"NT 6.1", Answers, FALSE, 2, 6, 1, WinNT6},
        {"NT 6.2", Answers, FALSE, 2, 6, 2, WinNT6},
        {"NT 6.99", Answers, FALSE, 2, 6, 99, WinNT6},
        {"family 1, 4.3", Missing, FALSE, 1, 4, 3, WinXP},
        {"family 1, 5.0", Missing, FALSE, 1, 5, 0, WinXP},
        {"family 1, 4.1 is not 4.10", Missing, FALSE, 1, 4, 1, WinXP},
        {"NT 3.10", Missing, FALSE, 2, 3, 10, WinXP},
        {"NT 4.1", Answers, FALSE, 2, 4, 1, WinXP},
        {"NT 5.3", Answers, FALSE, 2, 5, 3, WinXP},
        {"NT 7.0", Answers, FALSE, 2, 7, 0, WinXP},
        {"NT 10.0", Answers, FALSE, 2, 10, 0, WinXP},
        {"family 2 numbers under platform 1", Missing, FALSE, 1, 5, 1, WinXP},
        {"platform 0, Win32s", Missing, FALSE, 0, 3, 10, WinXP},
        {"platform 0, version 4.0", Missing, FALSE, 0, 4, 0, WinXP},
        {"platform 3, Windows CE", Missing, FALSE, 3, 6, 0, WinXP},
        {"failing query counts as no WOW64", Fails, TRUE, 2, 5, 2, WinServer2003},
        {"missing query counts as no WOW64", Missing, TRUE, 2, 6, 1, WinNT6},
    };
    for (const ClassificationCase& row : cases) {
        SCOPED_TRACE(row.name);
        ResetStandin();
        StandinKernel& kernel = Standin();
        kernel.wow64Query = row.query;
        kernel.wow64Flag = row.flag;
        kernel.platformId = row.platformId;
        kernel.majorVersion = row.majorVersion;
        kernel.minorVersion = row.minorVersion;
        EXPECT_EQ(ClassifyPlatform(), row.code);
    }
}

// The query's own result is not read: a flag it set is the answer.
TEST_F(PlatformClassification, SetFlagCountsWhateverTheQueryReturns)
{
    Standin().wow64Flag = TRUE;
    Standin().wow64QueryResult = FALSE;
    EXPECT_EQ(ClassifyPlatform(), Wow64);
}

TEST_F(PlatformClassification, NeverYieldsNine)
{
    for (DWORD platform = 0; platform <= 3; ++platform) {
        for (DWORD major = 0; major <= 11; ++major) {
            for (DWORD minor = 0; minor <= 100; ++minor) {
                ResetStandin();
                Standin().platformId = platform;
                Standin().majorVersion = major;
                Standin().minorVersion = minor;
                const int code = ClassifyPlatform();
                ASSERT_NE(code, 9) << platform << " " << major << "." << minor;
                ASSERT_TRUE((code >= 1 && code <= 8) || code == 10) << code;
            }
        }
    }
}

TEST_F(PlatformClassification, AsksTheLoadedKernelThenTheBasicVersionRecord)
{
    Standin().wow64Flag = TRUE;
    EXPECT_EQ(ClassifyPlatform(), Wow64);
    const std::vector<std::string> calls = {
        R"(GetModuleHandleA("kernel32"))",
        R"(GetProcAddress(kernel32, "IsWow64Process"))",
        "GetCurrentProcess()",
        "IsWow64Process(current process)",
        "GetVersionExA(148)",
    };
    EXPECT_EQ(Standin().calls, calls);
}

TEST_F(PlatformClassification, MissingQueryIsNotCalled)
{
    Standin().wow64Query = Wow64Query::Missing;
    Standin().platformId = 1;
    Standin().majorVersion = 4;
    Standin().minorVersion = 0;
    EXPECT_EQ(ClassifyPlatform(), Win95);
    const std::vector<std::string> calls = {
        R"(GetModuleHandleA("kernel32"))",
        R"(GetProcAddress(kernel32, "IsWow64Process"))",
        "GetVersionExA(148)",
    };
    EXPECT_EQ(Standin().calls, calls);
}

TEST_F(PlatformClassification, RefusedVersionQueryClassifiesAsUnknown)
{
    Standin().versionQueryFails = true;
    Standin().platformId = 2;
    Standin().majorVersion = 6;
    EXPECT_EQ(ClassifyPlatform(), WinXP);

    ResetStandin();
    Standin().versionQueryFails = true;
    Standin().wow64Flag = TRUE;
    EXPECT_EQ(ClassifyPlatform(), Wow64);
}

TEST_F(PlatformClassification, KeepsNoState)
{
    Standin().wow64Flag = TRUE;
    EXPECT_EQ(ClassifyPlatform(), Wow64);
    Standin().wow64Flag = FALSE;
    EXPECT_EQ(ClassifyPlatform(), WinXP);
    EXPECT_EQ(ClassifyPlatform(), WinXP);
}

}  // namespace
