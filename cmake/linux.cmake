# The Linux program: the system's code on our platform layer.
solvane_compile_resources(${CMAKE_BINARY_DIR}/solvane.res res)
