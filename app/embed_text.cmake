# Turns a text file into a C++ source defining one string constant.
#   cmake -DINPUT=file -DOUTPUT=file.cpp -DSYMBOL=name -P embed_text.cmake
file(READ "${INPUT}" text)
string(FIND "${text}" ")dfm\"" clash)
if(NOT clash EQUAL -1)
  message(FATAL_ERROR "${INPUT} contains the raw string delimiter")
endif()
get_filename_component(name "${INPUT}" NAME)
file(WRITE "${OUTPUT}.tmp"
  "// Generated from ${name} at build time; edit that file instead.\n"
  "#include \"app/FormDescriptions.h\"\n\n"
  "const char* const ${SYMBOL} = R\"dfm(${text})dfm\";\n")
configure_file("${OUTPUT}.tmp" "${OUTPUT}" COPYONLY)
file(REMOVE "${OUTPUT}.tmp")
