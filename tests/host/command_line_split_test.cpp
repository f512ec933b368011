#include "command_line_split.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "code_page_932.h"

namespace {

struct SplitCase {
    const char* name;
    std::string commandLine;
    std::vector<std::string> arguments;
};

LeadBytes SingleByteCodePage()
{
    return LeadBytes{};
}

void ExpectSplits(const std::vector<SplitCase>& cases, const LeadBytes& leadBytes)
{
    for (const SplitCase& row : cases) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(SplitCommandLine(row.commandLine, leadBytes), row.arguments);
    }
}

TEST(CommandLineSplit, ProgramName)
{
    ExpectSplits({
        {"plain", "launcher.exe", {"launcher.exe"}},
        {"quoted path with blanks", R"("C:\Program Files\launcher.exe" /s)", {R"(C:\Program Files\launcher.exe)", "/s"}},
        {"quotes in the middle only switch quoting", R"(C:\"Disc One"\launcher.exe x)", {R"(C:\Disc One\launcher.exe)", "x"}},
        {"backslash before a quote is plain", R"(e"ch\"o x)", {R"(ech\o)", "x"}},
        {"backslash runs are plain", R"(C:\dir\\ x)", {R"(C:\dir\\)", "x"}},
        {"ends at a tab", "launcher.exe\tx", {"launcher.exe", "x"}},
        {"leading blank gives an empty name", " launcher.exe /s", {"", "launcher.exe", "/s"}},
        {"leading tab gives an empty name", "\tlauncher.exe", {"", "launcher.exe"}},
        {"empty quotes", R"("" x)", {"", "x"}},
        {"open quote runs to the end", R"("C:\a b\l.exe /s)", {R"(C:\a b\l.exe /s)"}},
    }, SingleByteCodePage());
}

// With UTF-8 as its ANSI code page the process sees no lead bytes, and no
// byte of a multi-byte character is a blank, a tab, a quote or a backslash:
// the single-byte rules split it whole.
TEST(CommandLineSplit, Utf8CodePage)
{
    ExpectSplits({
        {"Cyrillic folder", "\"D:\\\xD0\x94\xD0\xB8\xD1\x81\xD0\xBA\\launcher.exe\" /s",
         {"D:\\\xD0\x94\xD0\xB8\xD1\x81\xD0\xBA\\launcher.exe", "/s"}},
        {"Hangul argument with a blank, quoted", "l \"\xEC\x84\xA4 \xEC\xB9\x98\"", {"l", "\xEC\x84\xA4 \xEC\xB9\x98"}},
        {"character before a backslash and a quote", "l \"\xC3\xA9\\\\\" x", {"l", "\xC3\xA9\\", "x"}},
        {"four-byte character between blanks", "l \xF0\x9F\x98\x80 x", {"l", "\xF0\x9F\x98\x80", "x"}},
    }, SingleByteCodePage());
}

TEST(CommandLineSplit, Separators)
{
    ExpectSplits({
        {"blanks and tabs, in runs", "l a  b\t\tc \t d", {"l", "a", "b", "c", "d"}},
        {"blanks at the end give no argument", "l a   ", {"l", "a"}},
        {"name followed by blanks only", "l  \t ", {"l"}},
        {"blanks inside quotes belong", R"(l "C:\My Files")", {"l", R"(C:\My Files)"}},
        {"tabs inside quotes belong", "l \"a\tb\"", {"l", "a\tb"}},
        {"quotes inside an unquoted argument are dropped", R"(l a"b"c)", {"l", "abc"}},
        {"quoted part joins its neighbours", R"(l a"b c"d e)", {"l", "ab cd", "e"}},
        {"no wildcard expansion", "l *.txt ?", {"l", "*.txt", "?"}},
    }, SingleByteCodePage());
}

