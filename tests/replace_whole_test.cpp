// The one replace routine, rung by rung: the system's own calls, with some of
// them made to fail as file systems that lack them fail, so that every way of
// putting a file in place is taken here without a mount of such a file
// system.
#include "platform/replace_whole.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "platform/path.h"
#include "tests/support/failing_replace_calls.h"
#include "tests/support/temp_dir.h"

namespace velmora::testing {
namespace {

namespace fs = std::filesystem;
using platform::ReplaceResult;
using Calls = std::vector<std::string>;
using Failures = std::map<std::string, std::error_code>;

const std::string NEW = "new bytes, thirty-two of them!!!";
const std::string OLD(100, 'o');  // longer than NEW: a write in place must cut it
const std::string MISSING = "<missing>";

// What optional calls answer where a file system does not offer them.
const std::errc NOT_OFFERED[] = {std::errc::invalid_argument, std::errc::function_not_supported,
                                 std::errc::operation_not_supported,
                                 std::errc::operation_not_permitted, std::errc::io_error};

#ifdef _WIN32
constexpr bool EXCHANGE_OFFERED = false;  // Windows cannot swap two names
#else
constexpr bool EXCHANGE_OFFERED = true;
#endif

ReplaceScript Failing(const Failures& failures) {
    ReplaceScript script;
    script.failures = failures;
    return script;
}

class ReplaceRungTest : public ::testing::Test {
  protected:
    void SetUp() override { inputPath = dir.Write("a.txt", "the input"); }

    // Replaces "a.ser" with NEW through calls that follow `script`.
    ReplaceResult Replace() {
        platform::RealFileSystem files(FailingReplaceCalls(script));
        const auto input = files.OpenForReading(inputPath);
        EXPECT_NE(input, nullptr);
        const auto* data = reinterpret_cast<const unsigned char*>(NEW.data());
        return files.ReplaceWhole(dir / "a.ser", data, NEW.size(), *input, true);
    }

    // The calls that put a file in place (or write it in place), in order.
    Calls Placing() const {
        Calls placing;
        for (const std::string& call : script.calls) {
            if (call == "RenameNoReplace" || call == "Link" || call == "CreatePlaceholder" ||
                call == "Exchange" || call == "Rename" || call == "OpenForUpdate") {
                placing.push_back(call);
            }
        }
        return placing;
    }

    bool CalledOnce(const std::string& call) const {
        return std::count(script.calls.begin(), script.calls.end(), call) == 1;
    }

    platform::FileIdentity IdentityOf(const std::string& name) const {
        platform::RealFileSystem files;
        const auto file = files.OpenForReading(dir / name);
        return file ? file->Identity() : platform::FileIdentity();
    }

    std::vector<std::string> Leftovers() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir.Path())) {
            if (IsTemporaryFileName(ToUtf8(entry.path().filename()))) {
                names.push_back(ToUtf8(entry.path().filename()));
            }
        }
        return names;
    }

    TempDir dir;
    std::string inputPath;
    ReplaceScript script;
};

struct Rung {
    std::string what;
    Failures failures;
    ReplaceResult result;
    Calls placing;
    std::string content;  // of a.ser afterwards
};

std::string Name(std::errc error) {
    return std::make_error_code(error).message();
}

