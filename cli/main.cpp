#include <cstdio>

#include "cli/command_line.h"
#include "platform/arguments.h"
#include "platform/console.h"
#include "platform/file_system.h"
#include "platform/folder_search.h"
#include "platform/startup.h"

// The start-up failure text is kept byte for byte (wrappers look for it); see
// docs/behaviour.md.
int main(int argc, char** argv) {
    if (!velmora::platform::StartUp()) {
        velmora::platform::WriteText(stderr, "Fatal Error: MFC initialization failed\n");
        return 1;
    }
    velmora::platform::RealFileSystem files;
    const velmora::platform::RealFolderSearch search;
    return velmora::cli::RunCommandLine(velmora::platform::ProgramArguments(argc, argv),
                                        {files, search}, stdout, stderr);
}
