# Writes the bytes of INPUT as a C++ array NAME (and NAME##Size) in OUTPUT.
# Usage: cmake -DINPUT=file -DOUTPUT=file.cpp -DNAME=kName -P EmbedFile.cmake
cmake_minimum_required(VERSION 3.25)
file(READ ${INPUT} hex HEX)
string(LENGTH "${hex}" digits)
math(EXPR size "${digits} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
# Short lines: some compilers slow down on one line of megabytes.
string(REGEX REPLACE "((0x..,){24})" "\\1\n" bytes "${bytes}")
get_filename_component(source ${INPUT} NAME)
file(WRITE ${OUTPUT}.new
  "// Generated from ${source} at build time; do not edit.\n"
  "#include <cstddef>\n\n"
  "namespace kov::wfexport {\n"
  "extern const unsigned char ${NAME}[] = {\n${bytes}};\n"
  "extern const std::size_t ${NAME}Size = ${size};\n"
  "}  // namespace kov::wfexport\n")
file(RENAME ${OUTPUT}.new ${OUTPUT})
