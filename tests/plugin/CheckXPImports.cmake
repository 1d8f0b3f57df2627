# Every function the 32-bit plug-in imports is one that Windows XP SP3's
# system libraries export (the lists in xp-sp3-exports/): the editor is a
# program of the Direct3D 9 era, and a library that imports one function
# Windows XP lacks does not load there at all.
# Run as: cmake -DLIBRARY=vistel.dll -DOBJDUMP=...objdump -DLISTS=dir -P CheckXPImports.cmake
cmake_policy(VERSION 3.25)
execute_process(COMMAND ${OBJDUMP} -p ${LIBRARY} OUTPUT_VARIABLE headers RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "objdump -p failed on ${LIBRARY}")
endif()

file(STRINGS ${LISTS}/newer.txt newer REGEX "^[a-z0-9]+ ")

# objdump lists each imported library as "DLL Name: X", a header line, then
# one "address hint name" line per function up to an empty line.
string(REPLACE ";" "\\;" headers "${headers}")
string(REPLACE "\n" ";" lines "${headers}")
set(library "")
set(failures "")
set(count 0)
foreach(line IN LISTS lines)
  if(line MATCHES "DLL Name: ([^ \t]+)")
    string(TOLOWER "${CMAKE_MATCH_1}" library)
    string(REGEX REPLACE "\\.dll$" "" library "${library}")
    if(EXISTS ${LISTS}/${library}.txt)
      file(STRINGS ${LISTS}/${library}.txt known_${library})
    else()
      string(APPEND failures "imports from ${library}.dll, which has no list of XP SP3 functions\n")
      set(known_${library} "")
    endif()
  elseif(library AND line MATCHES "^\t[0-9a-f]+\t +([0-9]+)  ([^ \t]+)")
    set(name ${CMAKE_MATCH_2})
    math(EXPR count "${count} + 1")
    if(NOT name IN_LIST known_${library})
      if("${library} ${name}" IN_LIST newer)
        string(APPEND failures "imports ${library}!${name}, which Windows XP SP3 does not have\n")
      else()
        string(APPEND failures "imports ${library}!${name}, which is not in the list of XP SP3 functions\n")
      endif()
    endif()
  elseif(line STREQUAL "")
    set(library "")
  endif()
endforeach()

if(count EQUAL 0)
  message(FATAL_ERROR "${LIBRARY}: no imports found in objdump's output")
endif()
if(failures)
  message(FATAL_ERROR "${LIBRARY}:\n${failures}")
endif()
message(STATUS "${LIBRARY}: ${count} imports, all of them in Windows XP SP3")
