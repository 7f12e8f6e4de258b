# Packages of both programs, made with CPack in the build folder:
#   Linux:   `cpack -G DEB`, a Debian package whose dependencies are computed
#            from the programs' shared libraries by dpkg-shlibdeps;
#   Windows: `cpack -G ZIP`, velmora-cli-<version>-win64.zip (or -win32) with
#            the program, a short README and the licences; the installer of
#            both programs comes from CPack's NSIS generator.

set(CPACK_PACKAGE_NAME "velmora")
set(CPACK_PACKAGE_VENDOR "Velmora")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Velmora encrypt tool: encrypt *.txt file to *.ser")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Encrypts plain-text files into .ser files with AES-128-CBC and a 16-character key.\n"
    "Contains the desktop dialog velmora and the command-line program velmora-cli.")
# Whoever builds a package for distribution names themselves: by default the
# DEBFULLNAME and DEBEMAIL of the environment, as Debian's own tools do.
if(DEFINED ENV{DEBEMAIL})
    set(velmora_default_maintainer "$ENV{DEBFULLNAME} <$ENV{DEBEMAIL}>")
else()
    set(velmora_default_maintainer "Velmora maintainers")
endif()
set(VELMORA_PACKAGE_MAINTAINER "${velmora_default_maintainer}" CACHE STRING
    "Maintainer named in packages: Name <address>")
set(CPACK_PACKAGE_CONTACT "${VELMORA_PACKAGE_MAINTAINER}")
set(CPACK_STRIP_FILES ON)

if(WIN32)
    if(CMAKE_SIZEOF_VOID_P EQUAL 8)
        set(velmora_windows_arch win64)
    else()
        set(velmora_windows_arch win32)
    endif()
    install(FILES ${PROJECT_SOURCE_DIR}/packaging/windows/README.txt
                  ${PROJECT_SOURCE_DIR}/packaging/windows/THIRD-PARTY.txt
                  ${PROJECT_SOURCE_DIR}/LICENSE.txt
            DESTINATION . COMPONENT cli)
    set(CPACK_GENERATOR "ZIP")
    set(CPACK_SYSTEM_NAME ${velmora_windows_arch})
    set(CPACK_PACKAGE_FILE_NAME "velmora-${PROJECT_VERSION}-${velmora_windows_arch}")
    # The zip holds the command-line program alone, at its top level.
    set(CPACK_ARCHIVE_COMPONENT_INSTALL ON)
    set(CPACK_COMPONENTS_ALL cli)
    set(CPACK_ARCHIVE_CLI_FILE_NAME "velmora-cli-${PROJECT_VERSION}-${velmora_windows_arch}")
    set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
else()
    set(CPACK_GENERATOR "DEB")
    set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
    set(CPACK_DEBIAN_PACKAGE_SECTION "utils")
    set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
    set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "adwaita-icon-theme")
endif()

include(CPack)
