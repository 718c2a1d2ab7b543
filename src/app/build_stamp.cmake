# Writes the moment of the build as two integers: YYYYMMDD and seconds since midnight.
string(TIMESTAMP day "%Y%m%d")
string(TIMESTAMP hh "%H")
string(TIMESTAMP mm "%M")
string(TIMESTAMP ss "%S")
math(EXPR seconds "${hh} * 3600 + ${mm} * 60 + ${ss}")
file(WRITE ${OUT} "#pragma once\n#define SDELKA_BUILD_DATE ${day}\n#define SDELKA_BUILD_TIME ${seconds}\n")
