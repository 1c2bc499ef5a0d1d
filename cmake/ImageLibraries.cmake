# The picture encoders' libraries as three targets, velmora::jpeg (libjpeg-turbo),
# velmora::deflate (libdeflate) and velmora::zlib (zlib, for photographs in PNG).
# Native builds link the system's packages. The Windows build links static libraries that
# scripts/third-party builds once from Debian's source packages into build/third-party (Debian
# ships no mingw builds of them); a later configuration finds them there and builds nothing, and
# Velmora.dll keeps importing Windows system DLLs only.
if(WIN32)
  get_filename_component(mingw_triple "${CMAKE_C_COMPILER}" NAME)
  string(REGEX REPLACE "-gcc$" "" mingw_triple "${mingw_triple}")
  set(VELMORA_THIRD_PARTY "${PROJECT_SOURCE_DIR}/build/third-party/${mingw_triple}" CACHE PATH
      "Static mingw builds of libjpeg-turbo and libdeflate")
  if(NOT EXISTS "${VELMORA_THIRD_PARTY}/lib/libjpeg.a" OR
     NOT EXISTS "${VELMORA_THIRD_PARTY}/lib/libdeflate.a")
    message(STATUS "Building libjpeg-turbo and libdeflate into ${VELMORA_THIRD_PARTY}")
    execute_process(
      COMMAND bash "${PROJECT_SOURCE_DIR}/scripts/third-party" "${VELMORA_THIRD_PARTY}"
              "${CMAKE_TOOLCHAIN_FILE}"
      RESULT_VARIABLE built)
    if(NOT built EQUAL 0)
      message(FATAL_ERROR "scripts/third-party failed")
    endif()
  endif()
  foreach(library jpeg deflate)
    add_library(velmora::${library} STATIC IMPORTED GLOBAL)
    set_target_properties(velmora::${library} PROPERTIES
      IMPORTED_LOCATION "${VELMORA_THIRD_PARTY}/lib/lib${library}.a"
      INTERFACE_INCLUDE_DIRECTORIES "${VELMORA_THIRD_PARTY}/include")
  endforeach()
  # Debian builds zlib for mingw (libz-mingw-w64-dev): its static archive, not the DLL.
  find_library(VELMORA_ZLIB_STATIC NAMES libz.a REQUIRED)
  add_library(velmora::zlib STATIC IMPORTED GLOBAL)
  set_target_properties(velmora::zlib PROPERTIES IMPORTED_LOCATION "${VELMORA_ZLIB_STATIC}")
else()
  find_package(JPEG REQUIRED)
  add_library(velmora::jpeg ALIAS JPEG::JPEG)
  find_package(ZLIB REQUIRED)
  add_library(velmora::zlib ALIAS ZLIB::ZLIB)
  find_path(VELMORA_DEFLATE_INCLUDE libdeflate.h REQUIRED)
  find_library(VELMORA_DEFLATE_LIBRARY deflate REQUIRED)
  add_library(velmora::deflate UNKNOWN IMPORTED GLOBAL)
  set_target_properties(velmora::deflate PROPERTIES
    IMPORTED_LOCATION "${VELMORA_DEFLATE_LIBRARY}"
    INTERFACE_INCLUDE_DIRECTORIES "${VELMORA_DEFLATE_INCLUDE}")
endif()
