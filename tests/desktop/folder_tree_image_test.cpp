// The image list stays exact: two images per listed item, each item showing
// its own, whatever is expanded and collapsed.
#include <random>

#include "tests/desktop/folder_tree_fixture.h"

namespace velmora::testing {
namespace {

TEST_F(FolderTreeTest, EveryItemKeepsItsOwnIconsThroughRandomExpandAndCollapse) {
    for (const char* name : {"alpha/inner/x/y/z.txt", "alpha/inner/x/w.txt", "alpha/b/c.txt",
                             "beta/one.txt", "beta/two/three.txt", "beta/two/four.ser"}) {
        dir.Write(name, name);
    }
    shell.volumes = {dir / "alpha/", dir / "beta/"};
    tree->filterIndex = 2;
    std::mt19937 random(20261209);

    for (int step = 0; step < 200; ++step) {
        // Any item that can be expanded or collapsed: the top-level items,
        // drives and folders that are listed now.
        std::vector<wxTreeItemId> candidates;
        std::vector<wxTreeItemId> pending = Children(tree->GetRootItem());
        while (!pending.empty()) {
            const wxTreeItemId item = pending.back();
            pending.pop_back();
            if (tree->GetItemText(item).empty() || !tree->ItemHasChildren(item)) {
                continue;
            }
            candidates.push_back(item);
            if (tree->IsExpanded(item)) {
                for (const wxTreeItemId& child : Children(item)) {
                    pending.push_back(child);
                }
            }
        }
        ASSERT_FALSE(candidates.empty());
        const wxTreeItemId item = candidates[random() % candidates.size()];
        if (tree->IsExpanded(item)) {
            tree->Collapse(item);
        } else {
            tree->Expand(item);
        }
        ExpectImagesExact();
        if (HasFailure()) {
            FAIL() << "after step " << step << " on " << tree->GetItemPath(item);
        }
    }
}

TEST_F(FolderTreeTest, CollapsingReleasesTheImagesOfTheWholeSubtree) {
    shell.volumes = {FakeShell::ROOT_VOLUME};
    tree->Expand(tree->GetDrivesRoot());
    const int withDrives = tree->GetImageList()->GetImageCount();
    EXPECT_EQ(withDrives, tree->GetFirstItemImage() + 2);

    ExpandPath({"alpha", "inner"});
    ExpandPath({"empty"});
    ExpectImagesExact();

    tree->Collapse(tree->GetCurrentDirRoot());
    EXPECT_EQ(tree->GetImageList()->GetImageCount(), withDrives);
    ExpectImagesExact();
}

TEST_F(FolderTreeTest, DeletingChildrenDirectlyAlsoReleasesTheirImages) {
    const wxTreeItemId alpha = ExpandPath({"alpha"});
    tree->DeleteChildren(alpha);
    EXPECT_FALSE(tree->ItemHasChildren(alpha));
    ExpectImagesExact();
}

}  // namespace
}  // namespace velmora::testing
