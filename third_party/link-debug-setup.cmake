# Run after wxWidgets is installed into PREFIX: the exported targets put
# <lib dir>/mswu$<$<CONFIG:Debug>:d> on the include path, so mswud is made a
# link to mswu, whose setup.h (of this release build) serves Debug consumers.
file(GLOB setup_dirs LIST_DIRECTORIES true "${PREFIX}/lib/gcc*_lib/mswu")
if(NOT setup_dirs)
    message(FATAL_ERROR "no ${PREFIX}/lib/gcc*_lib/mswu: wxWidgets did not install its setup.h")
endif()
foreach(dir IN LISTS setup_dirs)
    file(REMOVE "${dir}d")
    file(CREATE_LINK mswu "${dir}d" SYMBOLIC)
endforeach()
