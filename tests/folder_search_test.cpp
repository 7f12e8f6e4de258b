#include "platform/folder_search.h"

#include <limits.h>

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>

#include "platform/path.h"
#include "platform/wildcard.h"
#include "tests/support/temp_dir.h"

namespace velmora::platform {
namespace {

namespace fs = std::filesystem;
using velmora::testing::Native;
using velmora::testing::TempDir;
using velmora::testing::ToUtf8;

TEST(MatchesWildcard, FollowsTheShellRulesWithoutRegardToCase) {
    struct Case {
        const char* wildcard;
        const char* name;
        bool matches;
    };
    const Case cases[] = {
        {"*.txt", "a.txt", true},
        {"*.txt", "B.TXT", true},
        {"*.txt", "b.Txt", true},
        {"*.txt", ".txt", true},
        {"*.txt", "a.txt.bak", false},
        {"*.txt", "atxt", false},
        {"*.txt", "a.txt.txt", true},
        {"*.*", "README", true},
        {"*.*", "a.b", true},
        {"*.*", ".hidden", true},
        {"c.Txt*.txt", "c.txtA.txt", true},
        {"c.Txt*.txt", "c.txt", false},
        {"?.txt", "a.txt", true},
        {"?.txt", "ab.txt", false},
        {"*", "", true},
        {"", "a", false},
        {"a*b*c", "aXbYbZc", true},
        {"a*b*c", "aXbYcZ", false},
        {"[ab].txt", "[ab].txt", true},
        {"[ab].txt", "a.txt", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MatchesWildcard(c.wildcard, c.name), c.matches) << c.wildcard << " vs " << c.name;
    }
}

std::set<std::string> Names(const std::vector<FolderEntry>& entries, bool directories) {
    std::set<std::string> names;
    for (const auto& entry : entries) {
        if (entry.isDirectory == directories) {
            names.insert(entry.name);
        }
    }
    return names;
}

TEST(RealFolderSearch, ListsOneLevelWithDirectoryFlags) {
    TempDir dir;
    dir.Write("a.txt", "a");
    dir.Write("B.TXT", "b");
    dir.Write(".hidden.txt", "h");
    dir.Write("c.txt.bak", "c");
    dir.Write("sub.txt/inner.txt", "i");
    dir.MakeDir("real");

    const RealFolderSearch search;
    const auto entries = search.Find(dir / "*.txt");
    EXPECT_EQ(Names(entries, false), (std::set<std::string>{"a.txt", "B.TXT", ".hidden.txt"}));
    EXPECT_EQ(Names(entries, true), (std::set<std::string>{"sub.txt"}));

    const auto all = search.Find(dir / "*.*");
    EXPECT_EQ(all.size(), 6u) << "every entry but . and ..";
    EXPECT_TRUE(std::none_of(all.begin(), all.end(),
                             [](const FolderEntry& e) { return e.name == "." || e.name == ".."; }));
}

TEST(RealFolderSearch, FindsNothingWhereThereIsNoFolder) {
    TempDir dir;
    dir.Write("file", "x");
    const RealFolderSearch search;
    EXPECT_TRUE(search.Find(dir / "missing/*.txt").empty());
    EXPECT_TRUE(search.Find(dir / "file/*.txt").empty()) << "a file is no folder";
    EXPECT_TRUE(search.Find(dir / "*.txt").empty()) << "a folder without matches";
}

// The longest pattern the platform takes, terminator included: PATH_MAX
// bytes, or MAX_PATH characters on Windows.
#ifdef _WIN32
constexpr size_t PATH_LIMIT = 260;
#else
constexpr size_t PATH_LIMIT = PATH_MAX;
#endif

// An existing folder whose pattern is one short of the path limit is
// searched; the same folder written one longer is not.
TEST(RealFolderSearch, PatternsBeyondThePathLimitFindNothing) {
    TempDir dir;
    const std::string tail = Native("/*.txt");
    // Folder names of at most 200 bytes, nested until the pattern is exactly
    // PATH_LIMIT - 1 long; made one level at a time, relative to the last.
    std::string folder = ToUtf8(dir.Path());
    const auto previous = fs::current_path();
    fs::current_path(dir.Path());
    while (folder.size() + tail.size() < PATH_LIMIT - 1) {
        const size_t room = PATH_LIMIT - 1 - tail.size() - folder.size() - 1;
        size_t length = std::min<size_t>(room, 200);
        if (room > length && room - length < 2) {
            length -= 2;  // leave room for one more "/" and name
        }
        const std::string name(length, 'd');
        fs::create_directory(name);
        fs::current_path(name);
        folder += PATH_SEPARATOR + name;
    }
    std::FILE* file = std::fopen("a.txt", "w");
    ASSERT_NE(file, nullptr);
    std::fclose(file);
    fs::current_path(previous);
    ASSERT_EQ(folder.size() + tail.size(), PATH_LIMIT - 1);

    const RealFolderSearch search;
    EXPECT_EQ(Names(search.Find(folder + tail), false), std::set<std::string>{"a.txt"});
    EXPECT_TRUE(search.Find(folder + PATH_SEPARATOR + tail).empty()) << PATH_LIMIT << " do not fit";
}

TEST(RealFolderSearch, FolderPartMayBeEmptyOrEndInSeparators) {
    TempDir dir;
    dir.Write("a.txt", "a");
    const RealFolderSearch search;
    EXPECT_EQ(Names(search.Find(ToUtf8(dir.Path()) + Native("//*.txt")), false),
              std::set<std::string>{"a.txt"});

    const auto previous = fs::current_path();
    fs::current_path(dir.Path());
    const auto here = search.Find("*.txt");
    fs::current_path(previous);
    EXPECT_EQ(Names(here, false), std::set<std::string>{"a.txt"});
}

}  // namespace
}  // namespace velmora::platform
