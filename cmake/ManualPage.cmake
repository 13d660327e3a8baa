# A manual page for a program, made by help2man from its --help and
# --version at build time, compressed as Debian keeps manual pages, and
# installed with the program.
find_program(HELP2MAN help2man REQUIRED)

function(add_manual_page target description)
  set(page ${CMAKE_CURRENT_BINARY_DIR}/${target}.1)
  host_program(program ${target})
  add_custom_command(
    OUTPUT ${page}.gz
    COMMAND ${HELP2MAN} --no-info --no-discard-stderr --name ${description}
            --output ${page} ${program}
    COMMAND gzip -9 -n -f ${page}
    DEPENDS ${target}
    VERBATIM)
  add_custom_target(${target}-manual ALL DEPENDS ${page}.gz)
  install(FILES ${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endfunction()
