#include "cli/command_line.h"

#include <cstring>
#include <string>

#include "core/encrypt.h"
#include "core/selection.h"

namespace velmora::cli {
namespace {

void EncryptOneFile(const unsigned char* key, const std::string& target, std::FILE* out) {
    if (EncryptTextFile(key, target, out) == EncryptResult::Done) {
        std::fprintf(out, "encptry %s successful!\n", target.c_str());
    } else {
        std::fprintf(out, "Encrypt file %s error!", target.c_str());
    }
}

void EncryptFolder(const unsigned char* key, const std::string& target,
                   const platform::FolderSearch& search, std::FILE* out) {
    const auto entries = search.Find(target + "/*.txt");
    if (entries.empty()) {
        std::fprintf(out, "Directory is not exist!\n");
        return;
    }
    for (const auto& entry : entries) {
        const std::string path = target + "/" + entry.name;
        if (entry.isDirectory || !IsTextFileEntry(path)) {
            std::fprintf(out, "Not a Directory!\n");
            continue;
        }
        switch (EncryptTextFile(key, path, out)) {
            case EncryptResult::Done:
                std::fprintf(out, "encptry %s successful!\n", path.c_str());
                break;
            case EncryptResult::OpenFailed:
                std::fprintf(out, "OpenFile %s error!\n", path.c_str());
                break;
            case EncryptResult::TooLarge:
                std::fprintf(out, "File length is too big. Max length is 0x16000\n");
                break;
            case EncryptResult::WriteFailed:
                std::fprintf(out, "WriteFile %s error!\n", path.c_str());
                break;
            case EncryptResult::ReadFailed:
                std::fprintf(out, "ReadFile %s error!\n", path.c_str());
                break;
        }
    }
}

}  // namespace

void PrintUsage(const char* programName, std::FILE* out) {
    std::fprintf(out,
                 "\n<%s> <key> <FileName/Directory>\n\nNotes:\n  key:\tEncrypt key.\n"
                 "\t\tThe length of encrypt key must be 16!\n\n"
                 "  FileName/Directory:\tInput file or directory.\n"
                 "\t\tIf you input file name like 'xxx.txt',only one file\n"
                 "\t\tlike 'xxx.ser',will be generated.\n"
                 "\t\tIf you input a directory, which include several \n"
                 "\t\tfiles like 'xxxxx.txt',all of those files in this\n"
                 "\t\tlayer will be encrypted,and the files name type\n"
                 "\t\twill be replaced by 'xxxxx.ser'\n",
                 programName);
}

int RunCommandLine(int argc, const char* const* argv, const platform::FolderSearch& search,
                   std::FILE* out) {
    if (argc != 3) {
        PrintUsage(argc > 0 ? argv[0] : "velmora-cli", out);
        return 0;
    }
    const char* key = argv[1];
    if (std::strlen(key) != KEY_BYTES) {
        std::fprintf(out, "Length of encrypt key must be 16!");
        return 0;
    }
    const auto* keyBytes = reinterpret_cast<const unsigned char*>(key);
    const std::string target = argv[2];
    if (NamesSingleTextFile(target)) {
        EncryptOneFile(keyBytes, target, out);
    } else {
        EncryptFolder(keyBytes, target, search, out);
    }
    return 0;
}

}  // namespace velmora::cli
