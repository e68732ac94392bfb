# The Windows program, against the real Win32, COM and DirectShow libraries.
target_compile_definitions(solvane_system PUBLIC __USE_MINGW_ANSI_STDIO=1)
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "i686")
  # Doubles in SSE registers round like doubles; the rate arithmetic's
  # extended products stay on the x87.
  target_compile_options(solvane_system PUBLIC -msse2 -mfpmath=sse)
endif()

solvane_compile_resources(${CMAKE_BINARY_DIR}/solvane_res.o coff)
add_executable(SOLVANE WIN32 ${SOLVANE_ENTRY} ${CMAKE_BINARY_DIR}/solvane_res.o)
target_link_libraries(SOLVANE PRIVATE solvane_system ole32 oleaut32 comdlg32 user32 uuid)
target_link_options(SOLVANE PRIVATE -static -static-libgcc -static-libstdc++ -mwindows -s)

# Test tools that run under Wine beside the program.
add_executable(panel_probe tests/windows/panel_probe.cpp)
target_include_directories(panel_probe PRIVATE ${CMAKE_SOURCE_DIR})
target_link_options(panel_probe PRIVATE -static -static-libgcc -static-libstdc++)

add_executable(number_table_test tests/unit/number_table_test.cpp)
target_link_libraries(number_table_test PRIVATE solvane_system ole32 oleaut32 comdlg32 user32 uuid)
target_link_options(number_table_test PRIVATE -static -static-libgcc -static-libstdc++)

add_executable(tracks_probe tests/windows/tracks_probe.cpp)
target_link_libraries(tracks_probe PRIVATE solvane_system ole32 oleaut32 comdlg32 user32 uuid)
target_link_options(tracks_probe PRIVATE -static -static-libgcc -static-libstdc++)
