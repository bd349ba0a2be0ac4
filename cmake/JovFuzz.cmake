# Fuzz targets: one per reader of outside input, each a file
# fuzz/<name>.cpp defining LLVMFuzzerTestOneInput, with its seed corpus in
# fuzz/corpus/<name>/, the inputs of faults found in fuzz/regressions/<name>/
# and the minimised corpus of earlier runs in fuzz/kept/<name>/.
#
#   jov_fuzz_target(<name> LIBS libraries... [SOURCES more.cpp...]
#                   [DEFINITIONS NAME=value...] [DEPENDS targets...])
#
# In the fuzz build (JOV_FUZZ, clang) the program is a libFuzzer fuzzer that
# `make fuzz` runs. In the test build (JOV_BUILD_TESTS) it is linked with the
# replay driver instead, and CTest's fuzz_replay_<name> runs every corpus and
# regression input and the kept corpus through the same entry point.
function(jov_fuzz_target name)
  cmake_parse_arguments(ARG "" "" "LIBS;SOURCES;DEFINITIONS;DEPENDS" ${ARGN})
  set(_exe fuzz_${name})
  add_executable(${_exe} ${CMAKE_CURRENT_SOURCE_DIR}/${name}.cpp ${ARG_SOURCES})
  target_include_directories(${_exe} PRIVATE ${CMAKE_SOURCE_DIR})
  target_link_libraries(${_exe} PRIVATE ${ARG_LIBS} fuzz_support)
  target_compile_definitions(${_exe} PRIVATE JOV_SOURCE_DIR="${CMAKE_SOURCE_DIR}" ${ARG_DEFINITIONS})
  set_target_properties(${_exe} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fuzz)
  jov_program_defaults(${_exe})
  if(ARG_DEPENDS)
    add_dependencies(${_exe} ${ARG_DEPENDS})
  endif()
  if(JOV_FUZZ)
    target_link_options(${_exe} PRIVATE -fsanitize=fuzzer)
    add_dependencies(fuzz_targets ${_exe})
    set_property(GLOBAL APPEND PROPERTY JOV_FUZZ_TARGETS ${name})
  else()
    target_link_libraries(${_exe} PRIVATE fuzz_replay)
    add_test(NAME fuzz_replay_${name}
             COMMAND ${_exe} ${CMAKE_SOURCE_DIR}/fuzz/corpus/${name} ${CMAKE_SOURCE_DIR}/fuzz/regressions/${name}
                     ${CMAKE_SOURCE_DIR}/fuzz/kept/${name})
    # A hang (a runaway input) fails the test instead of holding CI.
    set_tests_properties(fuzz_replay_${name} PROPERTIES TIMEOUT 300 ENVIRONMENT "JOV_MODULE_DIR=${JOV_MODULE_DIR}")
  endif()
endfunction()
