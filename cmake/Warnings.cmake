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
  include(GoogleTest)
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST
    PROPERTIES LABELS "${ARG_LABELS}" ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()
