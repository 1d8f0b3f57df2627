# Embeds the shader programs of this folder into vistel_runtime at build time.
set(VISTEL_SHADER_FILES
  FlashlightSolidShader.hlsl FlashlightLightmapShader.hlsl FlashlightAlphaShader.hlsl LightmapShader.hlsl
  FlashlightSolidShader.vert FlashlightSolidShader.frag
  FlashlightLightmapShader.vert FlashlightLightmapShader.frag
  FlashlightAlphaShader.vert FlashlightAlphaShader.frag
  LightmapShader.vert LightmapShader.frag)
list(TRANSFORM VISTEL_SHADER_FILES PREPEND ${CMAKE_CURRENT_LIST_DIR}/)
set(VISTEL_SHADER_TEXTS_SOURCE ${CMAKE_CURRENT_BINARY_DIR}/ShaderTexts.cpp)
add_custom_command(
  OUTPUT ${VISTEL_SHADER_TEXTS_SOURCE}
  COMMAND ${CMAKE_COMMAND} "-DOUTPUT=${VISTEL_SHADER_TEXTS_SOURCE}" "-DINPUTS=${VISTEL_SHADER_FILES}"
    -P ${CMAKE_CURRENT_LIST_DIR}/EmbedShaderTexts.cmake
  DEPENDS ${VISTEL_SHADER_FILES} ${CMAKE_CURRENT_LIST_DIR}/EmbedShaderTexts.cmake
  COMMENT "Embedding the shader programs"
  VERBATIM)
target_sources(vistel_runtime PRIVATE ${VISTEL_SHADER_TEXTS_SOURCE} ${CMAKE_CURRENT_LIST_DIR}/ShaderTexts.h)
target_include_directories(vistel_runtime PRIVATE ${CMAKE_CURRENT_LIST_DIR})
