# Fails when app/rastel.ico is not what rastel-icongen draws today
# (after a change to the drawing: rastel-icongen app/rastel.ico).
execute_process(COMMAND ${GEN} ${OUT} RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "rastel-icongen failed (${rc})")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${OUT} ${ICON} RESULT_VARIABLE differ)
if(NOT differ EQUAL 0)
  message(FATAL_ERROR "${ICON} differs from the drawing; regenerate it with: rastel-icongen ${ICON}")
endif()
