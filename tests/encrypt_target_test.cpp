// The one workflow both programs use: which mode a target takes, which
// entries of a folder are encrypted, skipped or passed over, and the order
// in which the report hears of them.
#include "core/encrypt_target.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/temp_dir.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;
using testing::FromUtf8;
using testing::Native;
using testing::TempDir;

// Writes down every call as one line, in order.
class RecordingReport : public TargetReport {
  public:
    explicit RecordingReport(std::vector<std::string>& log) : log(log) {}
    void NothingFound() override { log.push_back("nothing found"); }
    void EntrySkipped(const std::string& path) override { log.push_back("skipped " + path); }
    void FileDone(const FileOutcome& outcome) override {
        log.push_back(std::string(outcome.mode == TargetMode::SingleFile ? "file " : "entry ") +
                      outcome.inputPath + " -> " + outcome.outputPath + " " +
                      std::to_string(static_cast<int>(outcome.result)));
    }

  private:
    std::vector<std::string>& log;
};

// The real file system, with its folder flushes written into the same log.
class LoggingFileSystem : public platform::RealFileSystem {
  public:
    explicit LoggingFileSystem(std::vector<std::string>& log) : log(log) {}
    std::vector<platform::FolderNotFlushed> FlushFolders() override {
        log.push_back("flush");
        return RealFileSystem::FlushFolders();
    }

  private:
    std::vector<std::string>& log;
};

class EncryptTargetTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir.Write("docs/a.txt", "alpha");
        dir.Write("docs/B.TXT", "upper case");
        dir.Write("docs/c.txt.bak", "backup");
        dir.Write("docs/notes.ser", "old output");
        dir.Write("docs/sub.txt/inner.txt", "inside a subfolder");
        dir.MakeDir("empty");
        dir.MakeDir("data.txt/notes");  // folders whose names have .txt
        previous = fs::current_path();
        fs::current_path(dir.Path());
    }
    void TearDown() override { fs::current_path(previous); }

    // The log of one run, sorted between its first and last line where the
    // order is the file system's.
    std::vector<std::string> Run(const std::string& target, FolderJoin folderPath) {
        std::vector<std::string> log;
        LoggingFileSystem files(log);
        const platform::RealFolderSearch search;
        RecordingReport report(log);
        EncryptTarget(*Key::FromBytes("0123456789abcdef"), target, folderPath, {files, search},
                      report);
        std::sort(log.begin(), log.end() - 1);
        return log;
    }

    TempDir dir;
    fs::path previous;
};

TEST_F(EncryptTargetTest, ModeAndEntriesFollowThePathText) {
    using Log = std::vector<std::string>;
    const struct {
        std::string target;
        FolderJoin folderPath;
        Log expected;
    } cases[] = {
        {"docs", FolderJoin::AddSeparator,
         Log{Native("entry docs/a.txt -> docs/a.ser 0"), Native("skipped docs/B.TXT"),
             Native("skipped docs/sub.txt"), "flush"}},
        {Native("docs/"), FolderJoin::TargetEndsInSeparator,
         Log{Native("entry docs/a.txt -> docs/a.ser 0"), Native("skipped docs/B.TXT"),
             Native("skipped docs/sub.txt"), "flush"}},
        {Native("docs/"), FolderJoin::AddSeparator,
         Log{Native("entry docs//a.txt -> docs//a.ser 0"), Native("skipped docs//B.TXT"),
             Native("skipped docs//sub.txt"), "flush"}},
        {Native("docs/a.txt"), FolderJoin::AddSeparator,
         Log{Native("file docs/a.txt -> docs/a.ser 0"), "flush"}},
        // ".txt" anywhere makes one file of it, even a folder.
        {Native("data.txt/notes"), FolderJoin::AddSeparator,
         Log{Native("file data.txt/notes -> data.ser/notes -1"), "flush"}},
        {Native("docs/B.TXT"), FolderJoin::AddSeparator,
         Log{Native("file docs/B.TXT -> docs/B.TXT -3"), "flush"}},
        {Native("docs/a.Txt"), FolderJoin::AddSeparator, Log{"nothing found", "flush"}},
        {"empty", FolderJoin::AddSeparator, Log{"nothing found", "flush"}},
        {"missing", FolderJoin::AddSeparator, Log{"nothing found", "flush"}},
        // The empty path of the desktop's "Drives" searches the current directory.
        {"", FolderJoin::TargetEndsInSeparator, Log{"skipped data.txt", "flush"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Run(c.target, c.folderPath), c.expected) << '"' << c.target << '"';
    }
    EXPECT_FALSE(fs::exists(FromUtf8(dir / "docs/sub.ser"))) << "subfolders are never entered";
    EXPECT_FALSE(fs::exists(FromUtf8(dir / "docs/sub.txt/inner.ser")));
}

// Each file is reported before the next one is touched, so a report may
// wait for the user with what is on disk matching what was reported.
TEST_F(EncryptTargetTest, EachFileIsReportedBeforeTheNextIsTouched) {
    for (const char* name : {"batch/one.txt", "batch/two.txt", "batch/three.txt"}) {
        dir.Write(name, name);
    }
    class CountingReport : public TargetReport {
      public:
        explicit CountingReport(const fs::path& folder) : folder(folder) {}
        void NothingFound() override { ADD_FAILURE(); }
        void EntrySkipped(const std::string&) override { ADD_FAILURE(); }
        void FileDone(const FileOutcome& outcome) override {
            ++reported;
            int outputs = 0;
            for (const auto& entry : fs::directory_iterator(folder)) {
                outputs += entry.path().extension() == ".ser";
            }
            EXPECT_EQ(outputs, reported) << outcome.inputPath;
        }
        int reported = 0;

      private:
        fs::path folder;
    } report(dir.Path() / "batch");
    platform::RealFileSystem files;
    const platform::RealFolderSearch search;
    EncryptTarget(*Key::FromBytes("0123456789abcdef"), "batch", FolderJoin::AddSeparator,
                  {files, search}, report);
    EXPECT_EQ(report.reported, 3);
}

}  // namespace
}  // namespace velmora
