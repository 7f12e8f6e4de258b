#include "platform/wx/gtk/shell.h"

#include <gio/gio.h>
#include <gio/gunixmounts.h>

#include <memory>

namespace velmora::platform {
namespace {

struct GObjectUnref {
    void operator()(gpointer object) const { g_object_unref(object); }
};
template <typename T>
using GObjectPtr = std::unique_ptr<T, GObjectUnref>;

struct GFree {
    void operator()(gpointer memory) const { g_free(memory); }
};

struct MountEntryFree {
    void operator()(GUnixMountEntry* entry) const { g_unix_mount_free(entry); }
};

const std::vector<std::string> DRIVE_ICONS = {"drive-harddisk", "computer"};

std::vector<std::string> ThemedNames(GIcon* icon) {
    std::vector<std::string> names;
    if (icon != nullptr && G_IS_THEMED_ICON(icon)) {
        const gchar* const* themed = g_themed_icon_get_names(G_THEMED_ICON(icon));
        for (; themed != nullptr && *themed != nullptr; ++themed) {
            names.emplace_back(*themed);
        }
    }
    return names;
}

// The mount table's icon for the volume mounted at `root` (which ends in
// '/'), followed by the generic drive icons.
std::vector<std::string> VolumeIconNames(const std::string& root) {
    std::vector<std::string> names;
    const std::string mountPath = root.size() > 1 ? root.substr(0, root.size() - 1) : root;
    std::unique_ptr<GUnixMountEntry, MountEntryFree> mount(
        g_unix_mount_at(mountPath.c_str(), nullptr));
    if (mount) {
        GObjectPtr<GIcon> icon(g_unix_mount_guess_icon(mount.get()));
        names = ThemedNames(icon.get());
    }
    names.insert(names.end(), DRIVE_ICONS.begin(), DRIVE_ICONS.end());
    return names;
}

// The themed names for `path` from what GIO said of it (null: nothing).
ThemedIconNames NamesFromInfo(const std::string& path, GFileInfo* info) {
    ThemedIconNames names;
    if (info == nullptr) {
        return names;
    }
    names.isDirectory = g_file_info_get_file_type(info) == G_FILE_TYPE_DIRECTORY;
    if (names.isDirectory && !path.empty() && path.back() == '/') {
        names.icon = VolumeIconNames(path);
        names.openIcon = names.icon;
        return names;
    }
    names.icon = ThemedNames(g_file_info_get_icon(info));
    if (names.isDirectory) {
        names.openIcon.push_back("folder-open");
    }
    names.openIcon.insert(names.openIcon.end(), names.icon.begin(), names.icon.end());
    return names;
}

GObjectPtr<GFileInfo> QueryInfo(const std::string& path) {
    GObjectPtr<GFile> file(g_file_new_for_path(path.c_str()));
    return GObjectPtr<GFileInfo>(g_file_query_info(file.get(),
                                                   G_FILE_ATTRIBUTE_STANDARD_DISPLAY_NAME
                                                   "," G_FILE_ATTRIBUTE_STANDARD_ICON
                                                   "," G_FILE_ATTRIBUTE_STANDARD_TYPE,
                                                   G_FILE_QUERY_INFO_NONE, nullptr, nullptr));
}

}  // namespace

ThemedIconNames GioShell::IconNamesOf(const std::string& path) {
    return NamesFromInfo(path, QueryInfo(path).get());
}

ShellItemInfo GioShell::Describe(const std::string& path) const {
    ShellItemInfo info;
    const GObjectPtr<GFileInfo> fileInfo = QueryInfo(path);
    if (const char* name = fileInfo ? g_file_info_get_display_name(fileInfo.get()) : nullptr) {
        info.displayName = name;
    } else {
        // A broken link or a vanished entry: the shell still names it.
        std::unique_ptr<gchar, GFree> basename(g_filename_display_basename(path.c_str()));
        info.displayName = basename ? basename.get() : "";
    }
    const ThemedIconNames names = NamesFromInfo(path, fileInfo.get());
    info.icon = icons.Get(names.icon, names.isDirectory ? wxART_FOLDER : wxART_NORMAL_FILE);
    info.openIcon =
        icons.Get(names.openIcon, names.isDirectory ? wxART_FOLDER_OPEN : wxART_NORMAL_FILE);
    return info;
}

std::vector<std::string> GioShell::VolumeRoots() const {
    std::vector<std::string> roots{"/"};
    GList* mounts = g_unix_mounts_get(nullptr);
    for (GList* node = mounts; node != nullptr; node = node->next) {
        auto* mount = static_cast<GUnixMountEntry*>(node->data);
        if (g_unix_mount_guess_should_display(mount)) {
            std::string root = g_unix_mount_get_mount_path(mount);
            if (root.empty() || root.back() != '/') {
                root += '/';
            }
            if (root != "/") {
                roots.push_back(root);
            }
        }
        g_unix_mount_free(mount);
    }
    g_list_free(mounts);
    return roots;
}

wxBitmap GioShell::CurrentDirectoryIcon() const {
    return icons.Get({"folder"}, wxART_FOLDER);
}

wxBitmap GioShell::DrivesIcon() const {
    return icons.Get(DRIVE_ICONS, wxART_HARDDISK);
}

std::unique_ptr<Shell> NewSystemShell() {
    return std::make_unique<GioShell>();
}

}  // namespace velmora::platform
