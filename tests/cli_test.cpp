// End-to-end runs of the real velmora-cli binary in temporary folders.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <filesystem>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "core/encrypt.h"
#include "tests/support/child_process.h"
#include "tests/support/run_process.h"
#include "tests/support/temp_dir.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;
using testing::DecryptWithOpenssl;
using testing::ProcessResult;
using testing::ReadFile;
using testing::TempDir;

const std::string CLI = VELMORA_CLI_PATH;
const std::string KEY = "0123456789abcdef";
const std::string TOO_BIG = "File length is too big. Max length is 0x16000\n";

std::string Usage(const std::string& program) {
    return "\n<" + program +
           "> <key> <FileName/Directory>\n\nNotes:\n  key:\tEncrypt key.\n"
           "\t\tThe length of encrypt key must be 16!\n\n"
           "  FileName/Directory:\tInput file or directory.\n"
           "\t\tIf you input file name like 'xxx.txt',only one file\n"
           "\t\tlike 'xxx.ser',will be generated.\n"
           "\t\tIf you input a directory, which include several \n"
           "\t\tfiles like 'xxxxx.txt',all of those files in this\n"
           "\t\tlayer will be encrypted,and the files name type\n"
           "\t\twill be replaced by 'xxxxx.ser'\n";
}

class CliTest : public ::testing::Test {
  protected:
    ProcessResult Run(std::vector<std::string> args) {
        args.insert(args.begin(), CLI);
        ProcessResult result = testing::RunProcess(args, dir.Path().string());
        EXPECT_EQ(result.exitStatus, 0);
        EXPECT_EQ(result.err, "");
        EXPECT_EQ(result.out.find(KEY), std::string::npos) << "the key must never be printed";
        return result;
    }

    // Folder mode prints in directory order: compare the lines as a multiset.
    static std::multiset<std::string> Lines(const std::string& out) {
        std::multiset<std::string> lines;
        std::istringstream in(out);
        for (std::string line; std::getline(in, line);) {
            lines.insert(line);
        }
        return lines;
    }

    TempDir dir;
};

TEST_F(CliTest, ArgumentAndKeyChecksComeFirst) {
    struct Case {
        std::vector<std::string> args;
        std::string expected;
    };
    const Case cases[] = {
        {{}, Usage(CLI)},
        {{KEY}, Usage(CLI)},
        {{KEY, "a.txt", "extra"}, Usage(CLI)},
        {{"0123456789abcde", "missing.txt"}, "Length of encrypt key must be 16!"},
        {{"0123456789abcdefg", "missing"}, "Length of encrypt key must be 16!"},
        {{"", "missing"}, "Length of encrypt key must be 16!"},
        // Bytes are counted: 16 two-byte characters are 32 bytes.
        {{"éééééééééééééééé", "missing"}, "Length of encrypt key must be 16!"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Run(c.args).out, c.expected) << ::testing::PrintToString(c.args);
    }
}

TEST_F(CliTest, UsageNamesTheProgramAsInvoked) {
    const ProcessResult result = testing::RunProcess({CLI}, "/");
    EXPECT_EQ(result.out, Usage(CLI));
    fs::create_symlink(CLI, dir / "other-name");
    EXPECT_EQ(testing::RunProcess({dir / "other-name"}, "/").out, Usage(dir / "other-name"));
}

TEST_F(CliTest, SingleFileModeEncryptsAnyKeyOfSixteenBytes) {
    for (const std::string key : {"0123456789abcdef", "key with  spaces", "ééééééé16"}) {
        SCOPED_TRACE(key);
        dir.Write("a.txt", "secret notes\n");
        EXPECT_EQ(Run({key, "a.txt"}).out, "encptry a.txt successful!\n");
        EXPECT_EQ(DecryptWithOpenssl(dir / "a.ser", key), "secret notes\n   ");
    }
}

TEST_F(CliTest, SingleFileModeFailuresPrintTwoMessages) {
    dir.MakeDir("data.txt/notes");
    dir.Write("B.TXT", "upper");
    dir.Write("old.txt/b.txt", "in a folder whose output twin is missing");
    dir.WriteSized("big.txt", 0x16000);
    struct Case {
        std::string target;
        std::string expected;
    };
    const Case cases[] = {
        {"missing.txt", "Open file missing.txt error!\nEncrypt file missing.txt error!"},
        // A folder whose name holds ".txt" takes single-file mode.
        {"data.txt/notes", "Open file data.txt/notes error!\nEncrypt file data.txt/notes error!"},
        {"B.TXT", "Write file B.TXT error!\nEncrypt file B.TXT error!"},
        {"old.txt/b.txt", "Write file old.ser/b.ser error!\nEncrypt file old.txt/b.txt error!"},
        {"big.txt", "Read file big.txt error!\nEncrypt file big.txt error!"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Run({KEY, c.target}).out, c.expected);
    }
    EXPECT_EQ(ReadFile(dir / "B.TXT"), "upper");
    EXPECT_FALSE(fs::exists(dir / "big.ser"));
    EXPECT_FALSE(fs::exists(dir / "old.ser"));
}

