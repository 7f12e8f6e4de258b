// What the tree lists: the top-level items, the contents of expanded folders
// under each filter, and the placeholder states.
#include <wx/app.h>

#include <algorithm>
#include <filesystem>

#include "tests/desktop/folder_tree_fixture.h"

namespace velmora::testing {
namespace {

// A new tree, and one that Initialize(true) resets after use, show the same
// two collapsed top-level items and nothing else.
TEST_F(FolderTreeTest, StartsWithDrivesAndTheCurrentDirectoryBothCollapsed) {
    const auto expectStartingState = [&](const char* when) {
        SCOPED_TRACE(when);
        EXPECT_EQ(tree->filterIndex, 0);
        EXPECT_EQ(tree->GetCurrentDirectory(), ToUtf8(dir.Path()));
        const auto top = Children(tree->GetRootItem());
        ASSERT_EQ(top.size(), 2u);
        EXPECT_EQ(top[0], tree->GetDrivesRoot());
        EXPECT_EQ(top[1], tree->GetCurrentDirRoot());
        EXPECT_EQ(tree->GetItemText(top[0]), "Drives");
        EXPECT_EQ(tree->GetItemText(top[1]).utf8_string(), ToUtf8(dir.Path().filename()));
        EXPECT_EQ(tree->GetItemKind(top[0]), desktop::TreeItemKind::DrivesRoot);
        EXPECT_EQ(tree->GetItemKind(top[1]), desktop::TreeItemKind::CurrentDirRoot);
        for (const wxTreeItemId& item : top) {
            EXPECT_FALSE(tree->IsExpanded(item));
            EXPECT_TRUE(HasOnlyPlaceholder(item));
            EXPECT_TRUE(tree->ItemHasChildren(item));
        }
        // Two blank images, then the two stock icons; nothing else yet.
        EXPECT_EQ(tree->GetFirstItemImage(), 4);
        EXPECT_EQ(tree->GetImageList()->GetImageCount(), 4);
        ExpectImagesExact();
    };
    expectStartingState("new tree");

    tree->Expand(tree->GetDrivesRoot());
    ExpandPath({"alpha", "inner"});
    tree->filterIndex = 2;
    tree->Initialize(true);
    expectStartingState("after Initialize(true)");
}

struct FilterCase {
    int filterIndex;
    std::vector<std::string> shown;  // besides the folders
};

class FolderTreeFilterTest : public FolderTreeTest,
                             public ::testing::WithParamInterface<FilterCase> {};

TEST_P(FolderTreeFilterTest, ListsFoldersFirstThenTheFilesTheFilterPasses) {
    tree->filterIndex = GetParam().filterIndex;
    tree->Expand(tree->GetCurrentDirRoot());

    std::vector<std::string> expected = Folders();
    for (const std::string& name : Files()) {
        if (GetParam().shown.empty() || std::find(GetParam().shown.begin(), GetParam().shown.end(),
                                                  name) != GetParam().shown.end()) {
            expected.push_back(name);
        }
    }
    EXPECT_EQ(ChildTexts(tree->GetCurrentDirRoot()), expected);
    for (const std::string& folder : Folders()) {
        EXPECT_TRUE(HasOnlyPlaceholder(Child(tree->GetCurrentDirRoot(), folder))) << folder;
    }
    ExpectImagesExact();
}

// An empty list of shown files means every file.
INSTANTIATE_TEST_SUITE_P(Filters, FolderTreeFilterTest,
                         ::testing::Values(FilterCase{0, {"a.txt", ".txt", ".hidden.txt"}},
                                           FilterCase{1, {"c.ser"}}, FilterCase{2, {}},
                                           FilterCase{-1, {}}, FilterCase{7, {}}));

TEST_F(FolderTreeTest, HiddenEntriesAreListedAndTheDotsNever) {
    dir.MakeDir(".config");
    tree->filterIndex = 2;
    tree->Expand(tree->GetCurrentDirRoot());

    const auto texts = ChildTexts(tree->GetCurrentDirRoot());
    EXPECT_NE(std::find(texts.begin(), texts.end(), ".config"), texts.end());
    EXPECT_NE(std::find(texts.begin(), texts.end(), ".hidden.txt"), texts.end());
    EXPECT_EQ(std::find(texts.begin(), texts.end(), "."), texts.end());
    EXPECT_EQ(std::find(texts.begin(), texts.end(), ".."), texts.end());
}

TEST_F(FolderTreeTest, IsFileShownComparesTheEndingByteForByte) {
    struct Case {
        int filterIndex;
        const char* name;
        bool shown;
    };
    for (const Case& c : std::vector<Case>{{0, "a.txt", true},
                                           {0, ".txt", true},
                                           {0, "B.TXT", false},
                                           {0, "a.Txt", false},
                                           {0, "a.txt.bak", false},
                                           {0, "txt", false},
                                           {0, "", false},
                                           {0, "a.ser", false},
                                           {1, "a.ser", true},
                                           {1, ".ser", true},
                                           {1, "a.SER", false},
                                           {1, "a.ser~", false},
                                           {1, "a.txt", false},
                                           {2, "a.md", true},
                                           {2, "", true},
                                           {-1, "B.TXT", true}}) {
        tree->filterIndex = c.filterIndex;
        EXPECT_EQ(tree->IsFileShown(c.name), c.shown)
            << "filter " << c.filterIndex << ", \"" << c.name << "\"";
    }
}

TEST_F(FolderTreeTest, ChangingTheFilterAppliesFromTheNextExpansion) {
    const wxTreeItemId root = tree->GetCurrentDirRoot();
    tree->Expand(root);
    const auto underTxt = ChildTexts(root);

    tree->filterIndex = 1;
    EXPECT_EQ(ChildTexts(root), underTxt);

    tree->Collapse(root);
    tree->Expand(root);
    auto expected = Folders();
    expected.push_back("c.ser");
    EXPECT_EQ(ChildTexts(root), expected);
}

TEST_F(FolderTreeTest, FolderWithNothingToListShowsThePlaceholderAndKeepsItsButton) {
    tree->filterIndex = 1;  // alpha/ holds a folder, but no .ser file
    for (const char* name : {"empty", "locked"}) {
        const wxTreeItemId folder = ExpandPath({name});
        EXPECT_TRUE(tree->IsExpanded(folder)) << name;
        EXPECT_TRUE(HasOnlyPlaceholder(folder)) << name;
        EXPECT_TRUE(tree->ItemHasChildren(folder)) << name;
    }
    const wxTreeItemId alpha = ExpandPath({"alpha"});
    EXPECT_EQ(ChildTexts(alpha), std::vector<std::string>{"inner"});
    ExpectImagesExact();
}

TEST_F(FolderTreeTest, FolderThatVanishedShowsThePlaceholder) {
    tree->Expand(tree->GetCurrentDirRoot());
    std::filesystem::remove_all(dir / "alpha");

    const wxTreeItemId alpha = ExpandPath({"alpha"});
    EXPECT_TRUE(HasOnlyPlaceholder(alpha));
    EXPECT_TRUE(tree->ItemHasChildren(alpha));
}

TEST_F(FolderTreeTest, CollapsingDropsTheSubtreeAndExpandingReadsAnew) {
    const wxTreeItemId alpha = ExpandPath({"alpha", "inner"});
    ASSERT_TRUE(alpha.IsOk());
    const wxTreeItemId root = tree->GetCurrentDirRoot();

    tree->Collapse(root);
    EXPECT_TRUE(HasOnlyPlaceholder(root));
    EXPECT_EQ(tree->GetImageList()->GetImageCount(), tree->GetFirstItemImage());

    dir.Write("alpha/new.txt", "new");
    std::filesystem::remove(dir / "alpha/note.txt");
    const wxTreeItemId again = ExpandPath({"alpha"});
    EXPECT_EQ(ChildTexts(again), (std::vector<std::string>{"inner", "new.txt"}));
    EXPECT_TRUE(HasOnlyPlaceholder(Child(again, "inner"))) << "expanded state is not kept";
    ExpectImagesExact();
}

// A collapse that hides the selected item selects the collapsed item: at
// once in the native tree view, at the next idle time in the generic tree,
// which drops the selection until then. The tree stays usable either way.
TEST_F(FolderTreeTest, CollapsingAwayTheSelectedItemSelectsTheCollapsedItem) {
    const wxTreeItemId inner = ExpandPath({"alpha", "inner"});
    tree->SelectItem(Child(inner, "deep.txt"));
    ASSERT_EQ(tree->GetItemPath(tree->GetSelection()), Under("alpha/inner/deep.txt"));

    const wxTreeItemId root = tree->GetCurrentDirRoot();
    tree->Collapse(root);
    if (kCollapseDefersSelection) {
        EXPECT_FALSE(tree->GetSelection().IsOk());
    } else {
        EXPECT_EQ(tree->GetSelection(), root);
    }
    wxTheApp->ProcessIdle();
    EXPECT_EQ(tree->GetSelection(), root);
    EXPECT_EQ(tree->GetItemPath(tree->GetSelection()), Root());
    const wxTreeItemId again = ExpandPath({"alpha"});
    tree->SelectItem(again);
    EXPECT_EQ(tree->GetItemPath(tree->GetSelection()), Under("alpha/"));
    ExpectImagesExact();
}

TEST_F(FolderTreeTest, DrivesListTheShellsVolumesOrThePlaceholder) {
    shell.volumes = {FakeShell::ROOT_VOLUME, dir / "alpha/"};
    shell.displayName = [](const std::string& name) { return "Volume " + name; };
    const wxTreeItemId drives = tree->GetDrivesRoot();
    tree->Expand(drives);
    EXPECT_EQ(tree->GetDriveStrings(), shell.volumes);
    const auto items = Children(drives);
    ASSERT_EQ(items.size(), 2u);
    for (const wxTreeItemId& drive : items) {
        EXPECT_TRUE(HasOnlyPlaceholder(drive)) << "every drive shows its button";
    }
    ExpectImagesExact();

    tree->Collapse(drives);
    shell.volumes.clear();
    tree->Expand(drives);
    EXPECT_TRUE(HasOnlyPlaceholder(drives));
    EXPECT_TRUE(tree->GetDriveStrings().empty());
    ExpectImagesExact();
}

}  // namespace
}  // namespace velmora::testing
