// The file routine on any platform: the .ser bytes, the size limit, and
// outputs that cannot be written.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/encrypt_file_fixture.h"
#include "tests/support/ser_reader.h"

namespace velmora::testing {
namespace {

namespace fs = std::filesystem;

TEST(SerPathFor, ReplacesEveryLowerCaseTxtLeftToRight) {
    const std::pair<std::string, std::string> cases[] = {
        {"/notes/a.txt", "/notes/a.ser"},
        {"/a.txt.bak.txt", "/a.ser.bak.ser"},
        {"/old.txt/b.txt", "/old.ser/b.ser"},
        {"B.TXT", "B.TXT"},
        {"c.Txt", "c.Txt"},
        {".txt.txt", ".ser.ser"},
        {"a.txtx", "a.serx"},
        {"", ""},
    };
    for (const auto& [input, output] : cases) {
        EXPECT_EQ(SerPathFor(input), output) << input;
    }
}

TEST(EncryptTextFile, WritesBareCiphertextThatOpensslReads) {
    TempDir dir;
    for (const std::string& text :
         {std::string(), std::string("hello"), std::string(16, 'x'),
          std::string("ends in spaces   \n"), std::string("\0bin\xff", 5)}) {
        const auto input = dir.Write("a.txt", text);
        ASSERT_EQ(Encrypt(input), EncryptResult::Done);
        EXPECT_EQ(fs::file_size(FromUtf8(dir / "a.ser")), Padded(text).size());
        EXPECT_EQ(DecryptSerFile(dir / "a.ser", KEY_TEXT), Padded(text));
        EXPECT_EQ(ReadFile(input), text) << "the input must stay as it was";
    }
}

TEST(EncryptTextFile, AcceptsUpToOneByteBelowTheBuffer) {
    TempDir dir;
    const auto largest = dir.WriteSized("largest.txt", MAX_INPUT_BYTES - 1);
    EXPECT_EQ(Encrypt(largest), EncryptResult::Done);
    EXPECT_EQ(fs::file_size(FromUtf8(dir / "largest.ser")), MAX_INPUT_BYTES);
    EXPECT_EQ(DecryptSerFile(dir / "largest.ser", KEY_TEXT), ReadFile(largest) + " ");

    for (size_t size : {MAX_INPUT_BYTES, MAX_INPUT_BYTES + 1, 3 * MAX_INPUT_BYTES}) {
        const auto big = dir.WriteSized("big.txt", size);
        EXPECT_EQ(Encrypt(big), EncryptResult::TooLarge) << size;
        EXPECT_FALSE(fs::exists(FromUtf8(dir / "big.ser")));
    }
}

TEST(EncryptTextFile, SameInputAndKeyGiveIdenticalBytesAndReplaceTheOldOutput) {
    TempDir dir;
    const auto input = dir.Write("a.txt", "some notes");
    dir.Write("a.ser", std::string(500, 'o'));  // an older, longer output
    ASSERT_EQ(Encrypt(input), EncryptResult::Done);
    const auto first = ReadFile(dir / "a.ser");
    EXPECT_EQ(first.size(), 16u);
    ASSERT_EQ(Encrypt(input), EncryptResult::Done);
    EXPECT_EQ(ReadFile(dir / "a.ser"), first);
}

TEST(EncryptTextFile, InputsThatCannotBeOpenedCreateNothing) {
    TempDir dir;
    dir.MakeDir("folder.txt");
    for (const std::string name : {"missing.txt", "folder.txt"}) {
        EXPECT_EQ(Encrypt(dir / name), EncryptResult::OpenFailed) << name;
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()), 1);
}

TEST(EncryptTextFile, OutputsThatCannotBeWrittenFailAndKeepEverything) {
    TempDir dir;
    ExpectUnwritable(dir, {
                              // No lower-case ".txt": the output name is the input name itself.
                              {"upper-case name", "B.TXT", [](const TempDir&) {}, "B.TXT"},
                              {"folder part rewritten to a folder that does not exist",
                               "old.txt/b.txt", [](const TempDir&) {}, "old.ser"},
                              {"output is a folder", "taken.txt",
                               [](const TempDir& d) { d.MakeDir("taken.ser"); }, "taken.ser"},
                              // ".txt" in a folder name: the output does not end in ".ser", and an
                              // unrelated existing file there is never replaced.
                              {"existing output not named .ser", "notes.txt.d/data",
                               [](const TempDir& d) { d.Write("notes.ser.d/data", "unrelated"); },
                               "notes.ser.d/data"},
                          });
}

}  // namespace
}  // namespace velmora::testing
