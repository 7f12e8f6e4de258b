#include "platform/wx/win32/shell.h"

#include <wx/msw/wrapwin.h>
// shellapi.h needs the types of windows.h first.
#include <shellapi.h>
#include <wx/artprov.h>
#include <wx/icon.h>

#include <cwchar>
#include <optional>

#include "platform/windows/wide_text.h"
#include "platform/wx/bitmap_at_size.h"

namespace velmora::platform {
namespace {

/// A bitmap of exactly `size` copied from `handle`, which is destroyed
/// here in every case; an invalid bitmap for a null handle.
wxBitmap TakeIcon(HICON handle, const wxSize& size) {
    if (handle == nullptr) {
        return wxBitmap();
    }
    wxBitmap bitmap;
    {
        wxIcon icon;
        icon.CreateFromHICON(handle);  // owns the handle from here on
        bitmap.CopyFromIcon(icon);
    }  // the icon, and with it the handle, is destroyed
    return BitmapAtSize(bitmap, size);
}

/// Small icon `index` of shell32.dll, or the art of `fallback` when the
/// library has no such icon (older systems, Wine).
wxBitmap Shell32Icon(int index, const wxArtID& fallback, const wxSize& size) {
    HICON small = nullptr;
    if (::ExtractIconExW(L"shell32.dll", index, nullptr, &small, 1) > 0 && small != nullptr) {
        wxBitmap bitmap = TakeIcon(small, size);
        if (bitmap.IsOk()) {
            return bitmap;
        }
    }
    return wxArtProvider::GetBitmap(fallback, wxART_OTHER, size);
}

/// What SHGetFileInfoW says of `path` with `flags`. With `typeAttributes`
/// (not 0), or when the shell cannot read the path (gone, no medium, no
/// access), the path is described by its name and kind alone
/// (SHGFI_USEFILEATTRIBUTES): a file or folder of those attributes, or for
/// an unreadable path a folder when it ends in '\', a file otherwise.
SHFILEINFOW FileInfo(const std::wstring& path, UINT flags, DWORD typeAttributes) {
    SHFILEINFOW info{};
    if (typeAttributes == 0 && ::SHGetFileInfoW(path.c_str(), 0, &info, sizeof info, flags) != 0) {
        return info;
    }
    info = SHFILEINFOW{};
    if (typeAttributes == 0) {
        typeAttributes = !path.empty() && path.back() == L'\\' ? FILE_ATTRIBUTE_DIRECTORY
                                                               : FILE_ATTRIBUTE_NORMAL;
    }
    ::SHGetFileInfoW(path.c_str(), typeAttributes, &info, sizeof info,
                     flags | SHGFI_USEFILEATTRIBUTES);
    return info;
}

/// The string value of HKEY_CLASSES_ROOT\`key`, unexpanded; nothing when
/// there is none.
std::optional<std::wstring> ClassesValue(const std::wstring& key) {
    const DWORD types = RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND;
    DWORD size = 0;
    if (::RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), nullptr, types, nullptr, nullptr, &size) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    std::wstring value(size / sizeof(wchar_t) + 1, L'\0');
    size = static_cast<DWORD>(value.size() * sizeof(wchar_t));
    if (::RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), nullptr, types, nullptr, value.data(),
                       &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    value.resize(std::wcslen(value.c_str()));
    return value;
}

bool ClassesKeyExists(const std::wstring& key) {
    HKEY handle = nullptr;
    if (::RegOpenKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) {
        return false;
    }
    ::RegCloseKey(handle);
    return true;
}

/// The extension of the last component of `path` (".txt"), or "".
std::wstring ExtensionOf(const std::wstring& path) {
    const size_t dot = path.find_last_of(L"\\.");
    return dot == std::wstring::npos || path[dot] != L'.' ? std::wstring() : path.substr(dot);
}

/// The last component of a path, for a path the shell cannot name.
std::string LastComponent(const std::string& path) {
    const size_t end = path.find_last_not_of('\\');
    if (end == std::string::npos) {
        return path;
    }
    const size_t start = path.find_last_of('\\', end);
    return path.substr(start == std::string::npos ? 0 : start + 1,
                       end - (start == std::string::npos ? 0 : start + 1) + 1);
}

}  // namespace

WindowsShell::WindowsShell()
    : iconSize(::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON)) {}

bool WindowsShell::IconComesFromType(const std::wstring& extension) const {
    auto found = iconFromType.find(extension);
    if (found != iconFromType.end()) {
        return found->second;
    }
    // A type whose icon is "%1" (programs, icon files) or that has an icon
    // handler (shortcuts) draws each file its own way.
    bool fromType = true;
    if (!extension.empty()) {
        for (const std::wstring& type : {extension, ClassesValue(extension).value_or(L"")}) {
            if (type.empty()) {
                continue;
            }
            const std::optional<std::wstring> icon = ClassesValue(type + L"\\DefaultIcon");
            if ((icon && icon->find(L"%1") != std::wstring::npos) ||
                ClassesKeyExists(type + L"\\ShellEx\\IconHandler")) {
                fromType = false;
            }
        }
    }
    iconFromType.emplace(extension, fromType);
    return fromType;
}

