# Helpers that keep the per-folder CMakeLists.txt files short.

# Under the sanitizers: fontconfig keeps its cache to the end of the process, which
# LeakSanitizer would report as a leak; undefined behaviour is told with its stack.
set(KELVARA_SANITIZER_ENV "")
if(KELVARA_SANITIZE MATCHES "address|leak")
  list(APPEND KELVARA_SANITIZER_ENV "LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/cmake/lsan.supp")
endif()
if(KELVARA_SANITIZE MATCHES "undefined")
  list(APPEND KELVARA_SANITIZER_ENV "UBSAN_OPTIONS=print_stacktrace=1")
endif()

# kelvara_add_gtest(<name> SOURCES <files...> LIBS <targets...> [ENV <vars...>] [SCAN_FILE])
# A GoogleTest executable whose cases are registered with CTest one by one.
# Tests run in their own folder so scratch files never collide with the sources.
# SCAN_FILE: the cases run the engine's day scans, which write "tmp.tmp" into that shared
# folder; CTest then runs no two of them at once.
function(kelvara_add_gtest name)
  cmake_parse_arguments(ARG "SCAN_FILE" "" "SOURCES;LIBS;ENV" ${ARGN})
  set(lock "")
  if(ARG_SCAN_FILE)
    set(lock RESOURCE_LOCK kelvara_scan_file)
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  target_compile_definitions(${name} PRIVATE
    KELVARA_TEST_DATA_DIR="${CMAKE_CURRENT_SOURCE_DIR}/data"
    KELVARA_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    KELVARA_BIN_DIR="${KELVARA_BIN_DIR}")
  gtest_discover_tests(${name}
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/tests
    DISCOVERY_MODE PRE_TEST
    PROPERTIES ${lock})
  # The discovery script spreads a list-valued property over its arguments, so only the first
  # variable of an ENVIRONMENT passed above would arrive; the list is set on the discovered
  # cases afterwards instead, by a script CTest reads after the discovery's own.
  set(environment QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8 TZ=UTC ${KELVARA_SANITIZER_ENV} ${ARG_ENV})
  set(script ${CMAKE_CURRENT_BINARY_DIR}/${name}_environment.cmake)
  file(WRITE ${script} "if(${name}_TESTS)\n  set_tests_properties(\${${name}_TESTS} PROPERTIES ENVIRONMENT \"${environment}\")\nendif()\n")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${script})
endfunction()

# kelvara_add_bench(<name> SOURCES <files...> LIBS <targets...>)
# A Google Benchmark program; built with everything, run by hand or by `make bench`.
function(kelvara_add_bench name)
  if(NOT KELVARA_WITH_BENCH)
    return()
  endif()
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} benchmark::benchmark benchmark::benchmark_main)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
endfunction()
