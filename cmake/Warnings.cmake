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
  # Tests labelled "display" draw with the real GL driver, which Mesa unloads
  # when its context ends; what it kept then looks like leaks of a module
  # that no longer exists. They keep every other sanitizer check.
  set(environment "QT_QPA_PLATFORM=offscreen")
  if("display" IN_LIST ARG_LABELS AND VISTEL_SANITIZE)
    set(environment "ASAN_OPTIONS=detect_leaks=0:abort_on_error=1")
  endif()
  include(GoogleTest)
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST
    PROPERTIES LABELS "${ARG_LABELS}" ENVIRONMENT "${environment}")
endfunction()
