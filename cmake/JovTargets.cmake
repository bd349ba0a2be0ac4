# Helpers shared by the folders' CMakeLists.

# A static library that is linked into both plug-in libraries: hidden
# visibility so the second library loaded never binds to the first one's
# copies (class registry, allocators).
function(jov_static_library name)
  file(GLOB _src CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  add_library(${name} STATIC ${_src})
  set_target_properties(${name} PROPERTIES
    CXX_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON)
endfunction()

# The defaults a program run by hand needs (module folder, leak
# suppressions, sanitizer options), built into every test program, fuzz
# target and the sanitized runner from the one suppressions list.
file(STRINGS ${CMAKE_SOURCE_DIR}/scripts/lsan-suppressions.txt _lsan_lines REGEX "^leak:")
list(JOIN _lsan_lines "\\n" JOV_LSAN_SUPPRESSIONS)
configure_file(${CMAKE_SOURCE_DIR}/tests/support/ProgramDefaults.cpp.in
               ${CMAKE_BINARY_DIR}/generated/ProgramDefaults.cpp @ONLY)
function(jov_program_defaults name)
  if(JOV_SANITIZE OR JOV_FUZZ OR JOV_BUILD_TESTS)
    target_sources(${name} PRIVATE ${CMAKE_BINARY_DIR}/generated/ProgramDefaults.cpp)
  endif()
endfunction()

# One GoogleTest program per folder, from the folder's tests/*.cpp.
function(jov_add_tests name)
  if(NOT JOV_BUILD_TESTS)
    return()
  endif()
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  file(GLOB _src CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/tests/*.cpp)
  if(NOT _src)
    return()
  endif()
  add_executable(${name} ${_src})
  jov_program_defaults(${name})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main GTest::gmock)
  target_compile_definitions(${name} PRIVATE JOV_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "JOV_MODULE_DIR=${JOV_MODULE_DIR}")
endfunction()
