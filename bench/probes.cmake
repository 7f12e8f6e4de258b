# The probes of bench/tree-click, which times a click on the real program's
# tree as its user sees it: repaint_probe, an X client of the build machine
# (built with the build machine's compiler when cross-compiling), and, where
# the system's <os>.cmake names one (VELMORA_TREE_PROBE_SOURCES), a probe
# inside the program's session: tree_probe.exe for velmora.exe. Both go to bench/ of the build folder, where
# tree-click looks for them. Included by bench/ and by the Windows desktop
# tests (the end-to-end run of velmora.exe times its tree too), once.
include_guard(GLOBAL)

set(VELMORA_PROBE_DIR ${PROJECT_BINARY_DIR}/bench)
if(VELMORA_TREE_PROBE_SOURCES)
    add_executable(tree_probe ${VELMORA_TREE_PROBE_SOURCES})
    target_link_libraries(tree_probe PRIVATE velmora_platform ${VELMORA_TREE_PROBE_LIBRARIES})
    set_target_properties(tree_probe PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${VELMORA_PROBE_DIR})
endif()
if(CMAKE_CROSSCOMPILING)
    find_program(VELMORA_HOST_CXX NAMES c++ g++ REQUIRED NO_CMAKE_FIND_ROOT_PATH)
    add_custom_command(
        OUTPUT ${VELMORA_PROBE_DIR}/repaint_probe
        COMMAND ${CMAKE_COMMAND} -E make_directory ${VELMORA_PROBE_DIR}
        COMMAND ${VELMORA_HOST_CXX} -std=c++20 -O2 -Wall -Wextra -Werror
                -o ${VELMORA_PROBE_DIR}/repaint_probe ${PROJECT_SOURCE_DIR}/bench/repaint_probe.cpp
                -lX11
        DEPENDS ${PROJECT_SOURCE_DIR}/bench/repaint_probe.cpp
        COMMENT "Building repaint_probe for the build machine")
    add_custom_target(repaint_probe ALL DEPENDS ${VELMORA_PROBE_DIR}/repaint_probe)
else()
    find_package(X11 REQUIRED)
    add_executable(repaint_probe ${PROJECT_SOURCE_DIR}/bench/repaint_probe.cpp)
    target_link_libraries(repaint_probe PRIVATE X11::X11)
    set_target_properties(repaint_probe PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${VELMORA_PROBE_DIR})
endif()
