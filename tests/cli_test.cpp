// velmora-cli end to end, the same on every platform (paths are written
// with '/' and turned into the platform's own with Native).
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "tests/cli_fixture.h"

namespace velmora::testing {
namespace {

namespace fs = std::filesystem;

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
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Run(c.args).out, c.expected) << ::testing::PrintToString(c.args);
    }
}

TEST_F(CliTest, SingleFileModeEncryptsAnyKeyOfSixteenBytes) {
    for (const std::string key : {"0123456789abcdef", "key with  spaces", "!\"#$%&'()*+,-./0"}) {
        SCOPED_TRACE(key);
        dir.Write("a.txt", "secret notes\n");
        EXPECT_EQ(Run({key, "a.txt"}).out, "encptry a.txt successful!\n");
        EXPECT_EQ(DecryptSerFile(dir / "a.ser", key), "secret notes\n   ");
    }
}

TEST_F(CliTest, SingleFileModeFailuresPrintTwoMessages) {
    dir.MakeDir("data.txt/notes");
    dir.Write("B.TXT", "upper");
    dir.Write("old.txt/b.txt", "in a folder whose output twin is missing");
    dir.WriteSized("big.txt", 0x16000);
    dir.Write("taken.txt", "its output name is a folder");
    dir.MakeDir("taken.ser");
    struct Case {
        std::string target;
        std::string expected;
    };
    const Case cases[] = {
        {"missing.txt", "Open file missing.txt error!\nEncrypt file missing.txt error!"},
        // A folder whose name holds ".txt" takes single-file mode.
        {Native("data.txt/notes"),
         Native("Open file data.txt/notes error!\nEncrypt file data.txt/notes error!")},
        {"B.TXT", "Write file B.TXT error!\nEncrypt file B.TXT error!"},
        {Native("old.txt/b.txt"),
         Native("Write file old.ser/b.ser error!\nEncrypt file old.txt/b.txt error!")},
        {"big.txt", "Read file big.txt error!\nEncrypt file big.txt error!"},
        {"taken.txt", "Write file taken.ser error!\nEncrypt file taken.txt error!"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Run({KEY, c.target}).out, c.expected);
    }
    EXPECT_EQ(ReadFile(dir / "B.TXT"), "upper");
    EXPECT_FALSE(fs::exists(FromUtf8(dir / "big.ser")));
    EXPECT_FALSE(fs::exists(FromUtf8(dir / "old.ser")));
}

TEST_F(CliTest, SizeLimitIsOneByteBelowTheBuffer) {
    dir.WriteSized("ok.txt", 90111);
    dir.WriteSized("big.txt", 90112);
    EXPECT_EQ(Run({KEY, "ok.txt"}).out, "encptry ok.txt successful!\n");
    EXPECT_EQ(fs::file_size(FromUtf8(dir / "ok.ser")), 90112u);
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
                                          Native("encptry docs/a.txt successful!")}));
    EXPECT_EQ(DecryptSerFile(dir / "docs/a.ser", KEY), "alpha" + std::string(11, ' '));
    EXPECT_EQ(ReadFile(dir / "docs/B.TXT"), "upper");
    EXPECT_EQ(ReadFile(dir / "docs/notes.ser"), "old output");
    EXPECT_FALSE(fs::exists(FromUtf8(dir / "docs/sub.txt/inner.ser")));

    // A second run re-encrypts the same files and never picks up the outputs.
    const auto first = ReadFile(dir / "docs/a.ser");
    EXPECT_EQ(Lines(Run({KEY, "docs"}).out).count(Native("encptry docs/a.txt successful!")), 1u);
    EXPECT_EQ(ReadFile(dir / "docs/a.ser"), first);
}

TEST_F(CliTest, FolderModeTargetIsUsedAsTyped) {
    dir.Write("one/only.txt", "single entry");
    EXPECT_EQ(Run({KEY, "one"}).out, Native("encptry one/only.txt successful!\n"));
    EXPECT_EQ(Run({KEY, Native("one/")}).out, Native("encptry one//only.txt successful!\n"));
    EXPECT_EQ(Run({KEY, dir / "one"}).out, "encptry " + (dir / "one/only.txt") + " successful!\n");
}

TEST_F(CliTest, FolderModeGoesOnAfterFailedFiles) {
    dir.Write("batch/a.txt", "first");
    dir.WriteSized("batch/big.txt", 100000);
    dir.Write("batch/c.txt", "last");
    dir.Write("batch/taken.txt", "its output name is a folder");
    dir.MakeDir("batch/taken.ser");

    const std::string out = Run({KEY, "batch"}).out;
    EXPECT_EQ(Lines(out), (std::multiset<std::string>{
                              Native("encptry batch/a.txt successful!"),
                              Native("encptry batch/c.txt successful!"),
                              Native("Read file batch/big.txt error!"),
                              TOO_BIG.substr(0, TOO_BIG.size() - 1),
                              Native("Write file batch/taken.ser error!"),
                              Native("WriteFile batch/taken.txt error!"),
                          }));
    // The routine's own line comes right before the driver's line for the same file.
    EXPECT_NE(out.find(Native("Read file batch/big.txt error!\n") + TOO_BIG), std::string::npos);
    EXPECT_NE(
        out.find(Native("Write file batch/taken.ser error!\nWriteFile batch/taken.txt error!\n")),
        std::string::npos);
    EXPECT_FALSE(fs::exists(FromUtf8(dir / "batch/big.ser")));
}

}  // namespace
}  // namespace velmora::testing
