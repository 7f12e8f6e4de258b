#include "desktop/file_filter.h"

#include "core/selection.h"

namespace velmora::desktop {

bool FileFilter::Shows(int index, std::string_view fileName) {
    switch (index) {
        case kTextFiles:
            return EndsWith(fileName, ".txt");
        case kSerFiles:
            return EndsWith(fileName, ".ser");
        default:
            return true;
    }
}

}  // namespace velmora::desktop
