if(WIN32)
  include(${CMAKE_CURRENT_LIST_DIR}/WindowsDependencies.cmake)
  return()
endif()

# Irrlicht 1.8 (Debian's libirrlicht-dev) ships neither a CMake config nor a
# pkg-config file.
find_path(IRRLICHT_INCLUDE_DIR irrlicht.h PATH_SUFFIXES irrlicht REQUIRED)
find_library(IRRLICHT_LIBRARY Irrlicht REQUIRED)
if(NOT TARGET Irrlicht::Irrlicht)
  add_library(Irrlicht::Irrlicht UNKNOWN IMPORTED)
  set_target_properties(Irrlicht::Irrlicht PROPERTIES
    IMPORTED_LOCATION "${IRRLICHT_LIBRARY}"
    INTERFACE_SYSTEM_INCLUDE_DIRECTORIES "${IRRLICHT_INCLUDE_DIR}"
    INTERFACE_INCLUDE_DIRECTORIES "${IRRLICHT_INCLUDE_DIR}")
endif()

find_package(Qt6 REQUIRED COMPONENTS Widgets)
find_package(X11 REQUIRED)
find_package(OpenGL REQUIRED)
find_package(Threads REQUIRED)
if(VISTEL_BUILD_TESTS)
  find_package(GTest REQUIRED)
endif()
