# velmora_wx: an interface target carrying wxWidgets' include paths,
# definitions, flags and libraries, so that only the targets that link it
# (the desktop ones) are compiled with them. The system's <os>.cmake says
# where wxWidgets comes from (VELMORA_WX_FROM):
#
# wx-config: the system's wxWidgets (Linux: wxGTK), found through wx-config.
# package:   a static wxWidgets built by scripts/build-wx-msw (the superbuild
#            in third_party/), found through the CMake package it installs:
#            -DwxWidgets_DIR=<prefix>/lib/cmake/wxWidgets.
add_library(velmora_wx INTERFACE)
if(VELMORA_WX_FROM STREQUAL "package")
    find_package(wxWidgets 3.2 REQUIRED CONFIG COMPONENTS core base)
    target_link_libraries(velmora_wx INTERFACE wx::core wx::base)
elseif(VELMORA_WX_FROM STREQUAL "wx-config")
    find_package(wxWidgets 3.2 REQUIRED COMPONENTS core base)
    target_include_directories(velmora_wx SYSTEM INTERFACE ${wxWidgets_INCLUDE_DIRS})
    target_compile_definitions(velmora_wx INTERFACE ${wxWidgets_DEFINITIONS})
    separate_arguments(velmora_wx_flags UNIX_COMMAND "${wxWidgets_CXX_FLAGS}")
    target_compile_options(velmora_wx INTERFACE ${velmora_wx_flags})
    target_link_libraries(velmora_wx INTERFACE ${wxWidgets_LIBRARIES})
else()
    message(FATAL_ERROR "VELMORA_WX_FROM is '${VELMORA_WX_FROM}': package or wx-config")
endif()
