# The Linux program: the system's code on our platform layer. The Linux build
# also builds both Windows programs, so that one test run covers all three.
add_subdirectory(platform)
target_link_libraries(solvane_system PUBLIC win32_platform)

# The resources, compiled as for Windows and embedded in the program.
enable_language(ASM)
set(SOLVANE_RES ${CMAKE_BINARY_DIR}/solvane.res)
solvane_compile_resources(${SOLVANE_RES} res)
configure_file(res/embed.S.in ${CMAKE_BINARY_DIR}/res_embed.S @ONLY)
set_source_files_properties(${CMAKE_BINARY_DIR}/res_embed.S PROPERTIES OBJECT_DEPENDS ${SOLVANE_RES})

add_executable(solvane ${SOLVANE_ENTRY} platform/fltk/main.cpp ${CMAKE_BINARY_DIR}/res_embed.S)
target_link_libraries(solvane PRIVATE solvane_system win32_fltk win32_media)

include(cmake/install.cmake)

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
      BUILD_BYPRODUCTS ${CMAKE_BINARY_DIR}/windows-${arch}/SOLVANE.exe
      INSTALL_COMMAND "")
    set(SOLVANE_EXE_${arch} ${CMAKE_BINARY_DIR}/windows-${arch}/SOLVANE.exe)
  endforeach()

  # The Windows program as users get it: the exe and a short read-me, zipped.
  set(SOLVANE_ZIP ${CMAKE_BINARY_DIR}/SOLVANE-windows.zip)
  set(zipdir ${CMAKE_BINARY_DIR}/zip/SOLVANE)
  add_custom_command(OUTPUT ${SOLVANE_ZIP}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${zipdir}
    COMMAND ${CMAKE_COMMAND} -E copy ${SOLVANE_EXE_i686} ${zipdir}/SOLVANE.exe
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/desktop/windows-readme.txt ${zipdir}/README.txt
    COMMAND ${CMAKE_COMMAND} -E chdir ${CMAKE_BINARY_DIR}/zip ${CMAKE_COMMAND} -E tar cf ${SOLVANE_ZIP} --format=zip SOLVANE
    DEPENDS windows_i686 ${SOLVANE_EXE_i686} ${CMAKE_SOURCE_DIR}/desktop/windows-readme.txt)
  add_custom_target(windows_zip ALL DEPENDS ${SOLVANE_ZIP})
endif()

enable_testing()
include(GoogleTest)
add_subdirectory(tests)
add_subdirectory(bench)
