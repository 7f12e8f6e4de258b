// Replacing and reading files where Windows differs: read-only files,
// devices, and inputs held without sharing.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/file_system_fixture.h"
#include "tests/support/failing_replace_calls.h"

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

// The file system ignores letter case: "A.TXT" is the input "a.txt". While
// the input is held without sharing nobody could replace it anyway; once it
// is let go, only its identity keeps it from being replaced.
TEST_F(ReplaceWholeTest, AnotherNameOfTheInputIsStillTheInput) {
    EXPECT_FALSE(Replace("A.TXT"));
    class LetGo : public platform::InputFile {
      public:
        explicit LetGo(platform::FileIdentity identity) : identity(std::move(identity)) {}
        std::uint64_t Size() const override { return 0; }
        platform::FileIdentity Identity() const override { return identity; }
        std::int64_t Read(unsigned char*, std::size_t) override { return -1; }

      private:
        platform::FileIdentity identity;
    } letGo(input->Identity());
    input.reset();
    const auto* data = reinterpret_cast<const unsigned char*>(NEW_BYTES.data());
    EXPECT_EQ(files.ReplaceWhole(dir / "A.TXT", data, NEW_BYTES.size(), letGo, true),
              platform::ReplaceResult::IsTheInput);
    EXPECT_EQ(ReadFile(dir / "a.txt"), "the input");
    EXPECT_EQ(Leftovers(), std::vector<std::string>{});
}

// An existing file is replaced with ReplaceFileW, which passes its
// attributes (and security, owner and streams) on to the new file.
TEST_F(ReplaceWholeTest, AReplacedFileKeepsItsAttributes) {
    dir.Write("hidden.ser", OLD_BYTES);
    const std::wstring path = FromUtf8(dir / "hidden.ser").wstring();
    ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_HIDDEN));
    EXPECT_TRUE(Replace("hidden.ser"));
    EXPECT_EQ(ReadFile(dir / "hidden.ser"), NEW_BYTES);
    EXPECT_NE(GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
    EXPECT_TRUE(Replace("fresh.ser"));
    EXPECT_EQ(
        GetFileAttributesW(FromUtf8(dir / "fresh.ser").wstring().c_str()) & FILE_ATTRIBUTE_HIDDEN,
        0u)
        << "a new file is not hidden";
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
