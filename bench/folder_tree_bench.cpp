// Expands and collapses a folder of 10,000 files and 500 subfolders in a real
// FolderTree (real folder search, real GIO shell, real icon theme) and
// reports the times, the image counts and the peak memory.
//
//   xvfb-run -a build-bench/bench/folder_tree_bench [files] [folders]
//
// Targets: expand < 1 s, collapse < 0.3 s (also when the images of the whole
// big folder have to move down), image count back to the baseline. Exits 2
// when a target is missed.
#include <stdlib.h>
#include <sys/resource.h>
#include <unistd.h>
#include <wx/app.h>
#include <wx/frame.h>
#include <wx/init.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "desktop/folder_tree.h"

namespace {

std::filesystem::path MakeFolder(int files, int folders) {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "velmora-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        return {};
    }
    const std::filesystem::path root = std::filesystem::path(pattern) / "big";
    std::filesystem::create_directory(root);
    for (int i = 0; i < folders; ++i) {
        std::filesystem::create_directory(root / ("folder" + std::to_string(i)));
    }
    for (int i = 0; i < files; ++i) {
        std::ofstream(root / ("file" + std::to_string(i) + ".txt")) << "text " << i << "\n";
    }
    return root;
}

double SecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

long PeakKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

}  // namespace

int main(int argc, char** argv) {
    const int files = argc > 1 ? std::atoi(argv[1]) : 10000;
    const int folders = argc > 2 ? std::atoi(argv[2]) : 500;
    const std::filesystem::path folder = MakeFolder(files, folders);
    if (folder.empty()) {
        std::fprintf(stderr, "cannot create the test folder\n");
        return 1;
    }
    std::filesystem::current_path(folder);

    int status = 0;
    wxApp::SetInstance(new wxApp);
    if (!wxEntryStart(argc, argv) || !wxTheApp->CallOnInit()) {
        std::fprintf(stderr, "cannot start wxWidgets (is there an X display?)\n");
        status = 1;
    } else {
        auto* frame = new wxFrame(nullptr, wxID_ANY, "folder tree bench");
        auto* tree = new velmora::desktop::FolderTree(frame, wxID_ANY);
        tree->filterIndex = 2;
        const wxTreeItemId root = tree->GetCurrentDirRoot();
        const int baseline = tree->GetImageList()->GetImageCount();
        std::printf("folder: %d files, %d subfolders\n", files, folders);
        std::printf("images before:   %d\n", baseline);
        const long startKb = PeakKilobytes();

        for (int round = 1; round <= 2; ++round) {
            auto start = std::chrono::steady_clock::now();
            tree->Expand(root);
            const double expandSeconds = SecondsSince(start);
            const int expanded = tree->GetImageList()->GetImageCount();
            const size_t items = tree->GetChildrenCount(root, false);

            start = std::chrono::steady_clock::now();
            tree->Collapse(root);
            const double collapseSeconds = SecondsSince(start);
            const int after = tree->GetImageList()->GetImageCount();

            std::printf(
                "round %d: expand %.3f s (%zu items, %d images), collapse %.3f s, "
                "images after %d%s\n",
                round, expandSeconds, items, expanded, collapseSeconds, after,
                after == baseline ? "" : "  <-- not back to baseline");
            if (expandSeconds >= 1.0 || collapseSeconds >= 0.3 || after != baseline) {
                status = 2;
            }
        }
        // Items listed before the big folder: collapsing them moves the images
        // of every item of the big folder down.
        const wxTreeItemId drives = tree->GetDrivesRoot();
        tree->Expand(drives);
        tree->Expand(root);
        const int withDrives = tree->GetImageList()->GetImageCount();
        auto start = std::chrono::steady_clock::now();
        tree->Collapse(drives);
        const double renumberSeconds = SecondsSince(start);
        std::printf(
            "collapse of \"Drives\" listed before the big folder: %.3f s (images %d -> %d)\n",
            renumberSeconds, withDrives, tree->GetImageList()->GetImageCount());
        tree->Collapse(root);
        if (renumberSeconds >= 0.3 || tree->GetImageList()->GetImageCount() != baseline) {
            status = 2;
        }
        std::printf("peak memory:     %ld kB (%ld kB before the first expansion)\n",
                    PeakKilobytes(), startKb);
        std::printf("%s\n", status == 0 ? "targets met" : "TARGETS MISSED");
        frame->Destroy();
        wxTheApp->ProcessIdle();
        wxTheApp->OnExit();
        wxEntryCleanup();
    }
    std::filesystem::current_path("/");
    std::filesystem::remove_all(folder.parent_path());
    return status;
}
