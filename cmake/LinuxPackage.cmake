# What the Linux build installs beside the program and its help (the settings entry, the icon,
# the AppStream metainfo, the manual page, XScreenSaver's entry, the package's documents), and
# the Debian package that the "package" target makes of it all.
set(TOVELIN_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging/linux)
set(TOVELIN_PACKAGE_CONTACT "Tovelin developers <tovelin@example.org>")
set(TOVELIN_PACKAGE_OUT ${CMAKE_CURRENT_BINARY_DIR}/packaging)
# Honours SOURCE_DATE_EPOCH, so a reproducible build can pin it.
string(TIMESTAMP TOVELIN_RELEASE_DATE "%Y-%m-%d" UTC)
string(TIMESTAMP TOVELIN_CHANGELOG_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)

configure_file(${TOVELIN_PACKAGING_DIR}/example.tovelin.tovelin.metainfo.xml.in ${TOVELIN_PACKAGE_OUT}/example.tovelin.tovelin.metainfo.xml @ONLY)
configure_file(${TOVELIN_PACKAGING_DIR}/tovelin.1.in ${TOVELIN_PACKAGE_OUT}/tovelin.1 @ONLY)
configure_file(${TOVELIN_PACKAGING_DIR}/changelog.in ${TOVELIN_PACKAGE_OUT}/changelog @ONLY)

# Debian keeps manual pages and changelogs compressed, without a name or time in the header.
find_program(TOVELIN_GZIP gzip REQUIRED)
set(TOVELIN_COMPRESSED "")
foreach(file tovelin.1 changelog)
  add_custom_command(OUTPUT ${TOVELIN_PACKAGE_OUT}/${file}.gz
    COMMAND ${TOVELIN_GZIP} -9nf -k ${file}
    WORKING_DIRECTORY ${TOVELIN_PACKAGE_OUT}
    DEPENDS ${TOVELIN_PACKAGE_OUT}/${file} VERBATIM)
  list(APPEND TOVELIN_COMPRESSED ${TOVELIN_PACKAGE_OUT}/${file}.gz)
endforeach()
add_custom_target(tovelin_package_files ALL DEPENDS ${TOVELIN_COMPRESSED})

install(FILES ${TOVELIN_PACKAGING_DIR}/tovelin.desktop DESTINATION share/applications)
foreach(size 48 256)
  install(FILES ${TOVELIN_PACKAGING_DIR}/icons/tovelin-${size}.png
    DESTINATION share/icons/hicolor/${size}x${size}/apps RENAME tovelin.png)
endforeach()
install(FILES ${TOVELIN_PACKAGE_OUT}/example.tovelin.tovelin.metainfo.xml DESTINATION share/metainfo)
install(FILES ${TOVELIN_PACKAGE_OUT}/tovelin.1.gz DESTINATION share/man/man1)
install(FILES ${PROJECT_SOURCE_DIR}/data/xscreensaver/tovelin.xml DESTINATION share/xscreensaver/config)
install(FILES ${TOVELIN_PACKAGING_DIR}/copyright ${TOVELIN_PACKAGE_OUT}/changelog.gz DESTINATION share/doc/tovelin)
install(FILES ${TOVELIN_PACKAGING_DIR}/lintian-overrides DESTINATION share/lintian/overrides RENAME tovelin)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tovelin)
set(CPACK_PACKAGE_VENDOR "Tovelin developers")
set(CPACK_PACKAGE_CONTACT ${TOVELIN_PACKAGE_CONTACT})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "photo slide-show screen saver with background music")
# Lines of at most 80 characters, as the package's description is shown.
set(CPACK_PACKAGE_DESCRIPTION "Tovelin shows the photos of the folders you choose full screen, one
after another, through thirteen transitions, with an information band, a clock
and background music from the same folders (mp3, wma and MIDI files). The arrow
keys browse through the photos and the music; any other key ends the show.

The program is its own configuration dialog. Run the show from the desktop's
idle or locking tool, or as an XScreenSaver display mode.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://tovelin.example/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The music: playbin (base); mp3 through id3demux, mpegaudioparse and mpg123audiodec (good) or
# avdec_mp3 (libav); wma through asfdemux (ugly) and avdec_wmav2 (libav); MIDI through midiparse
# and fluiddec (bad), which need a General MIDI sound font.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "gstreamer1.0-plugins-base, gstreamer1.0-plugins-good, \
gstreamer1.0-plugins-ugly, gstreamer1.0-plugins-bad, gstreamer1.0-libav, \
timgm6mb-soundfont | fluid-soundfont-gm")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS xscreensaver)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# Folders as Debian wants them, whatever the umask of the one who builds.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_SOURCE_GENERATOR "")
include(CPack)
