# Writes OUTPUT, a C++ source holding the bytes of INPUT as the array SYMBOL.
file(READ ${INPUT} hex HEX)
string(LENGTH "${hex}" length)
math(EXPR size "${length} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)" "\\1\n" bytes "${bytes}")
file(WRITE ${OUTPUT}
  "// Generated from ${INPUT}; do not edit.\n"
  "extern const unsigned char ${SYMBOL}[];\n"
  "extern const unsigned long long ${SYMBOL}_size;\n"
  "alignas(4) const unsigned char ${SYMBOL}[] = {\n${bytes}0};\n"
  "const unsigned long long ${SYMBOL}_size = ${size};\n")
