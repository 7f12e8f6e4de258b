#include "tests/desktop/folder_tree_fixture.h"

#include <wx/app.h>

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

    savedDirectory_ = std::filesystem::current_path();
    std::filesystem::current_path(dir.Path());

    frame = new wxFrame(nullptr, wxID_ANY, "folder tree test");
    tree = new desktop::FolderTree(frame, wxID_ANY, shell, search);
}

void FolderTreeTest::TearDown() {
    frame->Destroy();
    wxTheApp->ProcessIdle();
    std::filesystem::current_path(savedDirectory_);
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
        tree->Expand(tree->GetCurrentDirRoot());
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

std::vector<wxTreeItemId> FolderTreeTest::Children(const wxTreeItemId& item) const {
    std::vector<wxTreeItemId> children;
    wxTreeItemIdValue cookie;
    for (wxTreeItemId child = tree->GetFirstChild(item, cookie); child.IsOk();
         child = tree->GetNextChild(item, cookie)) {
        children.push_back(child);
    }
    return children;
}

std::vector<std::string> FolderTreeTest::ChildTexts(const wxTreeItemId& item) const {
    std::vector<std::string> texts;
    for (const wxTreeItemId& child : Children(item)) {
        texts.push_back(tree->GetItemText(child).utf8_string());
    }
    return texts;
}

wxTreeItemId FolderTreeTest::Child(const wxTreeItemId& item, const std::string& text) const {
    for (const wxTreeItemId& child : Children(item)) {
        if (tree->GetItemText(child).utf8_string() == text) {
            return child;
        }
    }
    ADD_FAILURE() << "no child \"" << text << "\"";
    return wxTreeItemId();
}

bool FolderTreeTest::HasOnlyPlaceholder(const wxTreeItemId& item) const {
    const auto children = Children(item);
    return children.size() == 1 && tree->GetItemText(children[0]).empty() &&
           tree->GetItemKind(children[0]) == desktop::TreeItemKind::Placeholder;
}

wxTreeItemId FolderTreeTest::ExpandPath(const std::vector<std::string>& texts) {
    wxTreeItemId item = tree->GetCurrentDirRoot();
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
    const int first = tree->GetFirstItemImage();
    EXPECT_EQ(CodeOf(images->GetBitmap(tree->GetCurrentDirImage())),
              FakeShell::CURRENT_DIRECTORY_CODE);
    EXPECT_EQ(CodeOf(images->GetBitmap(tree->GetDrivesImage())), FakeShell::DRIVES_CODE);
    std::vector<int> owners(images->GetImageCount(), 0);
    int listed = 0;

    for (const wxTreeItemId& item : AllItems()) {
        const int normal = tree->GetItemImage(item, wxTreeItemIcon_Normal);
        const int open = tree->GetItemImage(item, wxTreeItemIcon_Selected);
        if (tree->GetItemText(item).empty()) {
            EXPECT_LT(normal, first) << "a placeholder owns no image";
            continue;
        }
        if (item == tree->GetCurrentDirRoot() || item == tree->GetDrivesRoot()) {
            const int stock =
                item == tree->GetDrivesRoot() ? tree->GetDrivesImage() : tree->GetCurrentDirImage();
            EXPECT_EQ(normal, stock);
            EXPECT_EQ(open, stock);
            continue;
        }
        ++listed;
        const std::string path = tree->GetItemPath(item);
        ASSERT_GE(normal, first) << path;
        ASSERT_EQ(open, normal + 1) << path;
        ASSERT_LT(open, images->GetImageCount()) << path;
        ++owners[normal];
        ++owners[open];
        const unsigned id = shell.IdOf(path);
        EXPECT_EQ(CodeOf(images->GetBitmap(normal)), 2 * id) << path;
        EXPECT_EQ(CodeOf(images->GetBitmap(open)), 2 * id + 1) << path;
    }
    EXPECT_EQ(images->GetImageCount(), first + 2 * listed);
    for (int index = first; index < images->GetImageCount(); ++index) {
        EXPECT_EQ(owners[index], 1) << "image " << index;
    }
}

}  // namespace velmora::testing
