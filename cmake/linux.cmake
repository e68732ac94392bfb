# The Linux program: the system's code on our platform layer. The Linux build
# also builds both Windows programs, so that one test run covers all three.
solvane_compile_resources(${CMAKE_BINARY_DIR}/solvane.res res)
add_custom_target(solvane_res ALL DEPENDS ${CMAKE_BINARY_DIR}/solvane.res)

option(SOLVANE_WINDOWS "Build the Windows programs too" ON)
if(SOLVANE_WINDOWS)
  include(ExternalProject)
  foreach(arch i686 x86_64)
    ExternalProject_Add(windows_${arch}
      SOURCE_DIR ${CMAKE_SOURCE_DIR}
      BINARY_DIR ${CMAKE_BINARY_DIR}/windows-${arch}
      CMAKE_GENERATOR Ninja
      CMAKE_ARGS -DCMAKE_TOOLCHAIN_FILE=${CMAKE_SOURCE_DIR}/cmake/${arch}-w64-mingw32.cmake
                 -DCMAKE_BUILD_TYPE=MinSizeRel
      BUILD_ALWAYS ON
      INSTALL_COMMAND "")
    set(SOLVANE_EXE_${arch} ${CMAKE_BINARY_DIR}/windows-${arch}/SOLVANE.exe)
  endforeach()
endif()

enable_testing()
add_subdirectory(tests)