TEST_F(CliTest, SizeLimitIsOneByteBelowTheBuffer) {
    dir.WriteSized("ok.txt", 90111);
    dir.WriteSized("big.txt", 90112);
    EXPECT_EQ(Run({KEY, "ok.txt"}).out, "encptry ok.txt successful!\n");
    EXPECT_EQ(fs::file_size(dir / "ok.ser"), 90112u);
    EXPECT_EQ(Run({KEY, "big.txt"}).out, "Read file big.txt error!\nEncrypt file big.txt error!");
}

TEST_F(CliTest, FolderModeFindsNothing) {
    dir.MakeDir("empty");
    dir.Write("only.ser/a.ser", "x");
    dir.Write("notes.Txt", "mixed case is not single-file mode");
    for (const std::string target : {"empty", "missing", "notes.Txt", "only.ser"}) {
        EXPECT_EQ(Run({KEY, target}).out, "Directory is not exist!\n") << target;
    }
}

TEST_F(CliTest, FolderModeHandlesEachEntryOnce) {
    dir.Write("docs/a.txt", "alpha");
    dir.Write("docs/B.TXT", "upper");
    dir.Write("docs/c.txt.bak", "backup");
    dir.Write("docs/notes.ser", "old output");
    dir.Write("docs/sub.txt/inner.txt", "not visited");
    EXPECT_EQ(Lines(Run({KEY, "docs"}).out),
              (std::multiset<std::string>{"Not a Directory!", "Not a Directory!",
                                          "encptry docs/a.txt successful!"}));
    EXPECT_EQ(DecryptWithOpenssl(dir / "docs/a.ser", KEY), "alpha" + std::string(11, ' '));
    EXPECT_EQ(ReadFile(dir / "docs/B.TXT"), "upper");
    EXPECT_EQ(ReadFile(dir / "docs/notes.ser"), "old output");
    EXPECT_FALSE(fs::exists(dir / "docs/sub.txt/inner.ser"));

    // A second run re-encrypts the same files and never picks up the outputs.
    const auto first = ReadFile(dir / "docs/a.ser");
    EXPECT_EQ(Lines(Run({KEY, "docs"}).out).count("encptry docs/a.txt successful!"), 1u);
    EXPECT_EQ(ReadFile(dir / "docs/a.ser"), first);
}

TEST_F(CliTest, FolderModeTargetIsUsedAsTyped) {
    dir.Write("one/only.txt", "single entry");
    EXPECT_EQ(Run({KEY, "one"}).out, "encptry one/only.txt successful!\n");
    EXPECT_EQ(Run({KEY, "one/"}).out, "encptry one//only.txt successful!\n");
    EXPECT_EQ(Run({KEY, dir / "one"}).out, "encptry " + (dir / "one/only.txt") + " successful!\n");
}

TEST_F(CliTest, FolderModeGoesOnAfterFailedFiles) {
    dir.Write("batch/a.txt", "first");
    dir.WriteSized("batch/big.txt", 100000);
    dir.Write("batch/c.txt", "last");
    dir.Write("batch/linked.txt", "kept");
    fs::create_symlink("linked.txt", dir / "batch/linked.ser");
    ASSERT_EQ(mkfifo((dir / "batch/pipe.txt").c_str(), 0600), 0);
    dir.Write("batch/full.txt", "no room");
    fs::create_symlink("/dev/full", dir / "batch/full.ser");
    // Reports a size of 0 but yields text: not read whole.
    fs::create_symlink("/proc/self/status", dir / "batch/proc.txt");

    const std::string out = Run({KEY, "batch"}).out;
    EXPECT_EQ(Lines(out), (std::multiset<std::string>{
                              "encptry batch/a.txt successful!",
                              "encptry batch/c.txt successful!",
                              "Read file batch/big.txt error!",
                              TOO_BIG.substr(0, TOO_BIG.size() - 1),
                              "Write file batch/linked.ser error!",
                              "WriteFile batch/linked.txt error!",
                              "Open file batch/pipe.txt error!",
                              "OpenFile batch/pipe.txt error!",
                              "Write file batch/full.ser error!",
                              "WriteFile batch/full.txt error!",
                              "Read file batch/proc.txt error!",
                              "ReadFile batch/proc.txt error!",
                          }));
    // The core's own line comes right before the driver's line for the same file.
    EXPECT_NE(out.find("Read file batch/big.txt error!\n" + TOO_BIG), std::string::npos);
    EXPECT_NE(out.find("Open file batch/pipe.txt error!\nOpenFile batch/pipe.txt error!\n"),
              std::string::npos);
    EXPECT_NE(out.find("Read file batch/proc.txt error!\nReadFile batch/proc.txt error!\n"),
              std::string::npos);
    EXPECT_EQ(ReadFile(dir / "batch/linked.txt"), "kept");
    EXPECT_FALSE(fs::exists(dir / "batch/big.ser"));
}

