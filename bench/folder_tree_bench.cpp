// Expands and collapses a folder of 10,000 files and 500 subfolders in a real
// FolderTree (real folder search, real GIO shell, real icon theme) and
// reports the times, the image counts and the peak memory.
//
//   xvfb-run -a build-bench/bench/folder_tree_bench [files] [folders]
//   make windows-bench     (the Windows build under Wine, with the Windows shell)
//
// The sizes are taken here; wxWidgets is started without arguments, since
// its own command-line parser refuses any it does not know.
//
// Targets: expand < 1 s, collapse < 0.3 s (also when the images of the whole
// big folder have to move down), image count back to the baseline; with the
// tree shown, expand < 1 s and collapse < 0.5 s to the repainted tree.
// Exits 2 when a target is missed. What a user sees of a click on the real
// program is measured by bench/tree-click.
#ifdef _WIN32
#include <wx/msw/wrapwin.h>
// psapi.h needs the types of windows.h first.
#include <psapi.h>
#else
#include <sys/resource.h>
#endif
#include <wx/app.h>
#include <wx/frame.h>
#include <wx/init.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>

#include "desktop/folder_tree.h"
#include "platform/folder_search.h"
#include "platform/wx/shell.h"

namespace {

std::filesystem::path MakeFolder(int files, int folders) {
    std::random_device random;
    std::filesystem::path parent;
    for (int attempt = 0; attempt < 100 && parent.empty(); ++attempt) {
        const auto candidate =
            std::filesystem::temp_directory_path() / ("velmora-bench-" + std::to_string(random()));
        if (std::filesystem::create_directory(candidate)) {
            parent = candidate;
        }
    }
    if (parent.empty()) {
        return {};
    }
    const std::filesystem::path root = parent / "big";
    std::filesystem::create_directory(root);
    for (int i = 0; i < folders; ++i) {
        std::filesystem::create_directory(root / ("folder" + std::to_string(i)));
    }
    for (int i = 0; i < files; ++i) {
        std::ofstream(root / ("file" + std::to_string(i) + ".txt")) << "text " << i << "\n";
    }
    return root;
}

// A count from the command line: digits only, at least 0; -1 otherwise.
int ParseCount(const char* text) {
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    return end != text && *end == '\0' && value >= 0 && value <= 10'000'000 ? int(value) : -1;
}

double SecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

long PeakKilobytes() {
#ifdef _WIN32
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    ::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof counters);
    return static_cast<long>(counters.PeakWorkingSetSize / 1024);
#else
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
#endif
}

// The top-level item at `index`: 0 for "Drives", 1 for the current directory.
wxTreeItemId TopLevelItem(const wxTreeCtrl& tree, int index) {
    wxTreeItemIdValue cookie;
    wxTreeItemId item = tree.GetFirstChild(tree.GetRootItem(), cookie);
    for (int i = 0; i < index && item.IsOk(); ++i) {
        item = tree.GetNextChild(tree.GetRootItem(), cookie);
    }
    return item;
}

// Expands and collapses the current directory, the big folder, in a new
// tree and prints the figures; 2 when a target is missed. The shell and its
// icons go before wxWidgets is shut down.
int Measure(int files, int folders) {
    int status = 0;
    const std::unique_ptr<velmora::platform::Shell> shell = velmora::platform::NewSystemShell();
    const velmora::platform::RealFolderSearch search;
    auto* frame = new wxFrame(nullptr, wxID_ANY, "folder tree bench");
    auto* tree = new velmora::desktop::FolderTree(frame, wxID_ANY, *shell, search);
    tree->filterIndex = 2;
    const wxTreeItemId root = TopLevelItem(*tree, 1);
    const int baseline = tree->GetImageList()->GetImageCount();
    std::printf("folder: %d files, %d subfolders\n", files, folders);
    std::printf("images before:   %d\n", baseline);
    const long startKb = PeakKilobytes();

    // First with the tree hidden, then shown: filling or emptying an item
    // that is expanded on the screen may repaint per item, and the time
    // then includes the repaint that follows (Update()).
    for (int round = 1; round <= 4; ++round) {
        const bool shown = round > 2;
        if (round == 3) {
            frame->SetClientSize(600, 400);
            frame->Show();
            tree->Update();
            wxTheApp->ProcessIdle();
        }
        auto start = std::chrono::steady_clock::now();
        tree->Expand(root);
        tree->Update();
        const double expandSeconds = SecondsSince(start);
        const int expanded = tree->GetImageList()->GetImageCount();
        const size_t items = tree->GetChildrenCount(root, false);

        start = std::chrono::steady_clock::now();
        tree->Collapse(root);
        tree->Update();
        const double collapseSeconds = SecondsSince(start);
        const int after = tree->GetImageList()->GetImageCount();

        std::printf(
            "round %d (%s): expand %.3f s (%zu items, %d images), collapse %.3f s, "
            "images after %d%s\n",
            round, shown ? "shown" : "hidden", expandSeconds, items, expanded, collapseSeconds,
            after, after == baseline ? "" : "  <-- not back to baseline");
        if (expandSeconds >= 1.0 || collapseSeconds >= (shown ? 0.5 : 0.3) || after != baseline) {
            status = 2;
        }
    }
    // Items listed before the big folder: collapsing them moves the images
    // of every item of the big folder down.
    const wxTreeItemId drives = TopLevelItem(*tree, 0);
    tree->Expand(drives);
    tree->Expand(root);
    const int withDrives = tree->GetImageList()->GetImageCount();
    auto start = std::chrono::steady_clock::now();
    tree->Collapse(drives);
    const double renumberSeconds = SecondsSince(start);
    std::printf("collapse of \"Drives\" listed before the big folder: %.3f s (images %d -> %d)\n",
                renumberSeconds, withDrives, tree->GetImageList()->GetImageCount());
    tree->Collapse(root);
    if (renumberSeconds >= 0.3 || tree->GetImageList()->GetImageCount() != baseline) {
        status = 2;
    }
    std::printf("peak memory:     %ld kB (%ld kB before the first expansion)\n", PeakKilobytes(),
                startKb);
    std::printf("%s\n", status == 0 ? "targets met" : "TARGETS MISSED");
    frame->Destroy();
    wxTheApp->ProcessIdle();
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    const int files = argc > 1 ? ParseCount(argv[1]) : 10000;
    const int folders = argc > 2 ? ParseCount(argv[2]) : 500;
    if (argc > 3 || files < 0 || folders < 0) {
        std::fprintf(stderr, "usage: %s [files] [folders]\n", argv[0]);
        return 1;
    }
    const std::filesystem::path folder = MakeFolder(files, folders);
    if (folder.empty()) {
        std::fprintf(stderr, "cannot create the test folder\n");
        return 1;
    }
    std::filesystem::current_path(folder);

    int status = 0;
    int wxArgc = 1;
    wxApp::SetInstance(new wxApp);
    if (!wxEntryStart(wxArgc, argv) || !wxTheApp->CallOnInit()) {
        std::fprintf(stderr, "cannot start wxWidgets (is there an X display?)\n");
        status = 1;
    } else {
        status = Measure(files, folders);
        wxTheApp->OnExit();
        wxEntryCleanup();
    }
    std::filesystem::current_path(folder.parent_path().parent_path());
    std::filesystem::remove_all(folder.parent_path());
    return status;
}
