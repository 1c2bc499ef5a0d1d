# Suites a build cannot run are left out by name, never counted as passed:
#  - samples: suites that read the public sample files, when the sample folder is missing (a
#    clone on its own has none);
#  - 32-bit: suites about the 32-bit process itself (its 2 GB address space, its stack frames),
#    in the x86-64 test build made where the machine runs no 32-bit code.
# Each list is <build>/left-out-<kind>.txt, one suite a line, which scripts/test prints.

# velmora_left_out_suite(<kind> <suite>): notes a suite not registered in this build.
function(velmora_left_out_suite kind suite)
  set_property(GLOBAL APPEND PROPERTY VELMORA_LEFT_OUT_${kind} "${suite}")
endfunction()

# True when this build is the x86-64 test build, where 32-bit-only suites are left out.
if(WIN32 AND CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(VELMORA_X64_TEST_BUILD ON)
else()
  set(VELMORA_X64_TEST_BUILD OFF)
endif()

# Writes both lists (an empty file when nothing was left out). file(CONFIGURE) writes only when
# the text changes, so a configure with nothing changed rebuilds nothing.
function(velmora_write_left_out_suites)
  foreach(kind samples 32-bit)
    get_property(suites GLOBAL PROPERTY VELMORA_LEFT_OUT_${kind})
    set(text "")
    foreach(suite ${suites})
      string(APPEND text "${suite}\n")
    endforeach()
    file(CONFIGURE OUTPUT "${CMAKE_BINARY_DIR}/left-out-${kind}.txt" CONTENT "${text}" @ONLY)
  endforeach()
endfunction()