TEST_F(ReplaceRungTest, ANewNameClimbsTheLadderUntilARungHolds) {
    std::vector<Rung> rungs = {
        {"no-replace rename", {}, ReplaceResult::Replaced, {"RenameNoReplace"}, NEW},
        {"the name is taken meanwhile",
         {{"RenameNoReplace", Errc(std::errc::file_exists)}},
         ReplaceResult::NameTakenMeanwhile,
         {"RenameNoReplace"},
         MISSING},
        {"taken, seen by the link",
         {{"RenameNoReplace", Errc(std::errc::invalid_argument)},
          {"Link", Errc(std::errc::file_exists)}},
         ReplaceResult::NameTakenMeanwhile,
         {"RenameNoReplace", "Link"},
         MISSING},
        {"another failure is no reason to try the next rung",
         {{"RenameNoReplace", Errc(std::errc::permission_denied)}},
         ReplaceResult::CannotPutInPlace,
         {"RenameNoReplace"},
         MISSING},
        {"the rename over the placeholder fails: the placeholder goes too",
         {{"RenameNoReplace", Errc(std::errc::invalid_argument)},
          {"Link", Errc(std::errc::operation_not_permitted)},
          {"Rename", Errc(std::errc::io_error)}},
         ReplaceResult::CannotPutInPlace,
         {"RenameNoReplace", "Link", "CreatePlaceholder", "Rename"},
         MISSING},
        {"no placeholder can be made",
         {{"RenameNoReplace", Errc(std::errc::invalid_argument)},
          {"Link", Errc(std::errc::io_error)},
          {"CreatePlaceholder", Errc(std::errc::permission_denied)}},
         ReplaceResult::CannotPutInPlace,
         {"RenameNoReplace", "Link", "CreatePlaceholder"},
         MISSING},
    };
    for (const std::errc error : NOT_OFFERED) {
        rungs.push_back({"no-replace rename: " + Name(error),
                         {{"RenameNoReplace", Errc(error)}},
                         ReplaceResult::Replaced,
                         {"RenameNoReplace", "Link"},
                         NEW});
        rungs.push_back({"no-replace rename and link: " + Name(error),
                         {{"RenameNoReplace", Errc(error)}, {"Link", Errc(error)}},
                         ReplaceResult::Replaced,
                         {"RenameNoReplace", "Link", "CreatePlaceholder", "Rename"},
                         NEW});
    }
    for (const Rung& rung : rungs) {
        SCOPED_TRACE(rung.what);
        fs::remove(dir.Path() / "a.ser");
        script = Failing(rung.failures);
        EXPECT_EQ(Replace(), rung.result);
        EXPECT_EQ(Placing(), rung.placing);
        EXPECT_EQ(ReadFile(dir / "a.ser"), rung.content);
        EXPECT_EQ(ReadFile(inputPath), "the input");
        EXPECT_EQ(Leftovers(), std::vector<std::string>{});
    }
}

TEST_F(ReplaceRungTest, AnExistingFileIsExchangedRenamedOverOrAtLastWrittenInPlace) {
    const Calls plain = EXCHANGE_OFFERED ? Calls{"Exchange"} : Calls{"Exchange", "Rename"};
    struct Case : Rung {
        bool inPlace = false;  // the same file afterwards, with new content
    };
    std::vector<Case> cases = {
        {{"every call there", {}, ReplaceResult::Replaced, plain, NEW}},
        {{"no exchange, and the rename fails",
          {{"Exchange", Errc(std::errc::invalid_argument)}, {"Rename", Errc(std::errc::io_error)}},
          ReplaceResult::CannotPutInPlace,
          {"Exchange", "Rename"},
          OLD}},
        {{"it does not open for writing",
          {{"OpenForWriting", Errc(std::errc::permission_denied)}},
          ReplaceResult::NotWritable,
          {},
          OLD}},
        {{"the temporary file cannot be written whole",
          {{"Write", Errc(std::errc::no_space_on_device)}},
          ReplaceResult::CannotWrite,
          {},
          OLD}},
        {{"the temporary file cannot be flushed",
          {{"Flush", Errc(std::errc::io_error)}},
          ReplaceResult::CannotWrite,
          {},
          OLD}},
        {{"the temporary file cannot be closed",
          {{"Close", Errc(std::errc::io_error)}},
          ReplaceResult::CannotWrite,
          {},
          OLD}},
        {{"a read-only file system is no case for writing in place",
          {{"CreateTemporary", Errc(std::errc::read_only_file_system)}},
          ReplaceResult::CannotCreate,
          {},
          OLD}},
        {{"in place, but the old content cannot be read",
          {{"CreateTemporary", Errc(std::errc::permission_denied)},
           {"OpenForUpdate", Errc(std::errc::permission_denied)}},
          ReplaceResult::NotWritable,
          {"OpenForUpdate"},
          OLD}},
        {{"in place, the write fails half-way: the old content is written back",
          {{"CreateTemporary", Errc(std::errc::permission_denied)},
           {"Write#1", Errc(std::errc::no_space_on_device)}},
          ReplaceResult::CannotWrite,
          {"OpenForUpdate"},
          OLD}},
        {{"in place, the new length cannot be set",
          {{"CreateTemporary", Errc(std::errc::permission_denied)},
           {"Truncate#1", Errc(std::errc::io_error)}},
          ReplaceResult::CannotWrite,
          {"OpenForUpdate"},
          OLD}},
        {{"in place, the flush fails",
          {{"CreateTemporary", Errc(std::errc::permission_denied)},
           {"Flush#1", Errc(std::errc::io_error)}},
          ReplaceResult::CannotWrite,
          {"OpenForUpdate"},
          OLD}},
    };
    for (const std::errc refusal :
         {std::errc::permission_denied, std::errc::operation_not_permitted}) {
        cases.push_back(
            {{"no temporary file for lack of permission (" + Name(refusal) + "): written in place",
              {{"CreateTemporary", Errc(refusal)}},
              ReplaceResult::Replaced,
              {"OpenForUpdate"},
              NEW},
             true});
        cases.push_back(
            {{"no rename over it for lack of permission (" + Name(refusal) + "): written in place",
              {{"Exchange", Errc(std::errc::operation_not_permitted)}, {"Rename", Errc(refusal)}},
              ReplaceResult::Replaced,
              {"Exchange", "Rename", "OpenForUpdate"},
              NEW},
             true});
    }
    for (const std::errc error : NOT_OFFERED) {
        cases.push_back({{"no exchange: " + Name(error),
                          {{"Exchange", Errc(error)}},
                          ReplaceResult::Replaced,
                          {"Exchange", "Rename"},
                          NEW}});
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        dir.Write("a.ser", OLD);
        const platform::FileIdentity before = IdentityOf("a.ser");
        script = Failing(c.failures);
        EXPECT_EQ(Replace(), c.result);
        EXPECT_EQ(Placing(), c.placing);
        EXPECT_EQ(ReadFile(dir / "a.ser"), c.content);
        if (c.content == NEW) {
            EXPECT_EQ(IdentityOf("a.ser") == before, c.inPlace);
        }
        EXPECT_EQ(ReadFile(inputPath), "the input");
        EXPECT_EQ(Leftovers(), std::vector<std::string>{});
    }
}

