// The file routine where POSIX systems differ: FIFOs, symbolic and hard
// links, files under /proc, and renames racing with the routine.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "tests/encrypt_file_fixture.h"

namespace velmora::testing {
namespace {

namespace fs = std::filesystem;

TEST(EncryptTextFile, AFifoIsNoInputAndNeverBlocks) {
    TempDir dir;
    ASSERT_EQ(mkfifo((dir / "pipe.txt").c_str(), 0600), 0);
    EXPECT_EQ(Encrypt(dir / "pipe.txt"), EncryptResult::OpenFailed);
    EXPECT_FALSE(fs::exists(dir / "pipe.ser"));
}

TEST(EncryptTextFile, OutputsLeadingAnywhereButARegularFileFailAndKeepEverything) {
    TempDir dir;
    ASSERT_EQ(mkfifo((dir / "fifo").c_str(), 0600), 0);
    ExpectUnwritable(
        dir,
        {
            {"output links to the input", "c.txt",
             [](const TempDir& d) { fs::create_symlink("c.txt", d / "c.ser"); }, "c.ser"},
            {"output is a hard link of the input", "d.txt",
             [](const TempDir& d) { fs::create_hard_link(d / "d.txt", d / "d.ser"); }, "d.ser"},
            {"output links to a device", "null.txt",
             [](const TempDir& d) { fs::create_symlink("/dev/null", d / "null.ser"); }, "null.ser"},
            {"output links to a FIFO", "piped.txt",
             [](const TempDir& d) { fs::create_symlink("fifo", d / "piped.ser"); }, "piped.ser"},
            {"output link dangles", "dangling.txt",
             [](const TempDir& d) { fs::create_symlink("nowhere", d / "dangling.ser"); },
             "dangling.ser"},
            {"output links in a loop", "loop.txt",
             [](const TempDir& d) {
                 fs::create_symlink("loop.ser", d / "loop2.ser");
                 fs::create_symlink("loop2.ser", d / "loop.ser");
             },
             "loop.ser"},
        });
    EXPECT_FALSE(fs::exists(dir / "nowhere")) << "a dangling link's target is not created";
}

TEST(EncryptTextFile, AFileWhoseSizeDoesNotMatchWhatIsReadIsAReadFailure) {
    // Files under /proc report a size of 0 but yield text when read, as a file
    // that changes between its size and the read does.
    EXPECT_EQ(Encrypt("/proc/self/status"), EncryptResult::ReadFailed);
}

// Another process keeps renaming links to the input, regular files, and the
// input itself over the output name (and the input back) while the routine
// runs: the input's content is never lost, whichever of them the routine
// meets. Each run is checked with the other process stopped between two of
// its steps: some file in the folder still holds the text.
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
            const std::string input = dir / "a.txt", output = dir / "a.ser";
            for (;;) {
                unlink(link.c_str());
                if (symlink("a.txt", link.c_str()) == 0) {
                    rename(link.c_str(), output.c_str());
                }
                if (FILE* f = std::fopen(file.c_str(), "w")) {
                    std::fclose(f);
                    rename(file.c_str(), output.c_str());
                }
                if (rename(input.c_str(), output.c_str()) == 0) {
                    rename(output.c_str(), input.c_str());
                }
            }
        }
        ~Racer() {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        void Pause() {
            kill(pid_, SIGSTOP);
            int status = 0;
            waitpid(pid_, &status, WUNTRACED);
        }
        void Resume() { kill(pid_, SIGCONT); }

      private:
        pid_t pid_;
    } racer(dir);

    const auto textSurvives = [&] {
        for (const auto& entry : fs::directory_iterator(dir.Path())) {
            if (entry.is_regular_file() && ReadFile(entry.path().string()) == text) {
                return true;
            }
        }
        return false;
    };
    for (int run = 0; run < 3000; ++run) {
        const EncryptResult result = Encrypt(input);
        ASSERT_NE(result, EncryptResult::TooLarge);
        ASSERT_NE(result, EncryptResult::ReadFailed);
        racer.Pause();
        const bool survives = textSurvives();
        racer.Resume();
        ASSERT_TRUE(survives) << "the input was lost in run " << run;
    }
}

}  // namespace
}  // namespace velmora::testing
