#include "desktop/file_filter.h"

#include "core/selection.h"

namespace velmora::desktop {

bool FileFilter::Shows(int index, std::string_view fileName) {
    switch (index) {
        case TEXT_FILES:
            return EndsWith(fileName, ".txt");
        case SER_FILES:
            return EndsWith(fileName, ".ser");
        default:
            return true;
    }
}

}  // namespace velmora::desktop