TEST(CommandLineSplit, DoubledQuoteInsideQuotes)
{
    ExpectSplits({
        {"gives one quote and quoting stays on", R"(l "a""b c")", {"l", R"(a"b c)"}},
        {"outside quotes two quotes are empty", R"(l a""b)", {"l", "ab"}},
        {"tripled quotes around a quoted word", R"(l """a b""")", {"l", R"("a b")"}},
        {"blank after the pair stays inside", R"(l "a"" b)", {"l", R"(a" b)"}},
        {"pair right after the opening quote", R"(l """" x)", {"l", R"(")", "x"}},
    }, SingleByteCodePage());
}

TEST(CommandLineSplit, BackslashRuns)
{
    ExpectSplits({
        {"one before a quote: literal quote", R"(l \"a)", {"l", R"("a)"}},
        {"two before a quote: one backslash, quoting on", R"(l \\"a b")", {"l", R"(\a b)"}},
        {"three before a quote: one backslash and a quote", R"(l \\\"a)", {"l", R"(\"a)"}},
        {"four before a quote: two backslashes, quoting on", R"(l \\\\"a b")", {"l", R"(\\a b)"}},
        {"not before a quote: as they stand", R"(l a\\b \c)", {"l", R"(a\\b)", R"(\c)"}},
        {"at the end of the line", R"(l a\)", {"l", R"(a\)"}},
        {"escaped quotes inside quotes", R"(l "\"a\"")", {"l", R"("a")"}},
        {"folder with its quote escaped runs on", R"(l "C:\My Dir\" /s)", {"l", R"(C:\My Dir" /s)"}},
        {"folder with its backslash doubled", R"(l "C:\My Dir\\" /s)", {"l", R"(C:\My Dir\)", "/s"}},
        {"odd run inside quotes keeps quoting on", R"(l "a\" b")", {"l", R"(a" b)"}},
    }, SingleByteCodePage());
}

TEST(CommandLineSplit, UnterminatedQuote)
{
    ExpectSplits({
        {"runs to the end", R"(l "a b)", {"l", "a b"}},
        {"keeps blanks at the end", R"(l "a b  )", {"l", "a b  "}},
        {"after an argument", R"(l x "y z)", {"l", "x", "y z"}},
    }, SingleByteCodePage());
}

TEST(CommandLineSplit, EmptyArguments)
{
    ExpectSplits({
        {"one pair of quotes", R"(l "")", {"l", ""}},
        {"two pairs", R"(l "" "")", {"l", "", ""}},
        {"between others", R"(l a "" b)", {"l", "a", "", "b"}},
        {"a lone quote at the end", R"(l ")", {"l", ""}},
        {"empty line gives an empty name only", "", {""}},
    }, SingleByteCodePage());
}

TEST(CommandLineSplit, DoubleByteCodePage)
{
    ExpectSplits({
        {"trail byte 0x5C is no backslash before a quote", "l \x95\x5C\"a b\"", {"l", "\x95\x5C" "a b"}},
        {"trail byte 0x5C inside quotes", "l \"\x95\x5C\" b", {"l", "\x95\x5C", "b"}},
        {"trail byte with the value of a blank", "l \x81\x20x y", {"l", "\x81\x20x", "y"}},
        {"trail byte with the value of a quote", "l \x81\x22 y", {"l", "\x81\x22", "y"}},
        {"in the program name", "\x81\x20x\x95\x5C y", {"\x81\x20x\x95\x5C", "y"}},
        {"lead byte last on the line", "l a\x95", {"l", "a\x95"}},
        {"real backslash after a character", "l \x95\x5C\\\"a", {"l", "\x95\x5C\"a"}},
    }, CodePage932());

    // The same bytes in a single-byte code page, where 0x5C is a backslash.
    ExpectSplits({
        {"0x5C before a quote escapes it", "l \x95\x5C\"a b\"", {"l", "\x95\"a", "b"}},
        {"0x20 separates", "l \x81\x20x y", {"l", "\x81", "x", "y"}},
    }, SingleByteCodePage());
}

}  // namespace
