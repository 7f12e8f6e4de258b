// Reads the images of a program file's icon resource as Windows reads them,
// for the end-to-end run of velmora.exe: the group icon's directory
// (RT_GROUP_ICON) and each image it names (RT_ICON), loaded from the file
// as data.
//
// Usage: icon_reader PROGRAM.exe ICON_ID
//
// Prints one line per image, "WIDTHxHEIGHT BITS-bit COLOURS", COLOURS being
// how many different colours its opaque pixels show; exits 1 when the
// program or the icon cannot be read.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "platform/arguments.h"
#include "platform/windows/wide_text.h"

namespace {

#pragma pack(push, 2)
struct GroupIconEntry {
    BYTE width;
    BYTE height;
    BYTE colourCount;
    BYTE reserved;
    WORD planes;
    WORD bitCount;
    DWORD bytes;
    WORD id;
};
struct GroupIconDirectory {
    WORD reserved;
    WORD type;
    WORD count;
    GroupIconEntry entries[1];
};
#pragma pack(pop)

// RT_GROUP_ICON and RT_ICON, as the wide calls take them.
const LPCWSTR GROUP_ICON_TYPE = MAKEINTRESOURCEW(14);
const LPCWSTR ICON_TYPE = MAKEINTRESOURCEW(3);

const void* Resource(HMODULE module, LPCWSTR type, int id, DWORD& size) {
    const HRSRC found = ::FindResourceW(module, MAKEINTRESOURCEW(id), type);
    if (found == nullptr) {
        return nullptr;
    }
    size = ::SizeofResource(module, found);
    const HGLOBAL loaded = ::LoadResource(module, found);
    return loaded != nullptr ? ::LockResource(loaded) : nullptr;
}

// The number of different colours of the image's opaque pixels (those its
// mask leaves shown); 0 when its format is not read here.
size_t ColoursShown(const unsigned char* image, DWORD size) {
    BITMAPINFOHEADER header;
    if (size < sizeof header) {
        return 0;
    }
    std::memcpy(&header, image, sizeof header);
    const int width = header.biWidth;
    const int height = header.biHeight / 2;  // colour rows, then mask rows
    const int bits = header.biBitCount;
    if (width <= 0 || height <= 0 || (bits != 4 && bits != 32)) {
        return 0;
    }
    const size_t paletteBytes = bits == 4 ? 16 * 4 : 0;
    const size_t colourRow = ((static_cast<size_t>(width) * bits + 31) / 32) * 4;
    const size_t maskRow = ((static_cast<size_t>(width) + 31) / 32) * 4;
    const unsigned char* palette = image + header.biSize;
    const unsigned char* colours = palette + paletteBytes;
    const unsigned char* mask = colours + colourRow * height;
    if (mask + maskRow * height > image + size) {
        return 0;
    }
    std::set<unsigned long> seen;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if ((mask[y * maskRow + x / 8] & (0x80 >> (x % 8))) != 0) {
                continue;  // transparent
            }
            const unsigned char* pixel = colours + y * colourRow;
            unsigned long colour = 0;
            if (bits == 4) {
                const int index = (pixel[x / 2] >> (x % 2 == 0 ? 4 : 0)) & 0x0F;
                std::memcpy(&colour, palette + 4 * index, 3);
            } else {
                std::memcpy(&colour, pixel + 4 * x, 3);
            }
            seen.insert(colour);
        }
    }
    return seen.size();
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> arguments = velmora::platform::ProgramArguments(argc, argv);
    if (arguments.size() != 3) {
        std::fputs("usage: icon_reader PROGRAM.exe ICON_ID\n", stderr);
        return 2;
    }
    const HMODULE module =
        ::LoadLibraryExW(velmora::platform::windows::Utf8ToWide(arguments[1]).c_str(), nullptr,
                         LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (module == nullptr) {
        std::printf("cannot load %s\n", arguments[1].c_str());
        return 1;
    }
    DWORD size = 0;
    const auto* directory = static_cast<const GroupIconDirectory*>(
        Resource(module, GROUP_ICON_TYPE, std::stoi(arguments[2]), size));
    if (directory == nullptr) {
        std::printf("no group icon %s\n", arguments[2].c_str());
        return 1;
    }
    for (WORD i = 0; i < directory->count; ++i) {
        const GroupIconEntry& entry = directory->entries[i];
        DWORD imageSize = 0;
        const auto* image =
            static_cast<const unsigned char*>(Resource(module, ICON_TYPE, entry.id, imageSize));
        BITMAPINFOHEADER header{};
        if (image == nullptr || imageSize < sizeof header) {
            std::printf("image %u missing\n", entry.id);
            continue;
        }
        std::memcpy(&header, image, sizeof header);
        std::printf("%ldx%ld %u-bit %zu\n", header.biWidth, header.biHeight / 2, header.biBitCount,
                    ColoursShown(image, imageSize));
    }
    ::FreeLibrary(module);
    return 0;
}
