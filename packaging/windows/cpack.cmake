# The Windows packages (included by platform/windows/windows.cmake):
# `cpack -G ZIP`, velmora-cli-<version>-win64.zip (or -win32) with the
# command-line program, a short README and the licences; `cpack -G NSIS`, the
# installer velmora-<version>-win64.exe of both programs (see
# CPackOptions.cmake.in beside this file).

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
# The zip holds the command-line program alone (component "cli"), at its
# top level; the installer holds every component.
set(CPACK_ARCHIVE_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL cli)
set(CPACK_ARCHIVE_CLI_FILE_NAME "velmora-cli-${PROJECT_VERSION}-${velmora_windows_arch}")
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)

set(CPACK_PACKAGE_INSTALL_DIRECTORY "Velmora")
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY "Velmora")
set(CPACK_NSIS_PACKAGE_NAME "Velmora")
set(CPACK_NSIS_DISPLAY_NAME "Velmora ${PROJECT_VERSION}")
set(CPACK_NSIS_MUI_ICON "${PROJECT_SOURCE_DIR}/desktop/resources/velmora.ico")
set(CPACK_NSIS_MUI_UNIICON "${PROJECT_SOURCE_DIR}/desktop/resources/velmora.ico")
set(CPACK_NSIS_INSTALLED_ICON_NAME "velmora.exe")
set(CPACK_RESOURCE_FILE_LICENSE "${PROJECT_SOURCE_DIR}/LICENSE.txt")
# A Start-menu entry for the dialog; the programs lie at the top of the
# installation folder.
set(CPACK_PACKAGE_EXECUTABLES "velmora" "Velmora")
set(CPACK_NSIS_EXECUTABLES_DIRECTORY ".")
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
# CPack's uninstaller removes the key Software\<vendor>\<key> it wrote,
# but not the vendor key above it. These commands run after that removal.
# (CPackConfig.cmake takes the value as written: quotes and backslashes
# are escaped once more.)
set(CPACK_NSIS_DELETE_ICONS_EXTRA "DeleteRegKey /ifempty SHCTX \\\"Software\\\\Velmora\\\"")
if(velmora_windows_arch STREQUAL "win64")
    # A 64-bit installer (NSIS's amd64-unicode stubs), installing into
    # the 64-bit Program Files: NSIS's default x86 stub is a 32-bit
    # program, which a 64-bit-only Windows (or Wine) cannot start.
    set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
    set(CPACK_NSIS_DEFINES "Unicode true\nTarget amd64-unicode")
endif()
configure_file(${PROJECT_SOURCE_DIR}/packaging/windows/CPackOptions.cmake.in
               ${PROJECT_BINARY_DIR}/CPackOptions.cmake @ONLY)
set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_BINARY_DIR}/CPackOptions.cmake)
