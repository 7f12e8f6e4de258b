// The file routine where Windows differs: read-only outputs, device names,
// inputs held by others, and names outside the ANSI code page.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/encrypt_file_fixture.h"
#include "tests/support/ser_reader.h"

namespace velmora::testing {
namespace {

namespace fs = std::filesystem;

TEST(EncryptTextFile, WindowsOnlyOutputsThatCannotBeWrittenKeepEverything) {
    TempDir dir;
    ExpectUnwritable(dir, {
                              {"read-only output", "locked.txt",
                               [](const TempDir& d) {
                                   d.Write("locked.ser", "old output");
                                   fs::permissions(FromUtf8(d / "locked.ser"),
                                                   fs::perms::owner_read);
                               },
                               "locked.ser"},
                          });
}

TEST(EncryptTextFile, DeviceNamesAreNoInputAndNeverBlock) {
    TempDir dir;
    for (const std::string name : {"NUL.txt", "con.txt", "COM1.txt", "aux.txt"}) {
        EXPECT_EQ(Encrypt(dir / name), EncryptResult::OpenFailed) << name;
    }
}

TEST(EncryptTextFile, AnInputHeldWithoutSharingCannotBeOpened) {
    TempDir dir;
    const auto input = dir.Write("held.txt", "in use elsewhere");
    const std::wstring wide = FromUtf8(input).wstring();
    const HANDLE held = CreateFileW(wide.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_EQ(Encrypt(input), EncryptResult::OpenFailed);
    CloseHandle(held);
    EXPECT_EQ(Encrypt(input), EncryptResult::Done);
}

TEST(EncryptTextFile, NamesOutsideTheCodePageAreEncrypted) {
    TempDir dir;
    const std::string name = "\xCE\xA9\xCE\xBC\xCE\xAD\xCE\xB3\xCE\xB1-\xE4\xB8\xAD";  // Greek, CJK
    const auto input = dir.Write(name + ".txt", "text");
    ASSERT_EQ(Encrypt(input), EncryptResult::Done);
    EXPECT_EQ(DecryptSerFile(dir / (name + ".ser"), KEY_TEXT), Padded("text"));
}

}  // namespace
}  // namespace velmora::testing
