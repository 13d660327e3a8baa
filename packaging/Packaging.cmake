# The Debian package: `cpack -G DEB` in the build folder makes it from what
# `cmake --install` puts in place, with the dependencies that the shared
# libraries linked call for.
set(CPACK_PACKAGE_NAME zembrax)
set(CPACK_PACKAGE_VENDOR "The Zembrax developers")
set(CPACK_PACKAGE_CONTACT "The Zembrax developers <developers@zembrax.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "classical text coding tool")
set(CPACK_PACKAGE_DESCRIPTION
    "Zembrax codes texts with nine classical methods: Caesar shift, Vigenere,
Base64, alphabet substitution, URL encoding, bitwise AND, OR and XOR,
binary, decimal and hexadecimal numbers, Morse code and LSB extraction.
The package holds the window, zembrax, and the command line, zembrax-cli,
which codes files of any size in constant memory.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://zembrax.org/)

# Debian's documents for every package: the copyright and the changelog.
set(docs ${CMAKE_INSTALL_DATADIR}/doc/zembrax)
configure_file(${CMAKE_CURRENT_LIST_DIR}/changelog.in ${CMAKE_BINARY_DIR}/changelog.Debian @ONLY)
add_custom_command(
  OUTPUT ${CMAKE_BINARY_DIR}/changelog.Debian.gz
  COMMAND gzip -9 -n -k -f ${CMAKE_BINARY_DIR}/changelog.Debian
  DEPENDS ${CMAKE_BINARY_DIR}/changelog.Debian
  VERBATIM)
add_custom_target(debian-changelog ALL DEPENDS ${CMAKE_BINARY_DIR}/changelog.Debian.gz)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/copyright ${CMAKE_BINARY_DIR}/changelog.Debian.gz
        DESTINATION ${docs})

include(CPack)
