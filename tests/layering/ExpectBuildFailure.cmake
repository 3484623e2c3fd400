# Builds TARGET in BUILD_DIR and succeeds only when that fails for a missing Qt Gui or Widgets header.
execute_process(COMMAND ${CMAKE_COMMAND} --build ${BUILD_DIR} --target ${TARGET}
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(result EQUAL 0)
  message(FATAL_ERROR "${TARGET} compiled: a widget-free library sees the window layer")
endif()
# gcc says "QWidget: No such file", clang "'QWidget' file not found".
if(NOT output MATCHES "fatal error: '?Q[A-Za-z]+'?(: No such file| file not found)")
  message(FATAL_ERROR "${TARGET} failed for another reason than a widget header:\n${output}")
endif()
