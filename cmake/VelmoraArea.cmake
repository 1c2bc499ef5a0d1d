# velmora_area(<name> [DEPENDS <targets>...])
# Builds one subsystem folder: every *.cpp beside the CMakeLists.txt becomes the portable library
# velmora_<name>; on the Windows build every *.cpp in win32/ and its sub-folders (a room of the
# area's own, such as base/win32/crash/) becomes velmora_<name>_win32.
# DEPENDS and WIN32_DEPENDS name every library whose code the area calls: nothing relies on the
# order in which a final binary happens to list libraries.
# Files ending in _posix.cpp are the native side of a platform seam and are left out on Windows.
function(velmora_area name)
  cmake_parse_arguments(AREA "" "" "DEPENDS;WIN32_DEPENDS" ${ARGN})
  file(GLOB portable CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(WIN32)
    list(FILTER portable EXCLUDE REGEX "_posix\\.cpp$")
  endif()
  if(portable)
    add_library(velmora_${name} STATIC ${portable})
    target_link_libraries(velmora_${name} PUBLIC ${AREA_DEPENDS})
  else()
    add_library(velmora_${name} INTERFACE)
    target_link_libraries(velmora_${name} INTERFACE ${AREA_DEPENDS})
  endif()
  if(WIN32)
    # Velmora.dll's code: crash reports name frames by module+offset. Frame pointers let the
    # system's stack walker follow every frame; the debug information (stripped from the shipped
    # DLL) lets scripts/symbolize turn offsets into functions and lines.
    if(portable)
      target_compile_options(velmora_${name} PRIVATE -g -fno-omit-frame-pointer)
    endif()
    file(GLOB_RECURSE win CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/win32/*.cpp)
    if(win)
      add_library(velmora_${name}_win32 STATIC ${win})
      target_link_libraries(velmora_${name}_win32 PUBLIC velmora_${name} ${AREA_WIN32_DEPENDS})
      target_compile_options(velmora_${name}_win32 PRIVATE -g -fno-omit-frame-pointer)
      # Proof that the dependencies declared above are enough: the library, taken whole, links
      # into a DLL of its own (a DLL may leave no reference unresolved). Throws are noted through
      # a wrapper of __cxa_throw, which needs the linker's --wrap.
      file(CONFIGURE OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/linkcheck.cpp
           CONTENT "// The library is linked whole; this file only gives the DLL a source.\n")
      add_library(velmora_${name}_linkcheck SHARED ${CMAKE_CURRENT_BINARY_DIR}/linkcheck.cpp)
      target_link_libraries(velmora_${name}_linkcheck PRIVATE
        "$<LINK_LIBRARY:WHOLE_ARCHIVE,velmora_${name}_win32>")
      target_link_options(velmora_${name}_linkcheck PRIVATE -Wl,--wrap=__cxa_throw -Wl,--exclude-all-symbols)
      set_target_properties(velmora_${name}_linkcheck PROPERTIES LINKER_LANGUAGE CXX)
    else()
      add_library(velmora_${name}_win32 INTERFACE)
      target_link_libraries(velmora_${name}_win32 INTERFACE velmora_${name} ${AREA_WIN32_DEPENDS})
    endif()
  endif()
endfunction()

# velmora_unit_tests(<name> LIBS <targets>...): one GoogleTest executable from every *_test.cpp
# in the calling folder, registered test by test with ctest. Files named *_samples_test.cpp read
# the public sample files: they make <name>_sample_tests, built only when the samples are there.
function(velmora_unit_tests name)
  cmake_parse_arguments(UT "" "" "LIBS" ${ARGN})
  file(GLOB tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_test.cpp)
  file(GLOB sample_tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_samples_test.cpp)
  if(sample_tests)
    list(REMOVE_ITEM tests ${sample_tests})
    if(VELMORA_HAVE_SAMPLES)
      velmora_gtest_executable(${name}_sample_tests "${sample_tests}" "${UT_LIBS}")
    else()
      velmora_left_out_suite(samples ${name}_sample_tests)
    endif()
  endif()
  if(tests)
    velmora_gtest_executable(${name}_unit_tests "${tests}" "${UT_LIBS}")
  endif()
endfunction()

function(velmora_gtest_executable target sources libs)
  add_executable(${target} ${sources})
  target_link_libraries(${target} PRIVATE ${libs} GTest::gtest_main GTest::gmock)
  target_compile_definitions(${target} PRIVATE
    VELMORA_TESTDATA="${VELMORA_TESTDATA}" VELMORA_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  # A test that skips itself (a missing outside tool) shows as skipped, never as passed.
  gtest_discover_tests(${target} DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "VELMORA_TESTDATA=${VELMORA_TESTDATA}"
               SKIP_REGULAR_EXPRESSION "\\[  SKIPPED \\]")
endfunction()
