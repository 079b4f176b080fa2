# Regenerates the compiled tables into a scratch folder and compares them with the
# committed ones, so a hand edit or a generator change without a regeneration fails.
#   cmake -DSERIESGEN=<tool> -DSERIES=<series folder> -DCOMMITTED=<generated folder>
#         -DSCRATCH=<scratch folder> -P check_tables.cmake
file(REMOVE_RECURSE ${SCRATCH})
execute_process(COMMAND ${SERIESGEN} ${SERIES} ${SCRATCH} OUTPUT_QUIET RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "seriesgen failed: ${status}")
endif()
file(GLOB committed RELATIVE ${COMMITTED} ${COMMITTED}/*.cpp)
file(GLOB regenerated RELATIVE ${SCRATCH} ${SCRATCH}/*.cpp)
if(NOT committed STREQUAL regenerated)
  message(FATAL_ERROR "files differ: committed ${committed}, regenerated ${regenerated}")
endif()
foreach(name ${committed})
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${COMMITTED}/${name} ${SCRATCH}/${name}
                  RESULT_VARIABLE differs)
  if(differs)
    message(FATAL_ERROR "${name} is not what seriesgen writes; regenerate it")
  endif()
endforeach()
