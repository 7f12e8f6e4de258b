# Compiles a binary file into a program as a byte array.
#
#   velmora_embed_file(TARGET target SYMBOL name FILE path)
#
# adds a generated source to `target` that defines, in namespace
# velmora::resources,
#   extern const unsigned char name[];
#   extern const std::size_t name_size;
# The source is generated anew whenever the file changes.
#
# Run as a script (cmake -DINPUT=... -DOUTPUT=... -DSYMBOL=... -P EmbedFile.cmake)
# it writes the generated source.

if(CMAKE_SCRIPT_MODE_FILE)
    file(READ "${INPUT}" hex HEX)
    string(LENGTH "${hex}" hexLength)
    math(EXPR byteCount "${hexLength} / 2")
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
    string(REGEX REPLACE "((0x[0-9a-f][0-9a-f],){16})" "\\1\n    " bytes "${bytes}")
    file(WRITE "${OUTPUT}"
        "// Generated from ${INPUT}; do not edit.\n"
        "#include <cstddef>\n\n"
        "namespace velmora::resources {\n\n"
        "extern const unsigned char ${SYMBOL}[] = {\n    ${bytes}\n};\n"
        "extern const std::size_t ${SYMBOL}_size = ${byteCount};\n\n"
        "}  // namespace velmora::resources\n")
    return()
endif()

set(VELMORA_EMBED_SCRIPT "${CMAKE_CURRENT_LIST_FILE}")

function(velmora_embed_file)
    cmake_parse_arguments(ARG "" "TARGET;SYMBOL;FILE" "" ${ARGN})
    set(output "${CMAKE_CURRENT_BINARY_DIR}/embedded/${ARG_SYMBOL}.cpp")
    add_custom_command(
        OUTPUT "${output}"
        COMMAND ${CMAKE_COMMAND} -DINPUT=${ARG_FILE} -DOUTPUT=${output} -DSYMBOL=${ARG_SYMBOL}
                -P ${VELMORA_EMBED_SCRIPT}
        DEPENDS "${ARG_FILE}" "${VELMORA_EMBED_SCRIPT}"
        COMMENT "Embedding ${ARG_FILE}"
        VERBATIM)
    target_sources(${ARG_TARGET} PRIVATE "${output}")
endfunction()
