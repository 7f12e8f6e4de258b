# Linux: what the build takes from the system, the platform sources, and how
# the programs are installed and packaged. Included by the top-level
# CMakeLists.txt when VELMORA_OS is linux; its tests are in tests.cmake.

find_package(OpenSSL 3 REQUIRED COMPONENTS Crypto)
if(VELMORA_BUILD_DESKTOP)
    set(VELMORA_WX_FROM wx-config)  # the system's wxGTK
    find_package(PkgConfig REQUIRED)
    pkg_check_modules(GIO REQUIRED IMPORTED_TARGET gio-2.0 gio-unix-2.0)
endif()

# velmora_platform (relative to platform/): the POSIX code, Linux's own file
# calls, OpenSSL's AES.
set(VELMORA_PLATFORM_SOURCES
    posix/arguments.cpp
    posix/cipher.cpp
    posix/console.cpp
    posix/current_directory.cpp
    posix/file_system.cpp
    posix/folder_search.cpp
    posix/interrupt_cleanup.cpp
    posix/key_text.cpp
    posix/startup.cpp
    posix/terminal_text.cpp
    linux/file_system.cpp)
set(VELMORA_PLATFORM_LIBRARIES OpenSSL::Crypto)

# velmora_shell (relative to platform/): the desktop shell through GIO and GTK.
set(VELMORA_SHELL_SOURCES
    wx/gtk/dialog_style.cpp
    wx/gtk/message_box.cpp
    wx/gtk/shell.cpp
    wx/gtk/system_menu.cpp
    wx/gtk/themed_icon_cache.cpp)
set(VELMORA_SHELL_LIBRARIES PkgConfig::GIO)

# What every test or benchmark program that opens windows carries: nothing
# here. Libraries of the folder tree benchmark's peak-memory figure: none.
# bench/tree-click reads the tree through X alone: no probe of its own.
set(VELMORA_WINDOW_TEST_SOURCES "")
set(VELMORA_PEAK_MEMORY_LIBRARIES "")
set(VELMORA_TREE_PROBE_SOURCES "")

# velmora-cli (called from cli/): the program and its man page.
function(velmora_os_cli_program target)
    install(TARGETS ${target} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    velmora_install_man(velmora-cli.1)
endfunction()

# velmora (called from desktop/): the program, its desktop entry, its icons
# in the hicolor theme and its man page.
function(velmora_os_desktop_program target)
    install(TARGETS ${target} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    install(FILES resources/velmora.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    foreach(size 16 32 48)
        install(FILES resources/velmora-${size}.png
                DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
                RENAME velmora.png)
    endforeach()
    install(FILES resources/velmora.svg
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
    velmora_install_man(velmora.1)
endfunction()

# `cpack -G DEB` (called from cmake/Packaging.cmake): a Debian package whose
# dependencies are computed from the programs' shared libraries by
# dpkg-shlibdeps.
macro(velmora_os_packaging)
    set(CPACK_GENERATOR "DEB")
    set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
    set(CPACK_DEBIAN_PACKAGE_SECTION "utils")
    set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
    set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "adwaita-icon-theme")
endmacro()