wxBitmap WindowsShell::IconOf(const std::wstring& path, const SHFILEINFOW& info, UINT openFlag,
                              DWORD typeAttributes) const {
    // The index in the system image list names the picture: each is copied
    // from an icon handle once. Asking the shell for the handle costs about
    // as much again as asking for the index.
    const auto key = std::make_pair(info.iIcon, openFlag != 0);
    auto found = icons.find(key);
    if (found != icons.end()) {
        return found->second;
    }
    wxBitmap bitmap = TakeIcon(
        FileInfo(path, SHGFI_ICON | SHGFI_SMALLICON | openFlag, typeAttributes).hIcon, iconSize);
    if (bitmap.IsOk()) {
        icons.emplace(key, bitmap);
    }
    return bitmap;
}

DWORD WindowsShell::TypeAttributes(const std::string& path, DWORD attributes) const {
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
        return 0;
    }
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        // A folder shows a name or icon of its own (desktop.ini) only when it
        // is read-only or a system folder; a drive's root is always asked.
        const bool customizable =
            (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM)) != 0;
        return customizable || (!path.empty() && path.back() == '\\') ? 0
                                                                      : FILE_ATTRIBUTE_DIRECTORY;
    }
    return IconComesFromType(ExtensionOf(windows::Utf8ToWide(path))) ? FILE_ATTRIBUTE_NORMAL : 0;
}

ShellItemInfo WindowsShell::Describe(const std::string& path) const {
    const std::wstring wide = windows::Utf8ToWide(path);
    const DWORD attributes = ::GetFileAttributesW(wide.c_str());
    const bool folder =
        (!path.empty() && path.back() == '\\') ||
        (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0);
    // A plain folder, and a file whose icon comes from its type (a text
    // file), is named and drawn as every one of its kind, from its name
    // alone: the shell need not look at it on disk, which takes most of its
    // time (milliseconds a file, tens of them a folder, under Wine).
    const DWORD byType = TypeAttributes(path, attributes);
    ShellItemInfo info;
    const UINT index = SHGFI_SYSICONINDEX | SHGFI_SMALLICON;
    SHFILEINFOW normal{};
    if (byType == 0) {
        normal = FileInfo(wide, index | SHGFI_DISPLAYNAME, 0);
    } else {
        // Described by its kind, a path's icon is that of every path of its
        // extension: the shell is asked for it once (that takes it about as
        // long as everything else for the path together, under Wine), and
        // for the name every time.
        normal = FileInfo(wide, SHGFI_DISPLAYNAME, byType);
        const auto key = std::make_pair(ExtensionOf(wide), byType);
        const auto known = typeIconIndexes.find(key);
        normal.iIcon =
            known != typeIconIndexes.end()
                ? known->second
                : typeIconIndexes.emplace(key, FileInfo(wide, index, byType).iIcon).first->second;
    }
    info.displayName = windows::WideToUtf8(normal.szDisplayName);
    if (info.displayName.empty()) {
        info.displayName = LastComponent(path);
    }
    info.icon = IconOf(wide, normal, 0, byType);
    // Only folders (drives among them) look different when open: a file's
    // open icon is its icon, and asking for it would double the time a
    // folder of files takes to list.
    // Every plain folder has the same open icon: it is asked for once, the
    // full way (with SHGFI_USEFILEATTRIBUTES, Wine gives the closed icon).
    if (!folder) {
        info.openIcon = info.icon;
    } else if (byType != 0 && plainFolderOpenIcon.IsOk()) {
        info.openIcon = plainFolderOpenIcon;
    } else {
        info.openIcon = IconOf(wide, FileInfo(wide, index | SHGFI_OPENICON, 0), SHGFI_OPENICON, 0);
        if (byType != 0) {
            plainFolderOpenIcon = info.openIcon;
        }
    }
    // Not even a generic icon: the art stands in, so that the slot is filled.
    if (!info.icon.IsOk()) {
        info.icon = wxArtProvider::GetBitmap(folder ? wxART_FOLDER : wxART_NORMAL_FILE, wxART_OTHER,
                                             iconSize);
    }
    if (!info.openIcon.IsOk()) {
        info.openIcon = info.icon;
    }
    return info;
}

std::vector<std::string> WindowsShell::VolumeRoots() const {
    std::vector<std::string> roots;
    std::wstring buffer;
    // The drives may change between the two calls: ask until the list fits.
    for (DWORD size = ::GetLogicalDriveStringsW(0, nullptr); size > 0;) {
        buffer.assign(size, L'\0');
        const DWORD length = ::GetLogicalDriveStringsW(size, buffer.data());
        if (length == 0) {
            return roots;
        }
        if (length < size) {
            buffer.resize(length);
            break;
        }
        size = length + 1;
    }
    // "C:\<NUL>D:\<NUL>...": one root per part, each ending in '\'.
    for (size_t start = 0; start < buffer.size();) {
        const size_t end = buffer.find(L'\0', start);
        const std::wstring root = buffer.substr(start, end - start);
        if (!root.empty()) {
            roots.push_back(windows::WideToUtf8(root));
        }
        if (end == std::wstring::npos) {
            break;
        }
        start = end + 1;
    }
    return roots;
}

wxBitmap WindowsShell::CurrentDirectoryIcon() const {
    return Shell32Icon(CURRENT_DIRECTORY_ICON_INDEX, wxART_FOLDER_OPEN, iconSize);
}

wxBitmap WindowsShell::DrivesIcon() const {
    return Shell32Icon(DRIVES_ICON_INDEX, wxART_HARDDISK, iconSize);
}

std::unique_ptr<Shell> NewSystemShell() {
    return std::make_unique<WindowsShell>();
}

}  // namespace velmora::platform