// Files that move a few bytes a call (a network file system, a call cut short
// by a signal) are still written and read whole, at the right places.
TEST_F(ReplaceRungTest, FilesThatMoveAFewBytesACallAreWrittenAndReadWhole) {
    std::string old;
    for (int i = 0; old.size() < 100; ++i) {
        old += std::to_string(i) + ",";  // no two pieces alike
    }
    const struct {
        std::string what;
        Failures failures;
        ReplaceResult result;
        std::string content;
    } cases[] = {
        {"through a temporary file", {}, ReplaceResult::Replaced, NEW},
        {"in place",
         {{"CreateTemporary", Errc(std::errc::permission_denied)}},
         ReplaceResult::Replaced,
         NEW},
        {"in place, the write fails: the old content read and written back",
         {{"CreateTemporary", Errc(std::errc::permission_denied)},
          {"Write#1", Errc(std::errc::no_space_on_device)}},
         ReplaceResult::CannotWrite,
         old},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        dir.Write("a.ser", old);
        script = Failing(c.failures);
        script.mostBytesPerCall = 5;
        EXPECT_EQ(Replace(), c.result);
        EXPECT_EQ(ReadFile(dir / "a.ser"), c.content);
        EXPECT_EQ(Leftovers(), std::vector<std::string>{});
    }
}

// The name is checked once more when the new file takes its place: a file
// put there by someone else after it was examined is never what is replaced.
TEST_F(ReplaceRungTest, AFileRenamedOntoTheNameMeanwhileIsPutBackAndKept) {
    for (const bool exchange : {true, false}) {
        SCOPED_TRACE(exchange ? "exchanged" : "renamed over");
        dir.Write("a.ser", OLD);
        dir.Write("other", "another file");
        script = ReplaceScript{};
        if (!exchange) {
            script.failures["Exchange"] = Errc(std::errc::invalid_argument);
        }
        script.beforePlacing = {[&] { fs::rename(dir.Path() / "other", dir.Path() / "a.ser"); }};
        EXPECT_EQ(Replace(), ReplaceResult::ChangedMeanwhile);
        EXPECT_EQ(ReadFile(dir / "a.ser"), "another file");
        EXPECT_EQ(Leftovers(), std::vector<std::string>{});
    }
}

