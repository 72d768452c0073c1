# Installing like any desktop program: the programs in bin, what they ship
# under share/beatloom (the editor finds it there from <prefix>/bin), and the
# desktop entry, icons and chart file types that let a file manager open a
# chart with a double-click.
include(GNUInstallDirs)

set(BEATLOOM_SHARE ${CMAKE_INSTALL_DATADIR}/beatloom)

if(TARGET beatloom-cli)
  install(TARGETS beatloom-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
if(TARGET beatloom)
  install(TARGETS beatloom RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${CMAKE_SOURCE_DIR}/help/help.html DESTINATION ${BEATLOOM_SHARE}/help)
  install(DIRECTORY ${CMAKE_SOURCE_DIR}/lang/ DESTINATION ${BEATLOOM_SHARE}/lang)
  install(DIRECTORY ${CMAKE_SOURCE_DIR}/samples/ DESTINATION ${BEATLOOM_SHARE}/samples)
  install(FILES ${CMAKE_CURRENT_LIST_DIR}/beatloom.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${CMAKE_CURRENT_LIST_DIR}/beatloom.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  install(FILES ${CMAKE_CURRENT_LIST_DIR}/beatloom.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/256x256/apps)
  install(FILES ${CMAKE_CURRENT_LIST_DIR}/beatloom-mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
          RENAME beatloom.xml)
endif()

# The install itself is checked into a scratch prefix; cheap, so it runs with
# the other tests.
if(BEATLOOM_BUILD_TESTS AND TARGET beatloom AND TARGET beatloom-cli)
  add_test(NAME install
           COMMAND ${CMAKE_COMMAND} -DBUILD_DIR=${CMAKE_BINARY_DIR} -DPREFIX=${CMAKE_BINARY_DIR}/install-check
                   -P ${CMAKE_CURRENT_LIST_DIR}/check_install.cmake)
endif()
