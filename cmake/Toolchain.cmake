# Compiler flags for both builds.
find_program(CCACHE_PROGRAM ccache)
if(CCACHE_PROGRAM)
  set(CMAKE_C_COMPILER_LAUNCHER ${CCACHE_PROGRAM})
  set(CMAKE_CXX_COMPILER_LAUNCHER ${CCACHE_PROGRAM})
endif()

add_compile_options(-Wall -Wextra)

if(SCRIVANE_WINDOWS)
  # A self-contained x86-64 executable: no DLLs beside it.
  add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
  add_link_options(-static -static-libgcc -static-libstdc++)
  set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -O coff")
  enable_language(RC)

  # libjpeg (API 62), built by scripts/build-libjpeg.sh into the cache folder.
  set(JPEG_PREFIX "$ENV{JPEG_PREFIX}" CACHE PATH "Static mingw libjpeg install")
  if(NOT JPEG_PREFIX OR NOT EXISTS "${JPEG_PREFIX}/lib/libjpeg.a")
    message(FATAL_ERROR "libjpeg for mingw not found in '${JPEG_PREFIX}': run 'make deps'")
  endif()
  add_library(jpeg STATIC IMPORTED GLOBAL)
  set_target_properties(jpeg PROPERTIES
    IMPORTED_LOCATION "${JPEG_PREFIX}/lib/libjpeg.a"
    INTERFACE_INCLUDE_DIRECTORIES "${JPEG_PREFIX}/include")
  # libdeflate, built by scripts/build-libdeflate.sh the same way (build folders configured
  # before it existed find it in the default cache folder).
  set(default_deflate "$ENV{DEFLATE_PREFIX}")
  if(NOT default_deflate)
    set(default_deflate "$ENV{HOME}/.cache/scrivane/libdeflate-mingw")
  endif()
  set(DEFLATE_PREFIX "${default_deflate}" CACHE PATH "Static mingw libdeflate install")
  if(NOT DEFLATE_PREFIX OR NOT EXISTS "${DEFLATE_PREFIX}/lib/libdeflate.a")
    message(FATAL_ERROR "libdeflate for mingw not found in '${DEFLATE_PREFIX}': run 'make deps'")
  endif()
  add_library(deflate STATIC IMPORTED GLOBAL)
  set_target_properties(deflate PROPERTIES
    IMPORTED_LOCATION "${DEFLATE_PREFIX}/lib/libdeflate.a"
    INTERFACE_INCLUDE_DIRECTORIES "${DEFLATE_PREFIX}/include")
  # zlib statically too: the program must not need a zlib1.dll beside it.
  find_library(ZLIB_STATIC_LIBRARY NAMES libz.a REQUIRED)
  find_path(ZLIB_STATIC_INCLUDE_DIR zlib.h REQUIRED)
  add_library(ZLIB::ZLIB STATIC IMPORTED GLOBAL)
  set_target_properties(ZLIB::ZLIB PROPERTIES
    IMPORTED_LOCATION "${ZLIB_STATIC_LIBRARY}"
    INTERFACE_INCLUDE_DIRECTORIES "${ZLIB_STATIC_INCLUDE_DIR}")
else()
  # Native: sanitizers everywhere; coverage instrumentation so the fuzzers can steer.
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "The native build uses clang (for libFuzzer)")
  endif()
  set(SCRIVANE_SANITIZE -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  add_compile_options(${SCRIVANE_SANITIZE} -fsanitize=fuzzer-no-link)
  add_link_options(${SCRIVANE_SANITIZE})
  find_package(ZLIB REQUIRED)
  # Debian's libdeflate (libdeflate-dev), statically.
  find_library(DEFLATE_LIBRARY NAMES libdeflate.a deflate REQUIRED)
  find_path(DEFLATE_INCLUDE_DIR libdeflate.h REQUIRED)
  add_library(deflate UNKNOWN IMPORTED GLOBAL)
  set_target_properties(deflate PROPERTIES
    IMPORTED_LOCATION "${DEFLATE_LIBRARY}"
    INTERFACE_INCLUDE_DIRECTORIES "${DEFLATE_INCLUDE_DIR}")
endif()
