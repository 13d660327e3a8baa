# Debian's hardening flags for the optimised builds that are installed and
# packaged (not Debug, whose -O0 cannot fortify, nor the sanitizer builds):
# _FORTIFY_SOURCE, the stack protector, format checks, read-only relocations
# bound at start, and position-independent executables. The flags are
# dpkg-buildflags' own, without its -g and -O levels, which the build type
# sets.
include(CheckPIESupported)
check_pie_supported()
set(CMAKE_POSITION_INDEPENDENT_CODE ON)
# The static libraries are linked into the programs, where nothing can take
# the place of their functions: calls among them may be inlined as in any
# program. (With -fPIC alone, GCC keeps the calls, and a loop over a member
# function, such as the bitwise operations' plain loop, no longer vectorises.)
if(NOT WIN32)
  add_compile_options(-fno-semantic-interposition)
endif()

if(ZEMBRAX_SANITIZE OR CMAKE_BUILD_TYPE STREQUAL "Debug" OR NOT CMAKE_BUILD_TYPE)
  return()
endif()
# The flags are those of Debian's own ELF programs; a Windows build has PE's
# (ASLR and DEP, which MinGW's linker turns on by default).
if(WIN32)
  return()
endif()
find_program(DPKG_BUILDFLAGS dpkg-buildflags)
if(NOT DPKG_BUILDFLAGS)
  message(WARNING "dpkg-buildflags not found: building without Debian's hardening flags")
  return()
endif()

foreach(kind CPPFLAGS CXXFLAGS LDFLAGS)
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
            ${DPKG_BUILDFLAGS} --get ${kind}
    OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
  separate_arguments(flags UNIX_COMMAND "${flags}")
  list(FILTER flags EXCLUDE REGEX "^-(g|O.*|ffile-prefix-map=.*)$")
  if(kind STREQUAL "LDFLAGS")
    add_link_options(${flags})
  else()
    add_compile_options(${flags})
  endif()
  list(APPEND shown ${flags})
endforeach()
list(JOIN shown " " shown)
message(STATUS "Debian's hardening flags: ${shown}")
