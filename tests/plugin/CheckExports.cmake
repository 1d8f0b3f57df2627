# Lists the dynamic symbols the plug-in library defines and compares them
# with the eight entry points.
execute_process(COMMAND nm -D --defined-only ${LIBRARY}
  OUTPUT_VARIABLE symbols RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "nm failed on ${LIBRARY}")
endif()
string(REGEX MATCHALL "[0-9a-f]+ [A-Za-z] [^\n]+" lines "${symbols}")
set(defined "")
foreach(line ${lines})
  string(REGEX REPLACE "^[0-9a-f]+ [A-Za-z] " "" name "${line}")
  # Symbols the toolchain adds to every shared object are not ours.
  if(NOT name MATCHES "^(_init|_fini|_edata|_end|__bss_start|__asan|__ubsan|__sanitizer|__lsan)")
    list(APPEND defined ${name})
  endif()
endforeach()
list(SORT defined)
set(expected PluginAuthor PluginDescription PluginEmail PluginExecute PluginName
  PluginSetCallback PluginTarvoVersion PluginVersion)
if(NOT defined STREQUAL expected)
  message(FATAL_ERROR "exported: ${defined}\nexpected: ${expected}")
endif()
