// Which files each entry of the dialog's filter lets the folder tree list.
#include "desktop/file_filter.h"

#include <gtest/gtest.h>

#include <vector>

namespace velmora::testing {
namespace {

using desktop::FileFilter;

TEST(FileFilterTest, ComparesTheEndingByteForByte) {
    struct Case {
        int filterIndex;
        const char* name;
        bool shown;
    };
    for (const Case& c : std::vector<Case>{{0, "a.txt", true},
                                           {0, ".txt", true},
                                           {0, "B.TXT", false},
                                           {0, "a.Txt", false},
                                           {0, "a.txt.bak", false},
                                           {0, "txt", false},
                                           {0, "", false},
                                           {0, "a.ser", false},
                                           {1, "a.ser", true},
                                           {1, ".ser", true},
                                           {1, "a.SER", false},
                                           {1, "a.ser~", false},
                                           {1, "a.txt", false},
                                           {2, "a.md", true},
                                           {2, "", true},
                                           {-1, "B.TXT", true}}) {
        EXPECT_EQ(FileFilter::Shows(c.filterIndex, c.name), c.shown)
            << "filter " << c.filterIndex << ", \"" << c.name << "\"";
    }
}

}  // namespace
}  // namespace velmora::testing
