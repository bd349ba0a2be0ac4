# Compiled resource files: a resource script compiled at build time by the
# jov_rc tool (platform/resources) into the module folder, under the name
# the system loads it by.
#
#   jov_resource_file(TARGET name SCRIPT x.rc OUTPUT "Jov_Vantrix.qmr"
#                     [DIRECTORY folder] [INCLUDE_DIRS folders...]
#                     [DEPENDS files made by the build...])
#
# The script finds headers and files beside itself, in INCLUDE_DIRS and
# from the repository root; changes to any of them rebuild the file.
function(jov_resource_file)
  cmake_parse_arguments(ARG "" "TARGET;SCRIPT;OUTPUT;DIRECTORY" "INCLUDE_DIRS;DEPENDS" ${ARGN})
  if(NOT ARG_TARGET OR NOT ARG_SCRIPT OR NOT ARG_OUTPUT)
    message(FATAL_ERROR "jov_resource_file needs TARGET, SCRIPT and OUTPUT")
  endif()
  if(NOT ARG_DIRECTORY)
    set(ARG_DIRECTORY ${JOV_MODULE_DIR})
  endif()
  get_filename_component(_script ${ARG_SCRIPT} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
  set(_out ${ARG_DIRECTORY}/${ARG_OUTPUT})
  set(_dep ${CMAKE_CURRENT_BINARY_DIR}/${ARG_TARGET}.d)
  set(_includes)
  foreach(_dir IN LISTS ARG_INCLUDE_DIRS)
    get_filename_component(_dir ${_dir} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
    list(APPEND _includes -I ${_dir})
  endforeach()
  list(APPEND _includes -I ${CMAKE_SOURCE_DIR})
  add_custom_command(OUTPUT ${_out}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${ARG_DIRECTORY}
    COMMAND jov_rc ${_includes} --depfile ${_dep} -o ${_out} ${_script}
    DEPENDS jov_rc ${_script} ${ARG_DEPENDS}
    DEPFILE ${_dep}
    COMMENT "Compiling resources ${ARG_OUTPUT}"
    VERBATIM)
  add_custom_target(${ARG_TARGET} ALL DEPENDS ${_out})
endfunction()
