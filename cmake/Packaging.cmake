# What `cmake --install` puts under the prefix besides bin/seqsmith (whose
# rule stands next to its target), and the packages `cpack` makes of it: a
# .deb and a .tar.gz.
include(GNUInstallDirs)

install(FILES ${PROJECT_SOURCE_DIR}/doc/seqsmith.1
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${PROJECT_SOURCE_DIR}/completions/seqsmith
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)
install(FILES ${PROJECT_SOURCE_DIR}/cmake/SeqsmithConvert.cmake
        DESTINATION ${CMAKE_INSTALL_DATADIR}/seqsmith/cmake)

set(SEQSMITH_PACKAGE_MAINTAINER "seqsmith developers <seqsmith-dev@example.org>"
    CACHE STRING "The Maintainer field of the .deb")

set(CPACK_PACKAGE_NAME seqsmith)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "seqsmith developers")
set(CPACK_PACKAGE_CONTACT "${SEQSMITH_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "convert Standard MIDI Files into sequence text listings")
set(CPACK_PACKAGE_DESCRIPTION
    "seqsmith turns Standard MIDI Files (format 0 and 1) into text listings \
of a track-oriented sequence language: one labelled command stream per MIDI \
channel, cut into measures, with repeated measures lifted out into patterns. \
Loop markers and verbatim lines come from text events in the MIDI file. It \
stops at the first problem in a file with an exact diagnostic.")
set(CPACK_GENERATOR DEB TGZ)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${SEQSMITH_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# dpkg-shlibdeps reads the local package database only; without it the
# run-time libraries are named by hand.
find_program(SEQSMITH_DPKG_SHLIBDEPS dpkg-shlibdeps)
mark_as_advanced(SEQSMITH_DPKG_SHLIBDEPS)
if(SEQSMITH_DPKG_SHLIBDEPS)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
else()
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "libc6, libgcc-s1, libstdc++6")
endif()

set(CPACK_SOURCE_GENERATOR TGZ)
set(CPACK_SOURCE_IGNORE_FILES "/\\\\.git/" "/build[^/]*/" "\\\\.tune$")

include(CPack)
