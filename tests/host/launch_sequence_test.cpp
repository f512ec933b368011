#include "launch_sequence.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "standin_kernel.h"

namespace {

const std::string FailureLine = "Could not start the installer\n";

// Collects what the launcher writes; only what it flushed is visible, since
// a memory stream publishes its contents on flush.
class LaunchSequence : public testing::Test {
protected:
    void SetUp() override
    {
        ResetStandin();
        output = open_memstream(&outputBytes, &outputSize);
        ASSERT_NE(output, nullptr);
    }

    void TearDown() override
    {
        std::fclose(output);
        std::free(outputBytes);
    }

    std::string FlushedOutput() const { return std::string(outputBytes, outputSize); }

    // A 32-bit Windows XP by default; these make it a 64-bit system.
    static void RunOn64BitWindows() { Standin().wow64Flag = TRUE; }

    // The last count calls, or all of them when fewer were made: a sequence
    // cut short then fails the comparison instead of reading before the list.
    static std::vector<std::string> LastCalls(std::size_t count)
    {
        const std::vector<std::string>& calls = Standin().calls;
        const std::size_t from = calls.size() > count ? calls.size() - count : 0;
        return std::vector<std::string>(calls.begin() + static_cast<std::ptrdiff_t>(from), calls.end());
    }

    static std::string StartCall(const std::string& applicationName, const std::string& commandLine)
    {
        return "CreateProcessA(\"" + applicationName + "\", \"" + commandLine +
               "\", null, null, FALSE, 0, null, null, startup{cb=" + std::to_string(sizeof(STARTUPINFOA)) +
               ", rest zero}, pointer)";
    }

