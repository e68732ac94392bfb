# The Linux desktop edition: the program, its menu entry, its icons in the
# hicolor theme and its AppStream metainfo; a Debian package through CPack.
include(GNUInstallDirs)

install(TARGETS solvane RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES desktop/solvane.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES desktop/org.solvane.Solvane.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

set(SOLVANE_ICON_SIZES 16 32 48 256)
foreach(size ${SOLVANE_ICON_SIZES})
  set(png ${CMAKE_BINARY_DIR}/icons/${size}x${size}/solvane.png)
  add_custom_command(OUTPUT ${png}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/icons/${size}x${size}
    COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/res/make_icon.py --png ${size} ${png}
    DEPENDS ${CMAKE_SOURCE_DIR}/res/make_icon.py)
  list(APPEND SOLVANE_PNGS ${png})
  install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
add_custom_target(solvane_icons ALL DEPENDS ${SOLVANE_PNGS})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME solvane)
set(CPACK_PACKAGE_VERSION 1.0.0)
set(CPACK_PACKAGE_CONTACT "The SOLVANE team")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Play up to three sound files at once")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
# The libraries it links, and what plays the formats, the MIDI soundfont and
# the face that shows the Japanese texts.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
  "libfltk1.3 (>= 1.3.8), libx11-6, libgstreamer1.0-0 (>= 1.22), libgstreamer-plugins-base1.0-0 (>= 1.22), \
gstreamer1.0-plugins-base, gstreamer1.0-plugins-good, gstreamer1.0-plugins-bad, gstreamer1.0-plugins-ugly, \
gstreamer1.0-libav, timgm6mb-soundfont, fonts-ipafont-gothic")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "gstreamer1.0-pulseaudio, gstreamer1.0-alsa")
include(CPack)
