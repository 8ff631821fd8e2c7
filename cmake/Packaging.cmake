# One Debian package holding both programs: whatever `cmake --install` puts in place (Quillora's
# engine, its resources and IBus component; Zelvo, its resources, desktop entry and AppStream
# metadata; the documents below) goes into it.

# What Debian asks of every package besides its programs: the copyright of everything shipped,
# the change log and a manual page for each program, compressed as Debian installs them.
set(MW_DEBIAN_SOURCE ${PROJECT_SOURCE_DIR}/cmake/debian)
set(MW_DEBIAN_BUILD ${CMAKE_BINARY_DIR}/debian)
file(STRINGS ${MW_DEBIAN_SOURCE}/changelog MW_CHANGELOG_TOP LIMIT_COUNT 1)
if(NOT MW_CHANGELOG_TOP MATCHES "^mongolian-writing \\(${PROJECT_VERSION}\\) ")
  message(FATAL_ERROR "cmake/debian/changelog has no entry for version ${PROJECT_VERSION} on top")
endif()
set(MW_DEBIAN_COMPRESSED)
foreach(document changelog zelvo.1 ibus-engine-quillora.8)
  # -n: no name or time stamp inside, so the same text always makes the same file.
  add_custom_command(OUTPUT ${MW_DEBIAN_BUILD}/${document}.gz
    COMMAND gzip -9n -c ${MW_DEBIAN_SOURCE}/${document} > ${MW_DEBIAN_BUILD}/${document}.gz
    DEPENDS ${MW_DEBIAN_SOURCE}/${document}
    VERBATIM)
  list(APPEND MW_DEBIAN_COMPRESSED ${MW_DEBIAN_BUILD}/${document}.gz)
endforeach()
file(MAKE_DIRECTORY ${MW_DEBIAN_BUILD})
add_custom_target(debian_documents ALL DEPENDS ${MW_DEBIAN_COMPRESSED})
install(FILES ${MW_DEBIAN_SOURCE}/copyright ${MW_DEBIAN_BUILD}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/mongolian-writing)
install(FILES ${MW_DEBIAN_BUILD}/zelvo.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${MW_DEBIAN_BUILD}/ibus-engine-quillora.8.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man8)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME mongolian-writing)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Mongolian Writing")
set(CPACK_PACKAGE_CONTACT
    "Mongolian Writing maintainers <maintainers@mongolian-writing.example.org>")
# Debian wants the synopsis under 80 characters and each description line within 80.
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "traditional Mongolian writing: IBus input method and notes application")
set(CPACK_PACKAGE_DESCRIPTION
    "Quillora is an IBus input method: romanised keys become traditional Mongolian
words, chosen from a vertical candidate list next to the caret, in any
application. Zelvo keeps notes in vertical Mongolian script, with a rich-text
editor, preview, printing and export to text, HTML, RTF and PDF.")
# The package puts files where the build says they are (the component file names the engine path).
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Libraries are found by dpkg-shlibdeps; the rest is what the programs need at run time besides:
# IBus and its GTK module, the Mongolian and Latin fonts, and one with the Han characters of
# Zelvo's Chinese panel and alert texts.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "ibus, ibus-gtk3, fonts-noto-core, fonts-dejavu-core, fonts-wqy-microhei | fonts-noto-cjk")
# `ibus engine quillora` sets the engine's keyboard layout with setxkbmap, and fails without it.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "notification-daemon | xfce4-notifyd | gnome-shell, x11-xkb-utils")
set(CPACK_STRIP_FILES ON)
include(CPack)
