#include <gtest/gtest.h>
#include <unistd.h>

#include "tests/desktop/folder_tree_fixture.h"

namespace velmora::testing {

const bool COLLAPSE_DEFERS_SELECTION = true;

void MakeFolderLoop(const std::string& path) {
    ASSERT_EQ(symlink(".", path.c_str()), 0) << path;
}

}  // namespace velmora::testing
