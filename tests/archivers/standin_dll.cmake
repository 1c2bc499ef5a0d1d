# velmora_standin_dll(<target> <file name> <sources>...): one stand-in archiver DLL, written
# under the real archiver's file name into ${CMAKE_BINARY_DIR}/archivers, where tests pick the
# set they want and copy it beside the program under test. The target standin_archivers builds
# them all.
function(velmora_standin_dll target file_name)
  add_library(${target} SHARED ${ARGN})
  target_link_libraries(${target} PRIVATE velmora_archiver_standins)
  # stdcall entries keep their plain names ("Zip", not "Zip@16").
  target_link_options(${target} PRIVATE -Wl,--kill-at)
  get_filename_component(stem ${file_name} NAME_WE)
  get_filename_component(suffix ${file_name} EXT)
  set_target_properties(${target} PROPERTIES
    PREFIX ""
    OUTPUT_NAME ${stem}
    SUFFIX ${suffix}
    RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/archivers
    ARCHIVE_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
  if(NOT TARGET standin_archivers)
    add_custom_target(standin_archivers)
  endif()
  add_dependencies(standin_archivers ${target})
endfunction()
