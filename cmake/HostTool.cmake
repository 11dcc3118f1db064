# Programs that run on the build machine while building (the Windows build is a cross build,
# so they cannot be ordinary targets of it):
#   scrivane_host_tool(NAME SOURCES file... DEPENDS file... [LIBS name...])
#       Compiles the sources with the build machine's C++ compiler into
#       ${CMAKE_BINARY_DIR}/host/NAME and makes NAME a target that builds it; the program's path
#       is the target's HOST_EXECUTABLE property. DEPENDS lists the headers it reads, LIBS the
#       build machine's libraries it links (-lNAME).
find_program(SCRIVANE_HOST_CXX NAMES c++ g++ clang++ REQUIRED)

function(scrivane_host_tool name)
  cmake_parse_arguments(H "" "" "SOURCES;DEPENDS;LIBS" ${ARGN})
  list(TRANSFORM H_LIBS PREPEND -l)
  set(folder ${CMAKE_BINARY_DIR}/host)
  set(exe ${folder}/${name})
  add_custom_command(OUTPUT ${exe}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
    COMMAND ${SCRIVANE_HOST_CXX} -std=c++20 -O2 -Wall -Wextra -I${CMAKE_SOURCE_DIR} ${H_SOURCES} ${H_LIBS} -o ${exe}
    DEPENDS ${H_SOURCES} ${H_DEPENDS}
    COMMENT "Building ${name} for the build machine"
    VERBATIM)
  add_custom_target(${name} DEPENDS ${exe})
  set_property(TARGET ${name} PROPERTY HOST_EXECUTABLE ${exe})
endfunction()
