# Writes one file into a C++ source as a byte array.
# Run as: cmake -DINPUT=<file> -DOUTPUT=<file.cpp> -DNAME=<array name> -P EmbedBinaryFile.cmake
# The source defines `const unsigned char NAME[]` and `const std::size_t NAMESize`
# in namespace vistel.
file(READ ${INPUT} bytes HEX)
string(LENGTH "${bytes}" digits)
math(EXPR size "${digits} / 2")
string(REPEAT "0x[0-9a-f][0-9a-f]," 16 sixteen)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${bytes}")
string(REGEX REPLACE "(${sixteen})" "\\1\n\t" bytes "${bytes}")
get_filename_component(source_name ${INPUT} NAME)
set(text "// Generated from ${source_name}; edit that file instead.\n#include <cstddef>\n\nnamespace vistel\n{\n\n")
string(APPEND text "extern const unsigned char ${NAME}[];\nextern const std::size_t ${NAME}Size;\n")
string(APPEND text "const unsigned char ${NAME}[] = {\n\t${bytes}};\nconst std::size_t ${NAME}Size = ${size};\n")
string(APPEND text "\n} // end namespace vistel\n")
if(EXISTS ${OUTPUT})
  file(READ ${OUTPUT} previous)
endif()
if(NOT "${previous}" STREQUAL "${text}")
  file(WRITE ${OUTPUT} "${text}")
endif()
