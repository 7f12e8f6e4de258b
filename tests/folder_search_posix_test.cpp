// The folder search where POSIX systems differ: symbolic links.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "platform/folder_search.h"
#include "tests/support/temp_dir.h"

namespace velmora::platform {
namespace {

namespace fs = std::filesystem;
using velmora::testing::TempDir;

// The folder test follows links: a link to a folder is a folder, a link
// that dangles is not.
TEST(RealFolderSearch, LinksAreWhatTheyLeadTo) {
    TempDir dir;
    dir.MakeDir("real");
    fs::create_directory_symlink(dir / "real", dir / "link.txt");
    fs::create_symlink("missing", dir / "dangling.txt");
    fs::create_symlink("real", dir / "relative.txt");
    std::set<std::string> folders, files;
    for (const FolderEntry& entry : RealFolderSearch().Find(dir / "*.txt")) {
        (entry.isDirectory ? folders : files).insert(entry.name);
    }
    EXPECT_EQ(folders, (std::set<std::string>{"link.txt", "relative.txt"}));
    EXPECT_EQ(files, std::set<std::string>{"dangling.txt"});
}

}  // namespace
}  // namespace velmora::platform
