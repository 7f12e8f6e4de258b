#include "platform/gio_shell.h"

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

}  // namespace

ShellItemInfo GioShell::Describe(const std::string& path) const {
    ShellItemInfo info;
    GObjectPtr<GFile> file(g_file_new_for_path(path.c_str()));
    GObjectPtr<GFileInfo> fileInfo(g_file_query_info(file.get(),
                                                     G_FILE_ATTRIBUTE_STANDARD_DISPLAY_NAME
                                                     "," G_FILE_ATTRIBUTE_STANDARD_ICON
                                                     "," G_FILE_ATTRIBUTE_STANDARD_TYPE,
                                                     G_FILE_QUERY_INFO_NONE, nullptr, nullptr));
    if (!fileInfo) {
        // A broken link or a vanished entry: the shell still names it.
        std::unique_ptr<gchar, GFree> name(g_filename_display_basename(path.c_str()));
        info.displayName = name ? name.get() : "";
        return info;
    }
    if (const char* name = g_file_info_get_display_name(fileInfo.get())) {
        info.displayName = name;
    }
    info.isDirectory = g_file_info_get_file_type(fileInfo.get()) == G_FILE_TYPE_DIRECTORY;
    info.iconNames = ThemedNames(g_file_info_get_icon(fileInfo.get()));
    if (info.isDirectory) {
        info.openIconNames.push_back("folder-open");
    }
    info.openIconNames.insert(info.openIconNames.end(), info.iconNames.begin(),
                              info.iconNames.end());
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

}  // namespace velmora::platform
