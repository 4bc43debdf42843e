# Turns a text file into a C++ source that defines it as a zero-terminated string, byte for byte.
# Usage: cmake -DINPUT=<file> -DOUTPUT=<file.cpp> -P embed_text.cmake
file(READ "${INPUT}" bytes HEX)
string(LENGTH "${bytes}" hex_length)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${bytes}")
string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)" "\\1\n    "
       bytes "${bytes}")
file(WRITE "${OUTPUT}.tmp"
     "// Generated from ${INPUT} by shader/embed_text.cmake; edit that file instead.\n"
     "#include \"host/embedded_shader.h\"\n\n"
     "namespace {\nconst char embedded_shader_text[] = {\n    ${bytes}0x00};\n}\n\n"
     "const char* const embedded_shader = embedded_shader_text;\n")
# Only replace the output when it changed, so that an untouched shader rebuilds nothing.
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
