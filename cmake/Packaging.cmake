# One Debian package holding both programs: whatever `cmake --install` puts in place (Quillora's
# engine, its resources and IBus component; Zelvo and its resources) goes into it.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME mongolian-writing)
set(CPACK_PACKAGE_VERSION ${MW_VERSION})
set(CPACK_PACKAGE_VENDOR "Mongolian Writing")
set(CPACK_PACKAGE_CONTACT "Mongolian Writing maintainers <maintainers@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Traditional Mongolian writing: the Quillora input method (IBus) and the Zelvo notes application")
set(CPACK_PACKAGE_DESCRIPTION
    "Quillora turns romanised keys into traditional Mongolian words chosen from a vertical
candidate list, in any application, as an IBus engine. Zelvo keeps notes in vertical
Mongolian script.")
# The package puts files where the build says they are (the component file names the engine path).
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Libraries are found by dpkg-shlibdeps; the rest is what the programs need at run time besides.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "ibus, ibus-gtk3, fonts-noto-core, fonts-dejavu-core")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "notification-daemon | xfce4-notifyd | gnome-shell")
set(CPACK_STRIP_FILES ON)
include(CPack)
