# Packages of both programs, made with CPack in the build folder: the
# settings every package shares, then the system's own (velmora_os_packaging
# of platform/<os>/<os>.cmake): `cpack -G DEB` on Linux; `cpack -G ZIP` and
# `cpack -G NSIS` for Windows.

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

# The system's own packages (its <os>.cmake in platform/).
velmora_os_packaging()

include(CPack)
