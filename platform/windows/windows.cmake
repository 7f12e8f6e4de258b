# Windows (cross-compiled with MinGW-w64, see cmake/toolchains/): what the
# build takes from the system, the platform sources, and how the programs are
# installed and packaged. Included by the top-level CMakeLists.txt when
# VELMORA_OS is windows; its tests are in tests.cmake.

if(VELMORA_BUILD_DESKTOP)
    enable_language(RC)       # the desktop program's resources
    set(VELMORA_WX_FROM package)  # the static wxMSW of scripts/build-wx-msw
endif()

# velmora_platform (relative to platform/): Win32 files, folders and console,
# CNG's AES.
set(VELMORA_PLATFORM_SOURCES
    windows/arguments.cpp
    windows/cipher.cpp
    windows/console.cpp
    windows/current_directory.cpp
    windows/file_system.cpp
    windows/folder_search.cpp
    windows/interrupt_cleanup.cpp
    windows/key_text.cpp
    windows/startup.cpp
    windows/wide_text.cpp)
set(VELMORA_PLATFORM_LIBRARIES bcrypt shell32)

# velmora_shell (relative to platform/): the desktop shell through Win32.
set(VELMORA_SHELL_SOURCES
    wx/win32/dialog_style.cpp
    wx/win32/message_box.cpp
    wx/win32/shell.cpp
    wx/win32/system_menu.cpp)
set(VELMORA_SHELL_LIBRARIES shell32 user32 advapi32)

# What every test or benchmark program that opens windows carries: a
# manifest asking for common controls version 6 (image lists with alpha, as
# velmora.exe has them). Libraries of the folder tree benchmark's
# peak-memory figure: psapi.
set(VELMORA_WINDOW_TEST_SOURCES ${PROJECT_SOURCE_DIR}/tests/desktop/windows/test_manifest.rc)
set(VELMORA_PEAK_MEMORY_LIBRARIES psapi)
# bench/tree-click's probe inside the Wine session: it finds velmora.exe's
# tree view and answers where its items are (bench/probes.cmake).
set(VELMORA_TREE_PROBE_SOURCES ${PROJECT_SOURCE_DIR}/bench/tree_probe_windows.cpp)
set(VELMORA_TREE_PROBE_LIBRARIES comctl32)

# velmora-cli.exe (called from cli/): at the top of the installation folder.
function(velmora_os_cli_program target)
    install(TARGETS ${target} RUNTIME DESTINATION . COMPONENT cli)
endfunction()

# velmora.exe (called from desktop/): a GUI program (no console), with its
# icon, version block, strings and manifest compiled in.
function(velmora_os_desktop_program target)
    set_target_properties(${target} PROPERTIES WIN32_EXECUTABLE ON)
    target_sources(${target} PRIVATE resources/velmora.rc)
    install(TARGETS ${target} RUNTIME DESTINATION . COMPONENT desktop)
endfunction()

# The zip and the installer (called from cmake/Packaging.cmake).
macro(velmora_os_packaging)
    include(${PROJECT_SOURCE_DIR}/packaging/windows/cpack.cmake)
endmacro()
