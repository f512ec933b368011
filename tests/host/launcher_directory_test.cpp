#include "launcher_directory.h"

#include <gtest/gtest.h>

#include <string>

#include "code_page_932.h"

namespace {

struct DirectoryCase {
    const char* name;
    std::string modulePath;
    bool doubleByte;
    std::string directory;
};

TEST(LauncherDirectory, CutAtTheLastBackslash)
{
    const DirectoryCase cases[] = {
        {"folder", R"(D:\media\launcher.exe)", false, R"(D:\media)"},
        {"drive root", R"(D:\launcher.exe)", false, "D:"},
        {"folder with blanks", R"(D:\Disc One\launcher.exe)", false, R"(D:\Disc One)"},
        {"forward slash does not separate", R"(D:\media/disc/launcher.exe)", false, "D:"},
        {"no backslash: taken whole", "launcher.exe", false, "launcher.exe"},
        {"empty path", "", false, ""},
        {"network path", R"(\\server\share\launcher.exe)", false, R"(\\server\share)"},
        {"0x5C trail byte in the file name", "D:\\media\\\x95\x5C.exe", true, R"(D:\media)"},
        {"0x5C trail byte in a folder name", "D:\\\x95\x5C\\launcher.exe", true, "D:\\\x95\x5C"},
        {"a real backslash after a character", "D:\\\x95\x5C\\\x95\x5C.exe", true, "D:\\\x95\x5C"},
        {"lead byte last", "D:\\media\\\x95", true, R"(D:\media)"},
        {"single-byte code page: 0x5C is a backslash", "D:\\media\\\x95\x5C.exe", false, "D:\\media\\\x95"},
        // UTF-8 has no lead bytes to report, and no byte of its characters is 0x5C.
        {"UTF-8 folder name", "D:\\\xD0\x94\xD0\xB8\xD1\x81\xD0\xBA\\launcher.exe", false,
         "D:\\\xD0\x94\xD0\xB8\xD1\x81\xD0\xBA"},
        {"UTF-8 file name", "D:\\media\\\xED\x91\x9C.exe", false, "D:\\media"},
    };
    for (const DirectoryCase& row : cases) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(LauncherDirectory(row.modulePath, row.doubleByte ? CodePage932() : LeadBytes{}), row.directory);
    }
}

}  // namespace
