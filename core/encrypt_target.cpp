#include "core/encrypt_target.h"

#include "core/selection.h"
#include "platform/path.h"

namespace velmora {
namespace {

void EncryptOne(const Key& key, TargetMode mode, const std::string& path,
                const TargetServices& services, TargetReport& report) {
    const EncryptResult result = EncryptTextFile(key, path, services.files);
    report.FileDone({mode, path, SerPathFor(path), result});
}

}  // namespace

void EncryptTarget(const Key& key, const std::string& target, FolderJoin folderPath,
                   const TargetServices& services, TargetReport& report) {
    if (NamesSingleTextFile(target)) {
        EncryptOne(key, TargetMode::SingleFile, target, services, report);
    } else {
        const std::string folder =
            folderPath == FolderJoin::AddSeparator ? target + platform::PATH_SEPARATOR : target;
        const auto entries = services.search.Find(folder + "*.txt");
        if (entries.empty()) {
            report.NothingFound();
        }
        for (const platform::FolderEntry& entry : entries) {
            const std::string path = folder + entry.name;
            if (entry.isDirectory || !IsTextFileEntry(path)) {
                report.EntrySkipped(path);
            } else {
                EncryptOne(key, TargetMode::Folder, path, services, report);
            }
        }
    }
    for (const platform::FolderNotFlushed& folder : services.files.FlushFolders()) {
        report.FolderNotFlushed(folder);
    }
}

}  // namespace velmora