// The name changes hands twice: once before the new file is swapped in, once
// more before the displaced file is swapped back. What the swap back brings
// out is someone else's file: it is kept (under the temporary name), never
// removed.
TEST_F(ReplaceRungTest, WhatASwapBackBringsOutIsKeptUnlessItIsTheNewFile) {
    if (!EXCHANGE_OFFERED) {
        GTEST_SKIP() << "no swap of two names on this system";
    }
    dir.Write("a.ser", OLD);
    dir.Write("first", "first intruder");
    dir.Write("second", "second intruder");
    script.beforePlacing = {
        [&] { fs::rename(dir.Path() / "first", dir.Path() / "a.ser"); },
        [&] { fs::rename(dir.Path() / "second", dir.Path() / "a.ser"); },
    };
    EXPECT_EQ(Replace(), ReplaceResult::ChangedMeanwhile);
    EXPECT_EQ(ReadFile(dir / "a.ser"), "first intruder");
    const std::vector<std::string> kept = Leftovers();
    ASSERT_EQ(kept.size(), 1u) << "the second intruder, under the temporary name";
    EXPECT_EQ(ReadFile(dir / kept[0]), "second intruder");
}

TEST_F(ReplaceRungTest, AFileRemovedMeanwhileLeavesAFreeName) {
    dir.Write("a.ser", OLD);
    script.beforePlacing = {[&] { fs::remove(dir.Path() / "a.ser"); }};
    EXPECT_EQ(Replace(), ReplaceResult::Replaced);
    EXPECT_EQ(ReadFile(dir / "a.ser"), NEW);
    EXPECT_TRUE(CalledOnce("RenameNoReplace"));
    EXPECT_EQ(Leftovers(), std::vector<std::string>{});
}

TEST_F(ReplaceRungTest, NothingIsWrittenWhereTheNameLeadsNowhere) {
    for (const char* call : {"Resolve", "OpenFolder"}) {
        SCOPED_TRACE(call);
        script = Failing({{call, Errc(std::errc::permission_denied)}});
        EXPECT_EQ(Replace(), ReplaceResult::LeadsNowhere);
        EXPECT_FALSE(fs::exists(dir.Path() / "a.ser"));
        EXPECT_FALSE(CalledOnce("CreateTemporary"));
    }
}

// Failing folder flushes are reported with the folder; the others are not.
TEST_F(ReplaceRungTest, FoldersThatCannotBeFlushedAreReported) {
    script.failures["FlushFolder"] = Errc(std::errc::io_error);
    platform::RealFileSystem files(FailingReplaceCalls(script));
    const auto input = files.OpenForReading(inputPath);
    const auto* data = reinterpret_cast<const unsigned char*>(NEW.data());
    ASSERT_EQ(files.ReplaceWhole(dir / "a.ser", data, NEW.size(), *input, true),
              ReplaceResult::Replaced);
    ASSERT_EQ(files.ReplaceWhole(dir / "b.ser", data, NEW.size(), *input, true),
              ReplaceResult::Replaced);
    const std::vector<platform::FolderNotFlushed> failed = files.FlushFolders();
    ASSERT_EQ(failed.size(), 1u) << "one folder, flushed once";
    EXPECT_NE(failed[0].folder.find(ToUtf8(dir.Path().filename())), std::string::npos)
        << failed[0].folder;
    EXPECT_EQ(failed[0].error, std::errc::io_error);
    EXPECT_TRUE(files.FlushFolders().empty()) << "nothing left to flush";
}

// Two files are the same only when their volume and number say so; a volume
// that has no serial number (0) is told apart by the files' full paths.
TEST(FileIdentity, AVolumeWithoutSerialNumberIsToldApartByPath) {
    using platform::FileIdentity;
    const FileIdentity numbered{7, 42, 0, ""};
    const struct {
        FileIdentity a, b;
        bool same;
    } cases[] = {
        {numbered, numbered, true},
        {numbered, {7, 42, 1, ""}, false},
        {numbered, {8, 42, 0, ""}, false},
        {{0, 42, 0, "C:\\one"}, {0, 42, 0, "D:\\two"}, false},
        {{0, 42, 0, "C:\\one"}, {0, 42, 0, "C:\\one"}, true},
        {{0, 42, 0, "C:\\one"}, {7, 42, 0, ""}, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.a == c.b, c.same) << c.a.volume << ':' << c.a.file << c.a.path << " vs "
                                      << c.b.volume << ':' << c.b.file << c.b.path;
    }
}

}  // namespace
}  // namespace velmora::testing
