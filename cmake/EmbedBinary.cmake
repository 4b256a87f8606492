# cmake -DINPUT=file -DOUTPUT=file.cpp -DNAMESPACE=ns -DFUNCTION=Name -P EmbedBinary.cmake
# Writes a C++ source holding the bytes of INPUT in a static array and a function
# NAMESPACE::FUNCTION() returning them as a std::span.
foreach(var INPUT OUTPUT NAMESPACE FUNCTION)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "EmbedBinary.cmake: ${var} is not set")
  endif()
endforeach()

file(SIZE "${INPUT}" size)
if(size EQUAL 0)
  message(FATAL_ERROR "EmbedBinary.cmake: ${INPUT} is empty")
endif()
file(READ "${INPUT}" hex HEX)
# Sixteen bytes a line, each as 0xNN.
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
# (CMake's regular expressions have no {n} repetition.)
string(REPEAT "0x..," 16 line)
string(REGEX REPLACE "(${line})" "\\1\n    " bytes "${bytes}")

file(WRITE "${OUTPUT}.tmp"
"// Generated from ${INPUT}; do not edit.
#include <cstddef>
#include <span>

namespace ${NAMESPACE} {
namespace {
const unsigned char bytes[${size}] = {
    ${bytes}
};
}  // namespace

std::span<const unsigned char> ${FUNCTION}() { return {bytes, sizeof bytes}; }

}  // namespace ${NAMESPACE}
")
file(RENAME "${OUTPUT}.tmp" "${OUTPUT}")
