# Checks one HLSL program's vertex and pixel entry points with glslang's
# HLSL front end in its Direct3D 9 mode.
# Run as: cmake -DVALIDATOR=glslangValidator -DSOURCE=program.hlsl -P CheckHlsl.cmake
foreach(stage "vert;vertexMain" "frag;pixelMain")
  list(GET stage 0 kind)
  list(GET stage 1 entry)
  execute_process(COMMAND ${VALIDATOR} -D --hlsl-dx9-compatible -V -S ${kind} -e ${entry}
      -o ${CMAKE_CURRENT_BINARY_DIR}/hlsl-check.spv ${SOURCE}
    OUTPUT_VARIABLE output ERROR_VARIABLE output RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "${SOURCE} (${entry}):\n${output}")
  endif()
endforeach()
file(REMOVE ${CMAKE_CURRENT_BINARY_DIR}/hlsl-check.spv)
