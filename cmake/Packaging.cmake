# Debian package of both programs: `cpack -G DEB` in the build directory
# (or `cmake --build <dir> --target package`). The package's dependencies
# are computed from the programs' shared libraries by dpkg-shlibdeps.

set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGE_NAME "velmora")
set(CPACK_PACKAGE_VENDOR "Velmora")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Velmora encrypt tool: encrypt *.txt file to *.ser")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Encrypts plain-text files into .ser files with AES-128-CBC and a 16-character key.\n"
    "Contains the desktop dialog velmora and the command-line program velmora-cli.")
set(CPACK_PACKAGE_CONTACT "Velmora maintainers <velmora@localhost>")
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION "utils")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "adwaita-icon-theme")

include(CPack)
