# For Windows, a zip: the window and the command line, with no DLLs beside
# them, the manual (this README, with its pictures) and the licence.
if(WIN32 AND ZEMBRAX_BUILD_APP)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_NAME zembrax)
  set(CPACK_PACKAGE_FILE_NAME zembrax-${PROJECT_VERSION}-windows-x86_64)
  find_program(CMARK_GFM cmark-gfm REQUIRED)
  set(manual ${CMAKE_BINARY_DIR}/manual.html)
  add_custom_command(
    OUTPUT ${manual}
    COMMAND ${CMAKE_COMMAND} -DCMARK=${CMARK_GFM} -DREADME=${PROJECT_SOURCE_DIR}/README.md
            -DOUT=${manual} -P ${PROJECT_SOURCE_DIR}/cmake/HtmlManual.cmake
    DEPENDS ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/cmake/HtmlManual.cmake
    VERBATIM)
  add_custom_target(manual ALL DEPENDS ${manual})
  install(FILES ${manual} DESTINATION .)
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/ DESTINATION docs FILES_MATCHING PATTERN *.png)
  install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION . RENAME LICENSE.txt)
  include(CPack)
  return()
endif()

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
