#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <functional>
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

const std::string KEY_TEXT = "0123456789abcdef";

EncryptResult Encrypt(const std::string& path) {
    platform::RealFileSystem files;
    return EncryptTextFile(*Key::FromBytes(KEY_TEXT), path, files);
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
        ASSERT_EQ(Encrypt(input), EncryptResult::Done);
        EXPECT_EQ(fs::file_size(dir / "a.ser"), Padded(text).size());
        EXPECT_EQ(DecryptWithOpenssl(dir / "a.ser", KEY_TEXT), Padded(text));
        EXPECT_EQ(ReadFile(input), text) << "the input must stay as it was";
    }
}

TEST(EncryptTextFile, AcceptsUpToOneByteBelowTheBuffer) {
    TempDir dir;
    const auto largest = dir.WriteSized("largest.txt", MAX_INPUT_BYTES - 1);
    EXPECT_EQ(Encrypt(largest), EncryptResult::Done);
    EXPECT_EQ(fs::file_size(dir / "largest.ser"), MAX_INPUT_BYTES);
    EXPECT_EQ(DecryptWithOpenssl(dir / "largest.ser", KEY_TEXT), ReadFile(largest) + " ");

    for (size_t size : {MAX_INPUT_BYTES, MAX_INPUT_BYTES + 1, 3 * MAX_INPUT_BYTES}) {
        const auto big = dir.WriteSized("big.txt", size);
        EXPECT_EQ(Encrypt(big), EncryptResult::TooLarge) << size;
        EXPECT_FALSE(fs::exists(dir / "big.ser"));
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
    ASSERT_EQ(mkfifo((dir / "pipe.txt").c_str(), 0600), 0);
    for (const std::string name : {"missing.txt", "folder.txt", "pipe.txt"}) {
        EXPECT_EQ(Encrypt(dir / name), EncryptResult::OpenFailed) << name;  // a FIFO must not block
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()), 2);
}

// Every way the output can turn out to be unwritable: -3, and the input and
// whatever stood under the output name stay as they were.
TEST(EncryptTextFile, OutputsThatCannotBeWrittenFailAndKeepEverything) {
    TempDir dir;
    ASSERT_EQ(mkfifo((dir / "fifo").c_str(), 0600), 0);
    struct Case {
        const char* what;
        std::string input;  // created with content "kept"
        std::function<void()> make;
        std::string output;  // the output name that must be unchanged afterwards
    };
    const Case cases[] = {
        // No lower-case ".txt": the output name is the input name itself.
        {"upper-case name", "B.TXT", [] {}, "B.TXT"},
        {"output links to the input", "c.txt", [&] { fs::create_symlink("c.txt", dir / "c.ser"); },
         "c.ser"},
        {"output is a hard link of the input", "d.txt",
         [&] { fs::create_hard_link(dir / "d.txt", dir / "d.ser"); }, "d.ser"},
        {"folder part rewritten to a folder that does not exist", "old.txt/b.txt", [] {},
         "old.ser"},
        {"output links to a device", "null.txt",
         [&] { fs::create_symlink("/dev/null", dir / "null.ser"); }, "null.ser"},
        {"output links to a FIFO", "piped.txt",
         [&] { fs::create_symlink("fifo", dir / "piped.ser"); }, "piped.ser"},
        {"output link dangles", "dangling.txt",
         [&] { fs::create_symlink("nowhere", dir / "dangling.ser"); }, "dangling.ser"},
        {"output links in a loop", "loop.txt",
         [&] {
             fs::create_symlink("loop.ser", dir / "loop2.ser");
             fs::create_symlink("loop2.ser", dir / "loop.ser");
         },
         "loop.ser"},
        {"output is a folder", "taken.txt", [&] { dir.MakeDir("taken.ser"); }, "taken.ser"},
        // ".txt" in a folder name: the output does not end in ".ser" and an
        // unrelated existing file there is never replaced.
        {"existing output not named .ser", "notes.txt.d/data",
         [&] { dir.Write("notes.ser.d/data", "unrelated"); }, "notes.ser.d/data"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto input = dir.Write(c.input, "kept");
        c.make();
        const auto before = fs::symlink_status(dir / c.output).type();
        std::error_code noFile;  // a link loop has no status at all
        const bool regular = fs::is_regular_file(dir / c.output, noFile);
        const std::string content = regular ? ReadFile(dir / c.output) : std::string();
        EXPECT_EQ(Encrypt(input), EncryptResult::WriteFailed);
        EXPECT_EQ(ReadFile(input), "kept");
        EXPECT_EQ(fs::symlink_status(dir / c.output).type(), before);
        if (regular) {
            EXPECT_EQ(ReadFile(dir / c.output), content);
        }
    }
    EXPECT_FALSE(fs::exists(dir / "nowhere")) << "a dangling link's target is not created";
    for (const auto& entry : fs::recursive_directory_iterator(dir.Path())) {
        EXPECT_NE(entry.path().filename().string().rfind(".velmora-", 0), 0u)
            << "temporary file left: " << entry.path();
    }
}

TEST(EncryptTextFile, AFileWhoseSizeDoesNotMatchWhatIsReadIsAReadFailure) {
    // Files under /proc report a size of 0 but yield text when read, as a file
    // that changes between its size and the read does.
    EXPECT_EQ(Encrypt("/proc/self/status"), EncryptResult::ReadFailed);
}

// Another process keeps renaming links to the input, and regular files,
// over the output name while the routine runs: the input never changes,
// whichever of them the routine meets.
TEST(EncryptTextFile, ARenameRaceNeverTurnsTheOutputIntoTheInput) {
    TempDir dir;
    const std::string text = "the plain text that must survive";
    const auto input = dir.Write("a.txt", text);
    class Racer {
      public:
        explicit Racer(const TempDir& dir) : pid_(fork()) {
            if (pid_ != 0) {
                return;
            }
            const std::string link = dir / ".racer-link", file = dir / ".racer-file";
            const std::string output = dir / "a.ser";
            for (;;) {
                unlink(link.c_str());
                if (symlink("a.txt", link.c_str()) == 0) {
                    rename(link.c_str(), output.c_str());
                }
                if (FILE* f = std::fopen(file.c_str(), "w")) {
                    std::fclose(f);
                    rename(file.c_str(), output.c_str());
                }
            }
        }
        ~Racer() {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }

      private:
        pid_t pid_;
    } racer(dir);

    for (int run = 0; run < 3000; ++run) {
        const EncryptResult result = Encrypt(input);
        ASSERT_TRUE(result == EncryptResult::Done || result == EncryptResult::WriteFailed);
        ASSERT_EQ(ReadFile(input), text) << "after run " << run;
    }
}

}  // namespace
}  // namespace velmora
