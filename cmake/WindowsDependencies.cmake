# Windows build (mingw-w64 cross build from Debian): the engine and its image
# libraries come from the prefix that scripts/windows-third-party.sh fills
# (VISTEL_WINDOWS_PREFIX, see the toolchain files); GoogleTest is built from
# Debian's googletest source. No Qt, no X11.
find_path(IRRLICHT_INCLUDE_DIR irrlicht.h PATH_SUFFIXES irrlicht REQUIRED)
find_library(IRRLICHT_LIBRARY NAMES libIrrlicht.a Irrlicht REQUIRED)
# Static zlib (before libpng looks for it): the import library beside it
# would make the plug-in need zlib1.dll.
find_library(ZLIB_LIBRARY_RELEASE NAMES libz.a REQUIRED)
find_package(ZLIB REQUIRED)
find_package(JPEG REQUIRED)
find_package(PNG REQUIRED)
if(NOT TARGET Irrlicht::Irrlicht)
  add_library(Irrlicht::Irrlicht STATIC IMPORTED)
  set_target_properties(Irrlicht::Irrlicht PROPERTIES
    IMPORTED_LOCATION "${IRRLICHT_LIBRARY}"
    INTERFACE_SYSTEM_INCLUDE_DIRECTORIES "${IRRLICHT_INCLUDE_DIR}"
    INTERFACE_INCLUDE_DIRECTORIES "${IRRLICHT_INCLUDE_DIR}"
    INTERFACE_COMPILE_DEFINITIONS _IRR_STATIC_LIB_
    # The engine loads d3d9.dll and the D3DX library itself, at run time.
    INTERFACE_LINK_LIBRARIES "PNG::PNG;JPEG::JPEG;ZLIB::ZLIB;gdi32;user32;winmm")
endif()

# The C and C++ runtimes and the thread library go into every binary, so that
# the plug-in needs nothing a Windows machine lacks.
add_link_options(-static -static-libgcc -static-libstdc++)

# Test programs of the 64-bit build run under 64-bit Wine (Debian installs
# its loader outside PATH; the "wine" wrapper would try the 32-bit loader
# first, which cannot run here).
if(CMAKE_SIZEOF_VOID_P EQUAL 8 AND NOT CMAKE_CROSSCOMPILING_EMULATOR)
  find_program(VISTEL_WINE64 wine64 PATHS /usr/lib/wine)
  if(VISTEL_WINE64)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${VISTEL_WINE64})
  endif()
endif()

find_package(Threads REQUIRED)
if(VISTEL_BUILD_TESTS)
  set(VISTEL_GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest's source tree")
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(${VISTEL_GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
  foreach(library gtest gtest_main gmock gmock_main)
    if(NOT TARGET GTest::${library})
      add_library(GTest::${library} ALIAS ${library})
    endif()
  endforeach()
endif()
