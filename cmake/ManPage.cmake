# velmora_install_man(PAGE): installs the section-1 man page PAGE (relative to
# the current source folder) gzipped, as Debian's packaging expects.
find_program(GZIP_EXECUTABLE gzip REQUIRED)

function(velmora_install_man page)
    get_filename_component(name ${page} NAME)
    set(source ${CMAKE_CURRENT_SOURCE_DIR}/${page})
    set(output ${CMAKE_CURRENT_BINARY_DIR}/${name}.gz)
    add_custom_command(OUTPUT ${output}
        COMMAND sh -c "${GZIP_EXECUTABLE} -9 -n -c \"$0\" > \"$1\"" ${source} ${output}
        DEPENDS ${source}
        COMMENT "Compressing man page ${name}"
        VERBATIM)
    add_custom_target(man_${name} ALL DEPENDS ${output})
    install(FILES ${output} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endfunction()
