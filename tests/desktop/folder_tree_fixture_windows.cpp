#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "tests/desktop/folder_tree_fixture.h"

namespace velmora::testing {

const bool COLLAPSE_DEFERS_SELECTION = false;

void MakeFolderLoop(const std::string& path) {
    const std::filesystem::path deepest = FromUtf8(path) / "loop" / "loop";
    std::filesystem::create_directories(deepest);
    std::ofstream(deepest / "deep.txt") << "deep";
    ASSERT_TRUE(std::filesystem::is_regular_file(deepest / "deep.txt")) << path;
}

}  // namespace velmora::testing