// A file-size limit (ulimit -f) makes the write fail: reported, the old
// output kept, and the program goes on instead of being killed by SIGXFSZ.
TEST_F(CliTest, FileSizeLimitIsAWriteFailure) {
    dir.WriteSized("big.txt", 4000);
    dir.Write("big.ser", "old output");
    dir.WriteSized("batch/one.txt", 4000);
    dir.WriteSized("batch/two.txt", 4000);
    struct Case {
        std::string target;
        std::multiset<std::string> lines;
    };
    const Case cases[] = {
        {"big.txt", {"Write file big.ser error!", "Encrypt file big.txt error!"}},
        {"batch",
         {"Write file batch/one.ser error!", "WriteFile batch/one.txt error!",
          "Write file batch/two.ser error!", "WriteFile batch/two.txt error!"}},
    };
    for (const Case& c : cases) {
        // 1 block of 512 bytes at most per file.
        const ProcessResult result = testing::RunProcess(
            {"/bin/sh", "-c", "ulimit -f 1; exec \"$0\" \"$@\"", CLI, KEY, c.target},
            dir.Path().string());
        EXPECT_EQ(result.exitStatus, 0) << "not killed by SIGXFSZ";
        EXPECT_EQ(Lines(result.out), c.lines);
    }
    EXPECT_EQ(ReadFile(dir / "big.ser"), "old output");
    EXPECT_FALSE(fs::exists(dir / "batch/one.ser"));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir / "batch"), fs::directory_iterator()), 2);
}

// A batch cut short by a signal leaves only whole outputs: every .ser on
// disk is the complete encryption of its input, every reported success has
// its .ser (each line was out before the next file), and at most the
// temporary file in progress remains after SIGKILL, none after SIGTERM.
TEST_F(CliTest, InterruptedBatchLeavesOnlyWholeOutputs) {
    constexpr int kFiles = 2000;
    for (const int signalNumber : {SIGTERM, SIGINT, SIGHUP, SIGKILL}) {
        SCOPED_TRACE(strsignal(signalNumber));
        fs::remove_all(dir / "many");
        for (int i = 0; i < kFiles; ++i) {
            dir.WriteSized("many/f" + std::to_string(i) + ".txt", 100 + i % 300);
        }
        testing::ChildProcess cli({CLI, KEY, "many"}, dir.Path().string());
        std::set<std::string> reported;
        for (std::string line; reported.size() < 100 && cli.ReadLine(line);) {
            ASSERT_EQ(line.rfind("encptry many/", 0), 0u) << line;
            reported.insert(line.substr(8, line.size() - 8 - 12));  // the input path
        }
        cli.Signal(signalNumber);
        const int status = cli.Wait();
        ASSERT_TRUE(WIFSIGNALED(status)) << "ended as the signal would";
        EXPECT_EQ(WTERMSIG(status), signalNumber);
        std::string line;
        for (std::istringstream rest(cli.Output()); std::getline(rest, line);) {
            if (line.rfind("encptry many/", 0) == 0) {
                reported.insert(line.substr(8, line.size() - 8 - 12));
            }
        }

        size_t outputs = 0, temporaries = 0;
        for (const auto& entry : fs::directory_iterator(dir / "many")) {
            const std::string name = entry.path().filename().string();
            if (name.rfind(".velmora-", 0) == 0) {
                ++temporaries;
                continue;
            }
            if (entry.path().extension() != ".ser") {
                continue;
            }
            ++outputs;
            std::string plain = ReadFile((dir / "many" / entry.path().stem()).string() + ".txt");
            const unsigned length = static_cast<unsigned>(plain.size());
            plain.resize(length + BLOCK_BYTES);
            CipherBuffer cipher;
            unsigned cipherLength = 0;
            EncryptBuffer(reinterpret_cast<const unsigned char*>(KEY.data()),
                          reinterpret_cast<unsigned char*>(plain.data()), length, cipher,
                          cipherLength);
            ASSERT_EQ(ReadFile(entry.path().string()),
                      std::string(reinterpret_cast<const char*>(cipher.get()), cipherLength))
                << name << " is not whole";
        }
        for (const std::string& path : reported) {
            EXPECT_TRUE(fs::exists(dir / (SerPathFor(path)))) << path;
        }
        EXPECT_LT(outputs, static_cast<size_t>(kFiles)) << "the signal came too late to test";
        EXPECT_LE(outputs, reported.size() + 1) << "reports were held back";
        EXPECT_LE(temporaries, signalNumber == SIGKILL ? 1u : 0u);
    }
}

}  // namespace
}  // namespace velmora