    std::FILE* output = nullptr;
    char* outputBytes = nullptr;
    std::size_t outputSize = 0;
};

TEST_F(LaunchSequence, StartsTheInstallerAndWaitsForIt)
{
    RunOn64BitWindows();
    Standin().commandLine = R"(launcher.exe /s /v:x)";
    EXPECT_EQ(RunLauncher(output), 0);

    const std::vector<std::string> calls = {
        "GetCPInfo(CP_ACP)",
        "GetModuleFileNameA(null, 259, zeroed)",
        R"(GetModuleHandleA("kernel32"))",
        R"(GetProcAddress(kernel32, "IsWow64Process"))",
        "GetCurrentProcess()",
        "IsWow64Process(current process)",
        "GetVersionExA(148)",
        "GetCommandLineA()",
        StartCall(R"(D:\media\64bit\setup.exe)", R"(D:\media\64bit\setup.exe /s /v:x )"),
        "WaitForSingleObject(installer process, INFINITE)",
        "GetExitCodeProcess(installer process)",
        "CloseHandle(installer thread)",
        "CloseHandle(installer process)",
    };
    EXPECT_EQ(Standin().calls, calls);
    EXPECT_EQ(FlushedOutput(), "");
}

TEST_F(LaunchSequence, SelectsTheBuildByPlatformCode)
{
    struct SelectionCase {
        const char* name;
        BOOL wow64Flag;
        DWORD platformId, majorVersion, minorVersion;
        std::string installer;
    };
    const SelectionCase cases[] = {
        {"11: WOW64 on NT 6.2", TRUE, 2, 6, 2, R"(D:\media\64bit\setup.exe)"},
        {"11: WOW64 on NT 5.2", TRUE, 2, 5, 2, R"(D:\media\64bit\setup.exe)"},
        {"1: Windows 95", FALSE, 1, 4, 0, R"(D:\media\32bit\setup.exe)"},
        {"2: Windows 98", FALSE, 1, 4, 10, R"(D:\media\32bit\setup.exe)"},
        {"3: Windows Me", FALSE, 1, 4, 90, R"(D:\media\32bit\setup.exe)"},
        {"4: NT 3.51", FALSE, 2, 3, 51, R"(D:\media\32bit\setup.exe)"},
        {"5: NT 4.0", FALSE, 2, 4, 0, R"(D:\media\32bit\setup.exe)"},
        {"6: Windows 2000", FALSE, 2, 5, 0, R"(D:\media\32bit\setup.exe)"},
        {"7: Windows XP", FALSE, 2, 5, 1, R"(D:\media\32bit\setup.exe)"},
        {"7: unknown", FALSE, 0, 0, 0, R"(D:\media\32bit\setup.exe)"},
        {"8: Server 2003", FALSE, 2, 5, 2, R"(D:\media\32bit\setup.exe)"},
        {"10: NT 6.1", FALSE, 2, 6, 1, R"(D:\media\32bit\setup.exe)"},
    };
    for (const SelectionCase& row : cases) {
        SCOPED_TRACE(row.name);
        ResetStandin();
        Standin().commandLine = "launcher.exe";
        Standin().wow64Flag = row.wow64Flag;
        Standin().platformId = row.platformId;
        Standin().majorVersion = row.majorVersion;
        Standin().minorVersion = row.minorVersion;
        EXPECT_EQ(RunLauncher(output), 0);
        EXPECT_EQ(Standin().startedApplicationName, row.installer);
        EXPECT_EQ(Standin().startedCommandLine, row.installer + " ");
    }
}

TEST_F(LaunchSequence, ForwardsTheArgumentsAsSplitEachFollowedByABlank)
{
    struct ForwardingCase {
        const char* name;
        std::string launcherCommandLine;
        std::string installerCommandLine;
    };
    const std::string installer = R"(D:\media\32bit\setup.exe )";
    const ForwardingCase cases[] = {
        {"no arguments", "launcher.exe", installer},
        {"no arguments, quoted name", R"("D:\media\launcher.exe")", installer},
        {"two switches", "launcher.exe /s /v:x", installer + "/s /v:x "},
        {"blanks between arguments collapse", "launcher.exe  /s\t\t/v:x   ", installer + "/s /v:x "},
        {"a quoted argument loses its quotes", R"(launcher.exe "C:\My Files")", installer + R"(C:\My Files )"},
        {"an empty argument adds a blank", R"(launcher.exe "" /s)", installer + " /s "},
        {"an escaped quote is forwarded as a quote", R"(launcher.exe a\"b)", installer + R"(a"b )"},
        {"doubled quote inside quotes", R"(launcher.exe "a""b c")", installer + R"(a"b c )"},
        {"folder with its quote escaped", R"(launcher.exe "C:\My Dir\" /s)", installer + R"(C:\My Dir" /s )"},
        {"folder with its backslash doubled", R"(launcher.exe "C:\My Dir\\" /s)", installer + R"(C:\My Dir\ /s )"},
        {"quotes inside an unquoted argument", R"(launcher.exe a"b"c)", installer + "abc "},
        {"a leading blank forwards the program name", " launcher.exe /s", installer + "launcher.exe /s "},
        {"backslashes not before a quote", R"(launcher.exe C:\a\\b\)", installer + R"(C:\a\\b\ )"},
        {"the name's escape rules differ from the arguments'", R"(e"ch\"o x)", installer + "x "},
    };
    for (const ForwardingCase& row : cases) {
        SCOPED_TRACE(row.name);
        ResetStandin();
        Standin().commandLine = row.launcherCommandLine;
        EXPECT_EQ(RunLauncher(output), 0);
        EXPECT_EQ(Standin().startedCommandLine, row.installerCommandLine);
    }
}

TEST_F(LaunchSequence, EmptyCommandLineSplitsTheExecutablePath)
{
    struct EmptyLineCase {
        const char* name;
        bool missing;
        std::string modulePath;
        std::string installerCommandLine;
    };
    const EmptyLineCase cases[] = {
        {"empty, path with blanks", false, R"(C:\Program Files\Disc One\launcher.exe)",
         R"(C:\Program Files\Disc One\32bit\setup.exe Files\Disc One\launcher.exe )"},
        {"empty, path without blanks", false, R"(D:\media\launcher.exe)", R"(D:\media\32bit\setup.exe )"},
        {"missing, path with blanks", true, R"(D:\Disc One\launcher.exe)",
         R"(D:\Disc One\32bit\setup.exe One\launcher.exe )"},
    };
    for (const EmptyLineCase& row : cases) {
        SCOPED_TRACE(row.name);
        ResetStandin();
        Standin().commandLine = "";
        Standin().commandLineMissing = row.missing;
        Standin().modulePath = row.modulePath;
        EXPECT_EQ(RunLauncher(output), 0);
        EXPECT_EQ(Standin().startedCommandLine, row.installerCommandLine);
    }
}

TEST_F(LaunchSequence, InstallerPathsComeFromTheLauncherDirectory)
{
    struct PathCase {
        const char* name;
        std::string modulePath;
        bool wow64;
        std::string applicationName;
    };
    const PathCase cases[] = {
        {"drive root, 64-bit", R"(D:\launcher.exe)", true, R"(D:\64bit\setup.exe)"},
        {"drive root, 32-bit", R"(D:\launcher.exe)", false, R"(D:\32bit\setup.exe)"},
        {"network share", R"(\\server\share\disc\launcher.exe)", true, R"(\\server\share\disc\64bit\setup.exe)"},
        {"forward slash is part of the name", R"(D:\media/launcher.exe)", false, R"(D:\32bit\setup.exe)"},
    };
    for (const PathCase& row : cases) {
        SCOPED_TRACE(row.name);
        ResetStandin();
        Standin().modulePath = row.modulePath;
        Standin().wow64Flag = row.wow64 ? TRUE : FALSE;
        EXPECT_EQ(RunLauncher(output), 0);
        EXPECT_EQ(Standin().startedApplicationName, row.applicationName);
        EXPECT_EQ(Standin().startedCommandLine, row.applicationName + " ");
    }
}

// Without an application name the system resolves "D:\Disc One\32bit..." by
// trying "D:\Disc.exe" first; naming the file leaves it nothing to resolve.
TEST_F(LaunchSequence, NamesTheInstallerFileSoAFolderWithBlanksIsNotSearched)
{
    Standin().modulePath = R"(D:\Disc One\launcher.exe)";
    Standin().commandLine = R"("D:\Disc One\launcher.exe" /s)";
    EXPECT_EQ(RunLauncher(output), 0);
    EXPECT_EQ(Standin().startedApplicationName, R"(D:\Disc One\32bit\setup.exe)");
    EXPECT_EQ(Standin().startedCommandLine, R"(D:\Disc One\32bit\setup.exe /s )");
}

TEST_F(LaunchSequence, PassesTheInstallersExitStatusOn)
{
    for (const DWORD status : {0u, 1u, 1602u, 1603u, 1641u, 3010u, 0xC0000005u}) {
        SCOPED_TRACE(status);
        ResetStandin();
        Standin().installerExitStatus = status;
        EXPECT_EQ(static_cast<DWORD>(RunLauncher(output)), status);
        EXPECT_EQ(Standin().calls.back(), "CloseHandle(installer process)");
    }
    EXPECT_EQ(FlushedOutput(), "");
}

TEST_F(LaunchSequence, UnreadableInstallerStatusIsNotSuccess)
{
    Standin().exitCodeQueryFails = true;
    EXPECT_EQ(RunLauncher(output), 6);
    const std::vector<std::string> expected = {
        "WaitForSingleObject(installer process, INFINITE)",
        "GetExitCodeProcess(installer process)",
        "GetLastError()",
        "CloseHandle(installer thread)",
        "CloseHandle(installer process)",
    };
    EXPECT_EQ(LastCalls(5), expected);
}

// After a failed wait the installer may still run and its exit code reads
// STILL_ACTIVE: the status is the wait's error code, and both handles are
// still closed.
TEST_F(LaunchSequence, FailedWaitIsNotReportedAsTheInstallersStatus)
{
    struct WaitCase {
        const char* name;
        DWORD waitResult;
        DWORD waitError;
        int status;
    };
    const WaitCase cases[] = {
        {"failed: invalid handle", WAIT_FAILED, 6, 6},
        {"failed: access denied", WAIT_FAILED, 5, 5},
        {"failed with no error code", WAIT_FAILED, 0, 1},
        {"failed with an error code equal to STILL_ACTIVE", WAIT_FAILED, 259, 1},
        {"ended otherwise, no error code set", WAIT_TIMEOUT, 0, 1},
    };
    for (const WaitCase& row : cases) {
        SCOPED_TRACE(row.name);
        ResetStandin();
        std::rewind(output);
        Standin().waitResult = row.waitResult;
        Standin().waitError = row.waitError;
        EXPECT_EQ(RunLauncher(output), row.status);
        EXPECT_EQ(FlushedOutput(), "");
        const std::vector<std::string> expected = {
            StartCall(R"(D:\media\32bit\setup.exe)", R"(D:\media\32bit\setup.exe )"),
            "WaitForSingleObject(installer process, INFINITE)",
            "GetLastError()",
            "CloseHandle(installer thread)",
            "CloseHandle(installer process)",
        };
        EXPECT_EQ(LastCalls(5), expected);
    }
}

TEST_F(LaunchSequence, FailedStartWritesTheLineAndReturnsTheSystemError)
{
    struct FailureCase {
        const char* name;
        DWORD error;
        int status;
    };
    const FailureCase cases[] = {
        {"file not found", 2, 2},
        {"path not found", 3, 3},
        {"access denied", 5, 5},
        {"not a program", 193, 193},
        {"no error code still fails", 0, 1},
    };
    for (const FailureCase& row : cases) {
        SCOPED_TRACE(row.name);
        ResetStandin();
        std::rewind(output);
        RunOn64BitWindows();
        Standin().startSucceeds = false;
        Standin().startError = row.error;
        EXPECT_EQ(RunLauncher(output), row.status);
        EXPECT_EQ(FlushedOutput(), FailureLine);

        // The 32-bit build is not tried in its place, and no handle is used.
        const std::vector<std::string> expected = {
            "GetCommandLineA()",
            StartCall(R"(D:\media\64bit\setup.exe)", R"(D:\media\64bit\setup.exe )"),
            "GetLastError()",
        };
        EXPECT_EQ(LastCalls(3), expected);
    }
}

TEST_F(LaunchSequence, UnobtainableModulePathStartsNothing)
{
    for (const DWORD error : {126u, 0u}) {
        SCOPED_TRACE(error);
        ResetStandin();
        std::rewind(output);
        Standin().modulePath = "";
        Standin().moduleFileNameError = error;
        EXPECT_EQ(RunLauncher(output), error == 0 ? 1 : static_cast<int>(error));
        EXPECT_EQ(FlushedOutput(), FailureLine);
        const std::vector<std::string> calls = {
            "GetCPInfo(CP_ACP)",
            "GetModuleFileNameA(null, 259, zeroed)",
            "GetLastError()",
        };
        EXPECT_EQ(Standin().calls, calls);
    }
}

// Windows XP and Windows Vista and later cut a path that does not fit in two
// ways; each must send the launcher on to a larger buffer.
const ModulePathCut BothCuts[] = {ModulePathCut::WindowsXP, ModulePathCut::WindowsVista};

const char* CutName(ModulePathCut cut)
{
    return cut == ModulePathCut::WindowsXP ? "Windows XP" : "Windows Vista";
}

std::vector<std::string> ModulePathReads()
{
    std::vector<std::string> reads;
    for (const std::string& call : Standin().calls) {
        if (call.rfind("GetModuleFileNameA", 0) == 0) reads.push_back(call);
    }
    return reads;
}

TEST_F(LaunchSequence, PathThatFillsTheFirstBufferIsReadAgainWhole)
{
    struct FillsCase {
        const char* name;
        std::string directory;
    };
    // 259 bytes or more do not fit the first buffer; cut there, the path
    // would end inside a folder name or at the wrong backslash. A path of
    // exactly 259 bytes fills it as a cut one does, so it is read again too.
    const FillsCase cases[] = {
        {"longer than the capacity", "D:\\" + std::string(150, 'a') + "\\" + std::string(150, 'b')},
        {"exactly the capacity", "D:\\" + std::string(259 - 16, 'm')},
    };
    ASSERT_EQ(cases[1].directory.size() + std::string("\\launcher.exe").size(), 259u);
    for (const FillsCase& row : cases) {
        for (const ModulePathCut cut : BothCuts) {
            SCOPED_TRACE(std::string(row.name) + ", " + CutName(cut));
            ResetStandin();
            Standin().modulePathCut = cut;
            Standin().modulePath = row.directory + "\\launcher.exe";
            EXPECT_EQ(RunLauncher(output), 0);
            EXPECT_EQ(Standin().startedApplicationName, row.directory + "\\32bit\\setup.exe");
            const std::vector<std::string> reads = {
                "GetModuleFileNameA(null, 259, zeroed)",
                "GetModuleFileNameA(null, 518, zeroed)",
            };
            EXPECT_EQ(ModulePathReads(), reads);
        }
    }
}

TEST_F(LaunchSequence, PathOneByteShorterThanTheCapacityFitsTheFirstBuffer)
{
    const std::string modulePath = "D:\\" + std::string(258 - 16, 'm') + "\\launcher.exe";
    ASSERT_EQ(modulePath.size(), 258u);
    for (const ModulePathCut cut : BothCuts) {
        SCOPED_TRACE(CutName(cut));
        ResetStandin();
        Standin().modulePathCut = cut;
        Standin().modulePath = modulePath;
        EXPECT_EQ(RunLauncher(output), 0);
        EXPECT_EQ(Standin().startedApplicationName, modulePath.substr(0, 245) + "\\32bit\\setup.exe");
        EXPECT_EQ(ModulePathReads(), std::vector<std::string>{"GetModuleFileNameA(null, 259, zeroed)"});
    }
}

TEST_F(LaunchSequence, ModulePathThatNeverFitsStartsNothing)
{
    struct NeverFitsCase {
        ModulePathCut cut;
        int status;
    };
    // Windows XP sets no error for a cut path: the last one, none here.
    const NeverFitsCase cases[] = {
        {ModulePathCut::WindowsXP, 1},
        {ModulePathCut::WindowsVista, 122},
    };
    for (const NeverFitsCase& row : cases) {
        SCOPED_TRACE(CutName(row.cut));
        ResetStandin();
        std::rewind(output);
        Standin().modulePathCut = row.cut;
        Standin().modulePath = "D:\\" + std::string(70000, 'x') + "\\launcher.exe";
        EXPECT_EQ(RunLauncher(output), row.status);
        EXPECT_EQ(FlushedOutput(), FailureLine);
        for (const std::string& call : Standin().calls) {
            EXPECT_EQ(call.rfind("CreateProcessA", 0), std::string::npos);
        }
        const std::vector<std::string> reads = ModulePathReads();
        ASSERT_FALSE(reads.empty());
        EXPECT_EQ(reads.front(), "GetModuleFileNameA(null, 259, zeroed)");
        EXPECT_EQ(reads.back(), "GetModuleFileNameA(null, 65536, zeroed)");
    }
}

TEST_F(LaunchSequence, DoubleByteCodePageKeepsTheRealDirectory)
{
    // 表 in code page 932 is 0x95 0x5C: its second byte is not a backslash.
    Standin().leadByteRanges = {{0x81, 0x9F}, {0xE0, 0xFC}};
    Standin().modulePath = "D:\\media\\\x95\x5C.exe";
    Standin().commandLine = "\x95\x5C.exe \x95\x5C\"a b\"";
    EXPECT_EQ(RunLauncher(output), 0);
    EXPECT_EQ(Standin().startedApplicationName, R"(D:\media\32bit\setup.exe)");
    EXPECT_EQ(Standin().startedCommandLine, "D:\\media\\32bit\\setup.exe \x95\x5C" "a b ");
}

// Each end of both ranges of code page 932, as GetCPInfo gives them, makes
// the 0x5C after it a trail byte; a byte just outside a range leaves it a
// backslash.
TEST_F(LaunchSequence, EveryLeadByteOfTheCodePageKeepsItsTrailByte)
{
    struct EndCase {
        const char* name;
        char byte;
        bool lead;
    };
    const EndCase cases[] = {
        {"0x80, before the first range", '\x80', false},
        {"0x81, first of the first range", '\x81', true},
        {"0x9F, last of the first range", '\x9F', true},
        {"0xA0, after the first range", '\xA0', false},
        {"0xDF, before the second range", '\xDF', false},
        {"0xE0, first of the second range", '\xE0', true},
        {"0xFC, last of the second range", '\xFC', true},
        {"0xFD, after the second range", '\xFD', false},
    };
    for (const EndCase& row : cases) {
        SCOPED_TRACE(row.name);
        ResetStandin();
        Standin().leadByteRanges = {{0x81, 0x9F}, {0xE0, 0xFC}};
        Standin().modulePath = std::string("D:\\media\\") + row.byte + "\x5C.exe";
        EXPECT_EQ(RunLauncher(output), 0);
        const std::string directory = row.lead ? "D:\\media" : std::string("D:\\media\\") + row.byte;
        EXPECT_EQ(Standin().startedApplicationName, directory + "\\32bit\\setup.exe");
    }
}

TEST_F(LaunchSequence, RefusedCodePageQueryReadsAsSingleByte)
{
    Standin().codePageQueryFails = true;
    Standin().modulePath = "D:\\media\\\x95\x5C.exe";
    EXPECT_EQ(RunLauncher(output), 0);
    EXPECT_EQ(Standin().startedApplicationName, "D:\\media\\\x95\\32bit\\setup.exe");
}

}  // namespace
