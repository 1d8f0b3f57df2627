# Warnings, sanitizers and the helpers that register tests and folders.
add_compile_options(-Wall -Wextra)
if(VISTEL_WERROR)
  add_compile_options(-Werror)
endif()
if(VISTEL_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
endif()

# Test programs and tools carry the same warnings; this helper registers a
# GoogleTest program with ctest.
function(vistel_add_gtest name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main)
  if(WIN32)
    # Under Wine every start of a program costs a second or so: one test
    # per program, run through CMAKE_CROSSCOMPILING_EMULATOR.
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES LABELS "${ARG_LABELS}" TIMEOUT 600)
    return()
  endif()
  # Tests labelled "display" draw with the real GL driver (no Qt): in the
  # sanitizer build they run with the driver kept loaded (VISTEL_TEST_PRELOAD,
  # set in tests/), so its allocations are named in the leak check. One
  # variable only: gtest_discover_tests cannot pass a list here.
  set(environment "QT_QPA_PLATFORM=offscreen")
  if("display" IN_LIST ARG_LABELS AND VISTEL_TEST_PRELOAD)
    set(environment "LD_PRELOAD=${VISTEL_TEST_PRELOAD}")
  endif()
  include(GoogleTest)
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST
    PROPERTIES LABELS "${ARG_LABELS}" ENVIRONMENT "${environment}")
endfunction()

# Adds every folder below the current one that has a CMakeLists.txt, so a
# new group of tests or a new tool needs no edit of its parent.
function(vistel_add_folders_with_lists)
  file(GLOB directories LIST_DIRECTORIES true CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*)
  foreach(directory ${directories})
    if(IS_DIRECTORY ${directory} AND EXISTS ${directory}/CMakeLists.txt)
      add_subdirectory(${directory})
    endif()
  endforeach()
endfunction()
