# Linux's tests: the files it adds to the shared suites and the suites only
# it has. Included by tests/CMakeLists.txt; file names are relative to the
# folder of the suite (tests/, or tests/desktop/ for the desktop ones).

# Test helpers: running programs through fork and exec, reading .ser files
# back with OpenSSL's command.
set(VELMORA_TEST_SUPPORT_SOURCES
    support/child_process.cpp support/run_process_posix.cpp support/ser_reader_posix.cpp)
set(VELMORA_TEST_SUPPORT_LIBRARIES "")
# Every test runs as it is.
set(VELMORA_TEST_ENVIRONMENT "")

# The system's cases of the shared suites.
set(VELMORA_OS_TESTS_encrypt_file encrypt_file_posix_test.cpp)
set(VELMORA_OS_TESTS_file_system file_system_posix_test.cpp)
set(VELMORA_OS_TESTS_folder_search folder_search_posix_test.cpp)  # symbolic links
set(VELMORA_OS_TESTS_cli cli_posix_test.cpp cli_console_posix_test.cpp)
set(VELMORA_CLI_TEST_PATH "$<TARGET_FILE:velmora-cli>")

# Desktop suites: GTK's widgets under Xvfb, without the accessibility bus
# (which velmora_program_test starts itself), with GTK's known leaks set
# aside for LeakSanitizer.
set(VELMORA_DESKTOP_TEST_ENVIRONMENT
    "NO_AT_BRIDGE=1;LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/desktop/lsan_gtk.supp")
set(VELMORA_OS_TESTS_folder_tree folder_tree_posix_test.cpp folder_tree_fixture_posix.cpp)
set(VELMORA_OS_TESTS_encrypt_dialog encrypt_dialog_posix_test.cpp)
set(VELMORA_DIALOG_TEST_SOURCES "")  # the dialog's suite: nothing more
set(VELMORA_OS_TESTS_message_box message_box_posix_test.cpp)

# Suites of tests/ only this system has: none.
macro(velmora_os_tests)
endmacro()

# Suites of tests/desktop/ only this system has (called from there): the GIO
# shell, and the real program driven with xdotool, its message boxes read
# back through the accessibility bus. Sets VELMORA_SHELL_TEST and
# VELMORA_PROGRAM_TEST to their names.
macro(velmora_os_desktop_tests)
    velmora_add_test(gio_shell_test
        SOURCES shell_test.cpp gio_shell_test.cpp colour_bitmap.cpp dialog_test_main.cpp
        LIBS velmora_shell velmora_test_support PkgConfig::GIO
        LABELS desktop)
    set(VELMORA_SHELL_TEST gio_shell_test)

    velmora_add_test(velmora_program_test
        SOURCES velmora_program_test.cpp
        LIBS velmora_test_support
        LABELS desktop
        DEFINITIONS VELMORA_PROGRAM_PATH="$<TARGET_FILE:velmora>")
    add_dependencies(velmora_program_test velmora)
    set_tests_properties(velmora_program_test PROPERTIES
        ENVIRONMENT "LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/desktop/lsan_gtk.supp")
    set(VELMORA_PROGRAM_TEST velmora_program_test)
endmacro()
