# The Windows build's tests, run under Wine: the files it adds to the shared
# suites and the suites only it has. Included by tests/CMakeLists.txt; file
# names are relative to the folder of the suite (tests/, or tests/desktop/
# for the desktop ones).

# Test helpers: running programs through CreateProcessW, reading .ser files
# back with CNG.
set(VELMORA_TEST_SUPPORT_SOURCES support/run_process_windows.cpp support/ser_reader_windows.cpp)
set(VELMORA_TEST_SUPPORT_LIBRARIES bcrypt)
# Every test of this build folder runs in one Wine prefix, made on the first
# test's start (see scripts/wine-run).
set(VELMORA_TEST_ENVIRONMENT "VELMORA_WINEPREFIX=${CMAKE_BINARY_DIR}/wine-prefix")

# The system's cases of the shared suites.
set(VELMORA_OS_TESTS_encrypt_file encrypt_file_windows_test.cpp)
set(VELMORA_OS_TESTS_file_system file_system_windows_test.cpp)
set(VELMORA_OS_TESTS_folder_search "")
set(VELMORA_OS_TESTS_cli cli_windows_test.cpp cli_console_windows_test.cpp)
# Under Wine the program is reached through the drive that maps the root.
set(VELMORA_CLI_TEST_PATH "Z:$<TARGET_FILE:velmora-cli>")

# Desktop suites: wxMSW's widgets under Wine on Xvfb. The dialog's suite
# carries the program's own resources (velmora.rc: its cases read the
# program's icons from them); the others only what every windowed test
# program carries (VELMORA_WINDOW_TEST_SOURCES, windows.cmake).
set(VELMORA_DESKTOP_TEST_ENVIRONMENT "")
set(VELMORA_DIALOG_TEST_SOURCES ${PROJECT_SOURCE_DIR}/desktop/resources/velmora.rc)
set(VELMORA_OS_TESTS_folder_tree folder_tree_windows_test.cpp folder_tree_fixture_windows.cpp)
set(VELMORA_OS_TESTS_encrypt_dialog encrypt_dialog_windows_test.cpp)
set(VELMORA_OS_TESTS_message_box message_box_windows_test.cpp)

# Suites of tests/ only this system has (called from there).
macro(velmora_os_tests)
    # The console path of what velmora-cli.exe writes; files and pipes are
    # pinned by cli_test.
    velmora_add_test(console_test SOURCES console_windows_test.cpp LIBS velmora_platform)

    # The Windows build's .ser files read back by OpenSSL on the Linux side: a
    # script run on the build machine, with the program under Wine.
    if(CMAKE_CROSSCOMPILING_EMULATOR)
        add_test(NAME ser_files_read_by_openssl
                 COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/windows/ser_files_read_by_openssl
                         ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:velmora-cli>)
        set_tests_properties(ser_files_read_by_openssl PROPERTIES ENVIRONMENT
                             ${VELMORA_TEST_ENVIRONMENT})
    endif()

    # The installer (made by `cpack -G NSIS` after the build, as `make
    # windows` does), installed, used and uninstalled in a Wine prefix of its
    # own.
    if(CMAKE_CROSSCOMPILING_EMULATOR AND VELMORA_BUILD_DESKTOP AND CMAKE_SIZEOF_VOID_P EQUAL 8)
        add_test(NAME installer_round_trip
                 COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/windows/installer_round_trip
                         ${CMAKE_CROSSCOMPILING_EMULATOR}
                         ${CMAKE_BINARY_DIR}/velmora-${PROJECT_VERSION}-win64.exe
                         $<TARGET_FILE:velmora> $<TARGET_FILE:velmora-cli>)
    endif()
endmacro()

# Suites of tests/desktop/ only this system has (called from there): the
# Windows shell, and velmora.exe end to end. Sets VELMORA_SHELL_TEST and
# VELMORA_PROGRAM_TEST to their names.
macro(velmora_os_desktop_tests)
    velmora_add_test(windows_shell_test
        SOURCES shell_test.cpp windows_shell_test.cpp colour_bitmap.cpp dialog_test_main.cpp
                ${VELMORA_WINDOW_TEST_SOURCES}
        LIBS velmora_shell velmora_test_support
        LABELS desktop)
    set(VELMORA_SHELL_TEST windows_shell_test)

    # velmora.exe under Wine, driven with xdotool from the Linux side; what
    # it shows is read back by small Windows programs in the same Wine
    # session, as another Windows program would read it (its message boxes,
    # which control has the focus, its controls and their places, its
    # icon's images), and the click on its tree's button is timed with
    # bench/tree-click and its probes.
    include(${PROJECT_SOURCE_DIR}/bench/probes.cmake)
    set(readers message_box_reader focus_reader dialog_reader icon_reader message_font)
    foreach(reader ${readers})
        add_executable(${reader} windows/${reader}.cpp)
        target_link_libraries(${reader} PRIVATE velmora_platform)
    endforeach()
    set(VELMORA_PROGRAM_TEST "")
    if(CMAKE_CROSSCOMPILING_EMULATOR)
        add_test(NAME velmora_exe_test
                 COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/windows/velmora_exe_test
                         ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:velmora>
                         ${CMAKE_CURRENT_BINARY_DIR})
        set_tests_properties(velmora_exe_test PROPERTIES
            ENVIRONMENT ${VELMORA_TEST_ENVIRONMENT} LABELS desktop)
        # What the run needs, built with the suites.
        add_custom_target(velmora_exe_test_programs ALL)
        add_dependencies(velmora_exe_test_programs velmora ${readers} tree_probe repaint_probe)
        set(VELMORA_PROGRAM_TEST velmora_exe_test)
    endif()
endmacro()
