# The icon comes from its generator; windres compiles the resource script
# into the form each build needs (a COFF object on Windows, a .res file that
# the Linux program embeds), so both read the same template bytes.
if(NOT SOLVANE_WINDRES)
  set(SOLVANE_WINDRES i686-w64-mingw32-windres)
endif()

set(SOLVANE_ICON ${CMAKE_BINARY_DIR}/res/solvane.ico)
add_custom_command(OUTPUT ${SOLVANE_ICON}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/res
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/res/make_icon.py ${SOLVANE_ICON}
  DEPENDS ${CMAKE_SOURCE_DIR}/res/make_icon.py
  COMMENT "Drawing the icon")

# solvane_compile_resources(OUTPUT FORMAT): FORMAT is coff or res.
function(solvane_compile_resources output format)
  add_custom_command(OUTPUT ${output}
    COMMAND ${SOLVANE_WINDRES} -I ${CMAKE_SOURCE_DIR}/res -I ${CMAKE_BINARY_DIR}/res
            -O ${format} ${CMAKE_SOURCE_DIR}/res/solvane.rc -o ${output}
    DEPENDS ${CMAKE_SOURCE_DIR}/res/solvane.rc ${CMAKE_SOURCE_DIR}/res/resource.h ${SOLVANE_ICON}
    COMMENT "Compiling the resources (${format})")
endfunction()
