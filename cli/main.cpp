#include <iostream>

#include "cli/command_line.h"
#include "platform/arguments.h"
#include "platform/file_system.h"
#include "platform/folder_search.h"
#include "platform/startup.h"

int main(int argc, char** argv) {
    if (!velmora::platform::StartUp()) {
        std::cerr << "Fatal Error: MFC initialization failed" << std::endl;
        return 1;
    }
    velmora::platform::RealFileSystem files;
    const velmora::platform::RealFolderSearch search;
    return velmora::cli::RunCommandLine(velmora::platform::ProgramArguments(argc, argv),
                                        {files, search}, stdout);
}
