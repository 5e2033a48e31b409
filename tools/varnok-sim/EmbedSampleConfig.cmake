# Writes a C++ source holding the text of the sample configuration file (or an empty text when
# the file is absent). Runs at every build; the output changes only when the text does.
#   -DSAMPLE=<path of SAMPLE.CFG> -DOUT=<generated .cpp>
set(text "")
if(EXISTS "${SAMPLE}")
  file(READ "${SAMPLE}" text)
endif()
set(content "// Generated from the sample configuration file; do not edit.\n")
string(APPEND content "namespace varnok::sim {\n")
string(APPEND content "extern const char* const kEmbeddedSampleConfigText;\n")
string(APPEND content "const char* const kEmbeddedSampleConfigText = R\"sample_cfg(${text})sample_cfg\";\n")
string(APPEND content "}  // namespace varnok::sim\n")
file(WRITE "${OUT}.tmp" "${content}")
file(COPY_FILE "${OUT}.tmp" "${OUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUT}.tmp")
