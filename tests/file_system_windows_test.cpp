// Replacing and reading files where Windows differs: read-only files,
// devices, and inputs held without sharing.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/file_system_fixture.h"

namespace velmora::testing {
namespace {

namespace fs = std::filesystem;

TEST_F(ReplaceWholeTest, ReadOnlyFilesAndDevicesAreNotReplaced) {
    dir.Write("read-only.ser", OLD_BYTES);
    fs::permissions(FromUtf8(dir / "read-only.ser"), fs::perms::owner_read);
    EXPECT_FALSE(Replace("read-only.ser"));
    EXPECT_EQ(ReadFile(dir / "read-only.ser"), OLD_BYTES);
    for (const std::string device : {"NUL.ser", "CON", "con.ser", "COM1.ser", "LPT1"}) {
        EXPECT_FALSE(Replace(device)) << device;
    }
    EXPECT_EQ(Leftovers(), std::vector<std::string>{});
}

TEST_F(ReplaceWholeTest, AnotherNameOfTheInputIsStillTheInput) {
    // The file system ignores letter case: "A.TXT" is the open input.
    EXPECT_FALSE(Replace("A.TXT"));
    input.reset();  // held without sharing: let go first
    EXPECT_EQ(ReadFile(dir / "a.txt"), "the input");
}

// The input is held without sharing for as long as it is open: nobody else
// can open it, so nobody can rename it onto the output meanwhile.
TEST(OpenForReading, HoldsTheInputWithoutSharing) {
    TempDir dir;
    const auto path = dir.Write("a.txt", "text");
    platform::RealFileSystem files;
    auto input = files.OpenForReading(path);
    ASSERT_NE(input, nullptr);
    EXPECT_EQ(files.OpenForReading(path), nullptr);
    EXPECT_FALSE(
        MoveFileW(FromUtf8(path).wstring().c_str(), FromUtf8(dir / "b.ser").wstring().c_str()));
    input.reset();
    EXPECT_NE(files.OpenForReading(path), nullptr);
}

}  // namespace
}  // namespace velmora::testing
