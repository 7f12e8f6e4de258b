#include "desktop/encrypt_selection.h"

#include "core/encrypt.h"
#include "desktop/result_message.h"

namespace velmora::desktop {
namespace {

bool NamesOneFile(const std::string& path) {
    return path.find(".txt") != std::string::npos || path.find(".TXT") != std::string::npos;
}

bool EndsWithTxt(const std::string& name) {
    static constexpr std::string_view kSuffix = ".txt";
    return name.size() >= kSuffix.size() &&
           name.compare(name.size() - kSuffix.size(), kSuffix.size(), kSuffix) == 0;
}

void EncryptOne(const unsigned char* key, const std::string& path, const ShowMessageFn& show) {
    show(ResultMessage(EncryptTextFile(key, path), path));
}

}  // namespace

void EncryptSelection(const unsigned char* key, const std::string& path,
                      const platform::FolderSearch& search, const ShowMessageFn& show) {
    if (NamesOneFile(path)) {
        EncryptOne(key, path, show);
        return;
    }
    for (const auto& entry : search.Find(path + "*.txt")) {
        const std::string name = path + entry.name;
        if (!entry.isDirectory && EndsWithTxt(name)) {
            EncryptOne(key, name, show);
        }
    }
}

}  // namespace velmora::desktop
