#include <openssl/crypto.h>

#include <clocale>
#include <cstdio>
#include <iostream>

#include "cli/command_line.h"

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "");
    if (OPENSSL_init_crypto(0, nullptr) != 1) {
        std::cerr << "Fatal Error: MFC initialization failed" << std::endl;
        return 1;
    }
    const velmora::platform::RealFolderSearch search;
    return velmora::cli::RunCommandLine(argc, argv, search, stdout);
}
