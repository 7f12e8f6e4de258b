#pragma once

#include <string>
#include <vector>

#include "platform/folder_search.h"
#include "platform/path.h"

namespace velmora::testing {

/// The real folder search, except that folders on the deny list cannot be
/// read, as if access were refused (the tests run as root, who may read any
/// folder).
class DenyingFolderSearch : public platform::FolderSearch {
  public:
    std::vector<platform::FolderEntry> Find(const std::string& pattern) const override {
        for (const std::string& folder : denied) {
            if (pattern.compare(0, folder.size(), folder) == 0 &&
                pattern.find(platform::PATH_SEPARATOR, folder.size()) == std::string::npos) {
                return {};
            }
        }
        return real.Find(pattern);
    }

    /// Folder paths ending in the path separator.
    std::vector<std::string> denied;

  private:
    platform::RealFolderSearch real;
};

}  // namespace velmora::testing
