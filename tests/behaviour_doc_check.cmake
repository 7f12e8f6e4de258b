# Checks that every test docs/behaviour.md cites in its "Pinned by" column
# exists: each `Suite.Name` must be a TEST, TEST_F or TEST_P of that name in
# a file below tests/, each `FooTest` (or `FooTests`) alone a suite there,
# each other name with a dash, underscore or slash (`velmora_exe_test`,
# `tests/fs-matrix`) a file below tests/ or the repository. Run by CTest as behaviour_doc_test:
#   cmake -DROOT=<repository> -P tests/behaviour_doc_check.cmake
# Fails naming every citation it cannot find.

cmake_minimum_required(VERSION 3.25)

if(NOT ROOT)
    message(FATAL_ERROR "usage: cmake -DROOT=<repository> -P behaviour_doc_check.cmake")
endif()

file(GLOB_RECURSE test_files ${ROOT}/tests/*.cpp ${ROOT}/tests/*.h)
set(test_text "")
foreach(file ${test_files})
    file(READ ${file} text)
    string(APPEND test_text "${text}\n")
endforeach()
# One line per test: "Suite.Name", whatever the spacing inside the macro.
string(REGEX MATCHALL "TEST(_F|_P)?\\([ \t\r\n]*[A-Za-z0-9_]+,[ \t\r\n]*[A-Za-z0-9_]+[ \t\r\n]*\\)"
       declarations "${test_text}")
set(tests "")
foreach(declaration ${declarations})
    string(REGEX REPLACE "^TEST(_F|_P)?\\([ \t\r\n]*([A-Za-z0-9_]+),[ \t\r\n]*([A-Za-z0-9_]+).*"
           "\\2.\\3" name "${declaration}")
    list(APPEND tests ${name})
endforeach()

# The document's lines as a list: what would split or join list items
# (semicolons, brackets) is taken out first.
file(READ ${ROOT}/docs/behaviour.md document)
string(REGEX REPLACE "[][;]" " " document "${document}")
string(REPLACE "\n" ";" lines "${document}")
set(cited 0)
set(missing "")
foreach(line IN LISTS lines)
    # A row of a table whose last cell is the "Pinned by" column.
    if(NOT line MATCHES "^\\|.*\\|$" OR line MATCHES "^\\|[- |]+\\|$")
        continue()
    endif()
    string(REGEX MATCH "[^|]*\\|$" pinned "${line}")
    string(REGEX MATCHALL "`[^`]+`" names "${pinned}")
    foreach(quoted ${names})
        string(REGEX REPLACE "`" "" name "${quoted}")
        if(name MATCHES "^[A-Za-z0-9_]+\\.[A-Za-z0-9_]+$")
            math(EXPR cited "${cited} + 1")
            if(NOT name IN_LIST tests)
                list(APPEND missing "${name} (no such TEST, TEST_F or TEST_P in tests/)")
            endif()
        elseif(name MATCHES "^[A-Z][A-Za-z0-9]*Tests?$")
            math(EXPR cited "${cited} + 1")
            set(of_suite ${tests})
            list(FILTER of_suite INCLUDE REGEX "^${name}\\.")
            if(NOT of_suite)
                list(APPEND missing "${name} (no such suite in tests/)")
            endif()
            unset(of_suite)
        elseif(name MATCHES "^[A-Za-z0-9_./-]+$" AND name MATCHES "[_/-]")
            math(EXPR cited "${cited} + 1")
            file(GLOB_RECURSE found ${ROOT}/tests/${name} ${ROOT}/tests/${name}.cpp ${ROOT}/${name})
            if(NOT found)
                list(APPEND missing "${name} (no such file)")
            endif()
        endif()
    endforeach()
endforeach()

if(missing)
    list(JOIN missing "\n  " text)
    message(FATAL_ERROR "docs/behaviour.md cites what does not exist:\n  ${text}")
endif()
if(cited EQUAL 0)
    message(FATAL_ERROR "docs/behaviour.md: no test found in its \"Pinned by\" column")
endif()
message(STATUS "docs/behaviour.md: all ${cited} citations found")
