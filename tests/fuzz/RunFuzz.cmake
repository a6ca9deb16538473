# Builds the fuzz targets with clang in a build tree of their own and runs each briefly,
# printing the number of inputs executed. Used by the test suite:
#   cmake -DSOURCE_DIR=... -DBINARY_DIR=... -DCLANGXX=... -DSECONDS=... -P RunFuzz.cmake
find_program(NINJA ninja)
if(NINJA)
  set(generator -G Ninja)
endif()
execute_process(
  COMMAND ${CMAKE_COMMAND} -S ${SOURCE_DIR} -B ${BINARY_DIR} ${generator}
          -DCMAKE_CXX_COMPILER=${CLANGXX} -DBRISKO_FUZZ_SECONDS=${SECONDS}
  RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "configuring the fuzz targets failed:\n${out}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} --build ${BINARY_DIR} -j 2
  RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "building the fuzz targets failed:\n${out}")
endif()
foreach(target fuzz_hkv_reader fuzz_language_reader fuzz_settings_reader)
  execute_process(COMMAND ${CMAKE_CTEST_COMMAND} --test-dir ${BINARY_DIR} -R "^${target}$" -V
    RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
  string(REGEX MATCH "stat::number_of_executed_units: *([0-9]+)" units "${out}")
  set(units "${CMAKE_MATCH_1}")
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "${target} found a failure:\n${out}")
  endif()
  message(STATUS "${target}: ${units} inputs executed in ${SECONDS} s without a failure")
endforeach()
