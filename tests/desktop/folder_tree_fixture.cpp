#include "tests/desktop/folder_tree_fixture.h"

#include <wx/app.h>
#include <wx/settings.h>

#include <filesystem>
#include <memory>

#include "tests/desktop/colour_bitmap.h"

namespace velmora::testing {

void FolderTreeTest::SetUp() {
    dir.Write("alpha/inner/deep.txt", "deep");
    dir.Write("alpha/note.txt", "note");
    dir.MakeDir("empty");
    dir.Write("locked/a.txt", "locked");
    for (const char* name :
         {"a.txt", "B.TXT", "c.ser", "d.txt.bak", ".txt", ".hidden.txt", "notes.md"}) {
        dir.Write(name, name);
    }
    search.denied.push_back(dir / "locked/");

    savedDirectory = std::filesystem::current_path();
    std::filesystem::current_path(dir.Path());

    frame = new wxFrame(nullptr, wxID_ANY, "folder tree test");
    tree = new desktop::FolderTree(frame, wxID_ANY, shell, search);
}

void FolderTreeTest::TearDown() {
    frame->Destroy();
    wxTheApp->ProcessIdle();
    std::filesystem::current_path(savedDirectory);
}

void FolderTreeTest::RebuildTree() {
    RebuildTree(shell, search);
}

void FolderTreeTest::RebuildTree(const platform::Shell& otherShell,
                                 const platform::FolderSearch& otherSearch) {
    tree->Destroy();
    tree = new desktop::FolderTree(frame, wxID_ANY, otherShell, otherSearch);
}

void FolderTreeTest::ForFakeAndSystemShell(
    const std::function<void(const platform::Shell&)>& check) {
    const std::unique_ptr<platform::Shell> systemShell = platform::NewSystemShell();
    const platform::RealFolderSearch realSearch;
    const struct {
        const char* name;
        const platform::Shell& shell;
    } shells[] = {{"fake shell", shell}, {"system shell", *systemShell}};
    for (const auto& s : shells) {
        SCOPED_TRACE(s.name);
        RebuildTree(s.shell, realSearch);
        tree->Expand(CurrentDirItem());
        check(s.shell);
    }
    RebuildTree();
}

std::vector<std::string> FolderTreeTest::RootEntries(bool folders) const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
        if (entry.is_directory() == folders) {
            names.push_back(ToUtf8(entry.path().filename()));
        }
    }
    return names;
}

std::vector<std::string> FolderTreeTest::ChildTexts(const wxTreeItemId& item) const {
    std::vector<std::string> texts;
    for (const wxTreeItemId& child : Children(item)) {
        texts.push_back(tree->GetItemText(child).utf8_string());
    }
    return texts;
}

std::vector<std::string> FolderTreeTest::DrivePaths() const {
    std::vector<std::string> paths;
    for (const wxTreeItemId& drive : Children(DrivesItem())) {
        if (!tree->GetItemText(drive).empty()) {
            paths.push_back(tree->GetItemPath(drive));
        }
    }
    return paths;
}

desktop::TreeItemKind FolderTreeTest::KindOf(const wxTreeItemId& item) const {
    const auto* data =
        item.IsOk() ? dynamic_cast<const desktop::TreeItem*>(tree->GetItemData(item)) : nullptr;
    return data != nullptr ? data->Kind() : desktop::TreeItemKind::Placeholder;
}

wxTreeItemId FolderTreeTest::Child(const wxTreeItemId& item, const std::string& text) const {
    const wxTreeItemId child = ChildWithText(*tree, item, text);
    if (!child.IsOk()) {
        ADD_FAILURE() << "no child \"" << text << "\"";
    }
    return child;
}

bool FolderTreeTest::HasOnlyPlaceholder(const wxTreeItemId& item) const {
    const auto children = Children(item);
    return children.size() == 1 && tree->GetItemText(children[0]).empty() &&
           KindOf(children[0]) == desktop::TreeItemKind::Placeholder;
}

wxTreeItemId FolderTreeTest::ExpandPath(const std::vector<std::string>& texts) {
    wxTreeItemId item = CurrentDirItem();
    tree->Expand(item);
    for (const std::string& text : texts) {
        item = Child(item, text);
        if (!item.IsOk()) {
            break;
        }
        tree->Expand(item);
    }
    return item;
}

std::vector<wxTreeItemId> FolderTreeTest::AllItems() const {
    std::vector<wxTreeItemId> items;
    std::vector<wxTreeItemId> pending = Children(tree->GetRootItem());
    while (!pending.empty()) {
        const wxTreeItemId item = pending.back();
        pending.pop_back();
        items.push_back(item);
        for (const wxTreeItemId& child : Children(item)) {
            pending.push_back(child);
        }
    }
    return items;
}

void FolderTreeTest::ExpectImagesExact() const {
    const wxImageList* images = tree->GetImageList();
    ASSERT_NE(images, nullptr);
    const int count = images->GetImageCount();
    ASSERT_GE(count, FIXED_IMAGES);
    const auto drawn = [&](int index) { return CodeOf(images->GetBitmap(index)); };
    const wxColour window = wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOW);
    const unsigned blank =
        (unsigned{window.Red()} << 16) | (unsigned{window.Green()} << 8) | unsigned{window.Blue()};
    std::vector<int> owners(count, 0);
    int listed = 0;

    for (const wxTreeItemId& item : AllItems()) {
        const int normal = tree->GetItemImage(item, wxTreeItemIcon_Normal);
        const int open = tree->GetItemImage(item, wxTreeItemIcon_Selected);
        if (tree->GetItemText(item).empty()) {
            EXPECT_LT(normal, FIXED_IMAGES) << "a placeholder owns no image";
            EXPECT_EQ(drawn(normal), blank) << "a placeholder shows a blank image";
            continue;
        }
        if (item == CurrentDirItem() || item == DrivesItem()) {
            const unsigned stock =
                item == DrivesItem() ? FakeShell::DRIVES_CODE : FakeShell::CURRENT_DIRECTORY_CODE;
            EXPECT_LT(normal, FIXED_IMAGES);
            EXPECT_EQ(open, normal);
            EXPECT_EQ(drawn(normal), stock);
            continue;
        }
        ++listed;
        const std::string path = tree->GetItemPath(item);
        ASSERT_GE(normal, FIXED_IMAGES) << path;
        ASSERT_EQ(open, normal + 1) << path;
        ASSERT_LT(open, count) << path;
        ++owners[normal];
        ++owners[open];
        const unsigned id = shell.IdOf(path);
        EXPECT_EQ(drawn(normal), 2 * id) << path;
        EXPECT_EQ(drawn(open), 2 * id + 1) << path;
    }
    EXPECT_EQ(count, FIXED_IMAGES + 2 * listed);
    for (int index = FIXED_IMAGES; index < count; ++index) {
        EXPECT_EQ(owners[index], 1) << "image " << index;
    }
}

}  // namespace velmora::testing
