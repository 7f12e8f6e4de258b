// velmora-cli end to end where Windows differs: key bytes in the ANSI code
// page, read-only outputs, device names, and names outside the code page.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/cli_fixture.h"

namespace velmora::testing {
namespace {

namespace fs = std::filesystem;

// The key is its ANSI code page bytes (code page 1252 here): "é" is one byte.
TEST_F(CliTest, KeyLengthIsCountedInAnsiBytes) {
    dir.Write("a.txt", "secret notes\n");
    EXPECT_EQ(Run({"0123456789abcdeé", "a.txt"}).out, "encptry a.txt successful!\n");
    EXPECT_EQ(DecryptSerFile(dir / "a.ser", "0123456789abcde\xE9"), "secret notes\n   ");
    EXPECT_EQ(Run({"0123456789abcdé", "a.txt"}).out, "Length of encrypt key must be 16!");
    EXPECT_EQ(Run({"éééééééééééééééé", "a.txt"}).out, "encptry a.txt successful!\n");
}

TEST_F(CliTest, WindowsOnlyFilesInSingleFileMode) {
    dir.Write("locked.txt", "its output is read-only");
    dir.Write("locked.ser", "old output");
    fs::permissions(FromUtf8(dir / "locked.ser"),
                    fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    struct Case {
        std::string target;
        std::string expected;
    };
    const Case cases[] = {
        {"locked.txt", "Write file locked.ser error!\nEncrypt file locked.txt error!"},
        // Device names are devices in every folder and with any extension:
        // never read, never waited for.
        {"NUL.txt", "Open file NUL.txt error!\nEncrypt file NUL.txt error!"},
        {"con.txt", "Open file con.txt error!\nEncrypt file con.txt error!"},
        {"COM1.txt", "Open file COM1.txt error!\nEncrypt file COM1.txt error!"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Run({KEY, c.target}).out, c.expected) << c.target;
    }
    EXPECT_EQ(ReadFile(dir / "locked.ser"), "old output");
}

// Names are wide end to end: a name outside the ANSI code page is encrypted,
// and printed in the console's code page ('?' for what it lacks).
TEST_F(CliTest, NamesOutsideTheCodePageWork) {
    const std::string name = "\xCE\xA9\xCE\xBC\xCE\xAD\xCE\xB3\xCE\xB1-\xE4\xB8\xAD";  // Greek, CJK
    dir.Write("greek/" + name + ".txt", "text");
    const std::string out = Run({KEY, "greek"}).out;
    EXPECT_EQ(out.rfind("encptry greek\\", 0), 0u) << out;
    EXPECT_EQ(out.substr(out.size() - 17), ".txt successful!\n");
    EXPECT_EQ(DecryptSerFile(dir / ("greek/" + name + ".ser"), KEY), Padded("text"));
}

}  // namespace
}  // namespace velmora::testing
