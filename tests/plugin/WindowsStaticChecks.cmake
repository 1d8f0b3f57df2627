# The export table, the machine type, the imports and the calling
# convention, read from the file with the mingw tools.
add_test(NAME plugin_exports COMMAND ${CMAKE_COMMAND}
  -DLIBRARY=$<TARGET_FILE:vistel> -DOBJDUMP=${CMAKE_OBJDUMP}
  -DBITS=${CMAKE_SIZEOF_VOID_P}
  -P ${CMAKE_CURRENT_SOURCE_DIR}/CheckWindowsLibrary.cmake)
set_tests_properties(plugin_exports PROPERTIES LABELS "unit;static")

# The 32-bit library loads on Windows XP SP3: it imports nothing newer.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  add_test(NAME plugin_xp_imports COMMAND ${CMAKE_COMMAND}
    -DLIBRARY=$<TARGET_FILE:vistel> -DOBJDUMP=${CMAKE_OBJDUMP}
    -DLISTS=${CMAKE_CURRENT_SOURCE_DIR}/xp-sp3-exports
    -P ${CMAKE_CURRENT_SOURCE_DIR}/CheckXPImports.cmake)
  set_tests_properties(plugin_xp_imports PROPERTIES LABELS "unit;static")
endif()
