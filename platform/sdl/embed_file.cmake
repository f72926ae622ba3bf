# Writes a header holding a file's bytes as `static const unsigned char NAME[]`.
# cmake -DIN=file -DOUT=header -DNAME=symbol -P embed_file.cmake
file(READ "${IN}" hex HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
file(WRITE "${OUT}" "// Written by the build from ${IN}: do not edit.\nstatic const unsigned char ${NAME}[] = {${bytes}};\n")
