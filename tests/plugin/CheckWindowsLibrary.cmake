# Static checks of the Windows plug-in library, read from the file with the
# mingw objdump: the machine type, the export table exactly, the imports
# (system libraries only) and, for 32 bits, the stdcall return of
# PluginSetCallback. The 32-bit library cannot be run on the build machines;
# these checks are what stands for running it.
# Run as: cmake -DLIBRARY=vistel.dll -DOBJDUMP=...objdump -DBITS=4|8 -P CheckWindowsLibrary.cmake
cmake_policy(VERSION 3.25)
execute_process(COMMAND ${OBJDUMP} -p ${LIBRARY} OUTPUT_VARIABLE headers RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "objdump -p failed on ${LIBRARY}")
endif()
set(failures "")

# Machine type.
if(BITS EQUAL 4)
  set(machine "file format pei-i386")
else()
  set(machine "file format pei-x86-64")
endif()
string(FIND "${headers}" "${machine}" found)
if(found EQUAL -1)
  string(APPEND failures "not a ${machine} file\n")
endif()

# The export table: "[Ordinal/Name Pointer] Table" lists every name with
# its ordinal; the Export Address Table lists every exported address.
string(REGEX MATCH "Ordinal Base ([0-9]+)" base_line "${headers}")
set(base ${CMAKE_MATCH_1})
string(REGEX MATCH "\\[Ordinal/Name Pointer\\] Table[^\n]*\n(([ \t]+\\[ *[0-9]+\\][^\n]*\n)*)" table "${headers}")
set(table "${CMAKE_MATCH_1}")
string(REGEX MATCHALL "\\[ *[0-9]+\\] [^\n]+" entries "${table}")
set(exported "")
# Each line gives the name's index in the address table: ordinal - base.
foreach(entry ${entries})
  string(REGEX REPLACE "^\\[ *([0-9]+)\\] ([^ \n]+).*$" "\\1;\\2" pair "${entry}")
  list(GET pair 0 index)
  list(GET pair 1 name)
  math(EXPR ordinal "${index} + ${base}")
  list(APPEND exported "${ordinal} ${name}")
endforeach()
list(SORT exported COMPARE NATURAL)

set(plain PluginExecute PluginTarvoVersion PluginDescription PluginEmail PluginAuthor PluginName
  PluginSetCallback PluginVersion)
set(expected "")
set(ordinal 9)
foreach(name ${plain})
  list(APPEND expected "${ordinal} ${name}")
  math(EXPR ordinal "${ordinal} + 1")
endforeach()
if(BITS EQUAL 4)
  list(APPEND expected "17 _PluginAuthor@0" "18 _PluginTarvoVersion@0" "19 _PluginDescription@0"
    "20 _PluginEmail@0" "21 _PluginExecute@0" "22 _PluginName@0" "23 _PluginSetCallback@4"
    "24 _PluginVersion@0")
endif()
list(SORT expected COMPARE NATURAL)
if(NOT base STREQUAL "9")
  string(APPEND failures "ordinal base is '${base}', not 9\n")
endif()
if(NOT exported STREQUAL expected)
  string(REPLACE ";" "\n  " shown "${exported}")
  string(REPLACE ";" "\n  " wanted "${expected}")
  string(APPEND failures "exports:\n  ${shown}\nexpected:\n  ${wanted}\n")
endif()

# Each decorated name is at its plain name's address: the objdump lines of
# the Export Address Table give "[ordinal] +base[index] address Export RVA".
string(REGEX MATCHALL "\\[ *[0-9]+\\] \\+base\\[ *[0-9]+\\] [0-9a-f]+ Export RVA" addresses "${headers}")
set(address_of "")
foreach(line ${addresses})
  string(REGEX REPLACE "^\\[ *[0-9]+\\] \\+base\\[ *([0-9]+)\\] ([0-9a-f]+) .*$" "\\1;\\2" pair "${line}")
  list(GET pair 0 ordinal)
  list(GET pair 1 address)
  set(address_${ordinal} ${address})
endforeach()
list(LENGTH addresses address_count)
if(BITS EQUAL 4)
  set(twins "9 21" "10 18" "11 19" "12 20" "13 17" "14 22" "15 23" "16 24")
  foreach(twin ${twins})
    string(REPLACE " " ";" twin "${twin}")
    list(GET twin 0 first)
    list(GET twin 1 second)
    if(NOT DEFINED address_${first} OR NOT "${address_${first}}" STREQUAL "${address_${second}}")
      string(APPEND failures "ordinals ${first} and ${second} point at different code\n")
    endif()
  endforeach()
  if(NOT address_count EQUAL 16)
    string(APPEND failures "${address_count} addresses in the export address table, not 16\n")
  endif()
elseif(NOT address_count EQUAL 8)
  string(APPEND failures "${address_count} addresses in the export address table, not 8\n")
endif()

# Imports: only libraries every Windows has.
string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${headers}")
set(system_libraries kernel32.dll user32.dll gdi32.dll comctl32.dll comdlg32.dll msvcrt.dll
  advapi32.dll winmm.dll shell32.dll ole32.dll imm32.dll)
foreach(import ${imports})
  string(REGEX REPLACE "^DLL Name: " "" name "${import}")
  string(STRIP "${name}" name)
  string(TOLOWER "${name}" lower)
  if(NOT lower IN_LIST system_libraries AND NOT lower MATCHES "^api-ms-win-")
    string(APPEND failures "imports ${name}, which is not a system library\n")
  endif()
endforeach()

# stdcall: PluginSetCallback removes its one argument with "ret $0x4". The
# shipped library has no symbols: its code is found at its export address
# (ordinal 15), and its first return is the one that counts.
if(BITS EQUAL 4)
  string(REGEX MATCH "ImageBase[ \t]+([0-9a-fA-F]+)" image_base_line "${headers}")
  set(image_base ${CMAKE_MATCH_1})
  math(EXPR start "0x${image_base} + 0x${address_15}" OUTPUT_FORMAT HEXADECIMAL)
  math(EXPR stop "${start} + 0x80" OUTPUT_FORMAT HEXADECIMAL)
  execute_process(COMMAND ${OBJDUMP} -d --no-show-raw-insn --start-address=${start}
    --stop-address=${stop} ${LIBRARY} OUTPUT_VARIABLE code)
  string(REGEX MATCH "\n[^\n]*ret[^\n]*\n" first_return "${code}")
  if(NOT first_return MATCHES "ret +\\$0x4\n")
    string(APPEND failures "PluginSetCallback does not return with ret $0x4:\n${code}\n")
  endif()
endif()

# Shipped stripped: the debug information is in the separate file.
execute_process(COMMAND ${OBJDUMP} -h ${LIBRARY} OUTPUT_VARIABLE sections)
if(sections MATCHES "\\.debug_")
  string(APPEND failures "the library carries debug information\n")
endif()
if(NOT EXISTS "${LIBRARY}.debug")
  string(APPEND failures "no debug file ${LIBRARY}.debug beside the library\n")
endif()
if(NOT sections MATCHES "\\.gnu_debuglink")
  string(APPEND failures "the library does not name its debug file\n")
endif()

if(failures)
  message(FATAL_ERROR "${LIBRARY}:\n${failures}")
endif()
message(STATUS "${LIBRARY}: machine, ${address_count} exports, imports and calling convention as expected")
