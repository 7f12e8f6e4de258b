#include "desktop/encrypt_selection.h"

#include "core/encrypt.h"
#include "core/selection.h"
#include "desktop/result_message.h"

namespace velmora::desktop {
namespace {

void EncryptOne(const unsigned char* key, const std::string& path, const ShowMessageFn& show) {
    show(ResultMessage(EncryptTextFile(key, path), path));
}

}  // namespace

void EncryptSelection(const unsigned char* key, const std::string& path,
                      const platform::FolderSearch& search, const ShowMessageFn& show) {
    if (NamesSingleTextFile(path)) {
        EncryptOne(key, path, show);
        return;
    }
    for (const auto& entry : search.Find(path + "*.txt")) {
        const std::string name = path + entry.name;
        if (!entry.isDirectory && IsTextFileEntry(name)) {
            EncryptOne(key, name, show);
        }
    }
}

}  // namespace velmora::desktop
