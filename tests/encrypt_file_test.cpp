#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "core/encrypt.h"
#include "tests/support/run_process.h"
#include "tests/support/temp_dir.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;
using testing::DecryptWithOpenssl;
using testing::Padded;
using testing::ReadFile;
using testing::TempDir;

const std::string KEY = "0123456789abcdef";
const auto* KEY_PTR = reinterpret_cast<const unsigned char*>(KEY.data());

// Runs EncryptTextFile and captures its diagnostic lines.
struct Outcome {
    EncryptResult result;
    std::string diagnostics;
};

Outcome Encrypt(const std::string& path) {
    char* text = nullptr;
    size_t size = 0;
    std::FILE* sink = open_memstream(&text, &size);
    const EncryptResult result = EncryptTextFile(KEY_PTR, path, sink);
    std::fclose(sink);
    Outcome run{result, std::string(text, size)};
    std::free(text);
    return run;
}

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
        const Outcome run = Encrypt(input);
        ASSERT_EQ(run.result, EncryptResult::Done);
        EXPECT_EQ(run.diagnostics, "");
        EXPECT_EQ(fs::file_size(dir / "a.ser"), Padded(text).size());
        EXPECT_EQ(DecryptWithOpenssl(dir / "a.ser", KEY), Padded(text));
        EXPECT_EQ(ReadFile(input), text) << "the input must stay as it was";
    }
}

TEST(EncryptTextFile, AcceptsUpToOneByteBelowTheBuffer) {
    TempDir dir;
    const auto largest = dir.WriteSized("largest.txt", MAX_INPUT_BYTES - 1);
    EXPECT_EQ(Encrypt(largest).result, EncryptResult::Done);
    EXPECT_EQ(fs::file_size(dir / "largest.ser"), MAX_INPUT_BYTES);
    EXPECT_EQ(DecryptWithOpenssl(dir / "largest.ser", KEY), ReadFile(largest) + " ");

    for (size_t size : {MAX_INPUT_BYTES, MAX_INPUT_BYTES + 1, 3 * MAX_INPUT_BYTES}) {
        const auto big = dir.WriteSized("big.txt", size);
        const Outcome run = Encrypt(big);
        EXPECT_EQ(run.result, EncryptResult::TooLarge) << size;
        EXPECT_EQ(run.diagnostics, "Read file " + big + " error!\n");
        EXPECT_FALSE(fs::exists(dir / "big.ser"));
    }
}

TEST(EncryptTextFile, SameInputAndKeyGiveIdenticalBytesAndOverwrite) {
    TempDir dir;
    const auto input = dir.Write("a.txt", "some notes");
    dir.Write("a.ser", std::string(500, 'o'));  // an older, longer output
    ASSERT_EQ(Encrypt(input).result, EncryptResult::Done);
    const auto first = ReadFile(dir / "a.ser");
    EXPECT_EQ(first.size(), 16u);
    ASSERT_EQ(Encrypt(input).result, EncryptResult::Done);
    EXPECT_EQ(ReadFile(dir / "a.ser"), first);
}

TEST(EncryptTextFile, InputsThatCannotBeOpenedCreateNothing) {
    TempDir dir;
    dir.MakeDir("folder.txt");
    ASSERT_EQ(mkfifo((dir / "pipe.txt").c_str(), 0600), 0);
    for (const std::string name : {"missing.txt", "folder.txt", "pipe.txt"}) {
        SCOPED_TRACE(name);
        const Outcome run = Encrypt(dir / name);  // a FIFO must not block
        EXPECT_EQ(run.result, EncryptResult::OpenFailed);
        EXPECT_EQ(run.diagnostics, "Open file " + (dir / name) + " error!\n");
    }
    EXPECT_FALSE(fs::exists(dir / "missing.ser"));
    EXPECT_FALSE(fs::exists(dir / "folder.ser"));
    EXPECT_FALSE(fs::exists(dir / "pipe.ser"));
}

TEST(EncryptTextFile, NeverOverwritesItsOwnInput) {
    TempDir dir;
    // No lower-case ".txt": the output name is the input name itself.
    const auto upper = dir.Write("B.TXT", "upper case");
    Outcome run = Encrypt(upper);
    EXPECT_EQ(run.result, EncryptResult::WriteFailed);
    EXPECT_EQ(run.diagnostics, "Write file " + upper + " error!\n");
    EXPECT_EQ(ReadFile(upper), "upper case");

    // An existing output that links to the input.
    const auto input = dir.Write("c.txt", "linked");
    fs::create_symlink("c.txt", dir / "c.ser");
    run = Encrypt(input);
    EXPECT_EQ(run.result, EncryptResult::WriteFailed);
    EXPECT_EQ(ReadFile(input), "linked");

    // A hard link is the same file too.
    const auto hard = dir.Write("d.txt", "hard");
    fs::create_hard_link(hard, dir / "d.ser");
    EXPECT_EQ(Encrypt(hard).result, EncryptResult::WriteFailed);
    EXPECT_EQ(ReadFile(hard), "hard");
}

TEST(EncryptTextFile, OutputsThatCannotBeWrittenFailAndLeaveNoPartialFile) {
    TempDir dir;
    // The folder part is rewritten too, to a folder that does not exist.
    const auto nested = dir.Write("old.txt/b.txt", "nested");
    Outcome run = Encrypt(nested);
    EXPECT_EQ(run.result, EncryptResult::WriteFailed);
    EXPECT_EQ(run.diagnostics, "Write file " + (dir / "old.ser/b.ser") + " error!\n");

    // A full device behind the output name.
    const auto full = dir.Write("full.txt", "no room");
    fs::create_symlink("/dev/full", dir / "full.ser");
    EXPECT_EQ(Encrypt(full).result, EncryptResult::WriteFailed);
    EXPECT_TRUE(fs::is_symlink(dir / "full.ser")) << "only regular partial outputs are removed";

    // An output name taken by a folder, or by a FIFO nobody reads.
    const auto taken = dir.Write("taken.txt", "x");
    dir.MakeDir("taken.ser");
    EXPECT_EQ(Encrypt(taken).result, EncryptResult::WriteFailed);
    const auto piped = dir.Write("piped.txt", "x");
    ASSERT_EQ(mkfifo((dir / "piped.ser").c_str(), 0600), 0);
    EXPECT_EQ(Encrypt(piped).result, EncryptResult::WriteFailed);
}

TEST(EncryptTextFile, AFileWhoseSizeDoesNotMatchWhatIsReadIsAReadFailure) {
    // Files under /proc report a size of 0 but yield text when read, as a file
    // that changes between its size and the read does.
    const Outcome run = Encrypt("/proc/self/status");
    EXPECT_EQ(run.result, EncryptResult::ReadFailed);
    EXPECT_EQ(run.diagnostics, "Read file /proc/self/status error!\n");
}

TEST(EncryptTextFile, PrintsNothingWithoutASink) {
    TempDir dir;
    ::testing::internal::CaptureStdout();
    EXPECT_EQ(EncryptTextFile(KEY_PTR, dir / "missing.txt"), EncryptResult::OpenFailed);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
}

}  // namespace
}  // namespace velmora
