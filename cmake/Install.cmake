# Installing and packaging. Everything the viewer reads at run time lies in one folder,
# <prefix>/lib/ledgerly, beside the executable where the connection-file lookup expects it:
# ledgerly, skintool, skinview, the driver library libsqlib.so, dbxdrivers.ini,
# dbxconnections.ini and the demo database. <prefix>/bin holds launchers for the three programs; the desktop entry, its
# icon and the man page go to <prefix>/share.
#   cmake --install build --prefix DIR      installs into DIR
#   bash scripts/package.sh                 makes a .deb of the same with CPack (prefix /usr)
include(GNUInstallDirs)
set(LEDGERLY_APPDIR lib/ledgerly)
set(pkg_src ${PROJECT_SOURCE_DIR}/packaging)
set(pkg_out ${CMAKE_BINARY_DIR}/packaging)

if(TARGET ledgerly)
  install(TARGETS ledgerly RUNTIME DESTINATION ${LEDGERLY_APPDIR})
endif()
if(TARGET skintool)
  install(TARGETS skintool RUNTIME DESTINATION ${LEDGERLY_APPDIR})
endif()
if(TARGET skinview)
  install(TARGETS skinview RUNTIME DESTINATION ${LEDGERLY_APPDIR})
endif()
if(TARGET sqlib)
  install(TARGETS sqlib LIBRARY DESTINATION ${LEDGERLY_APPDIR})
endif()
install(FILES ${CMAKE_BINARY_DIR}/bin/dbxdrivers.ini DESTINATION ${LEDGERLY_APPDIR})
if(TARGET demodb)
  install(FILES ${CMAKE_BINARY_DIR}/bin/demo.fdb DESTINATION ${LEDGERLY_APPDIR})
endif()
# The connections file names the demo database by its installed path, known only when
# installing (cmake --install --prefix, or CPack's staging folder under DESTDIR).
install(CODE "
  file(READ \"${PROJECT_SOURCE_DIR}/drivers/interbase/dbxconnections.ini.in\" text)
  string(REPLACE \"@LEDGERLY_DEMO_DB@\" \"\${CMAKE_INSTALL_PREFIX}/${LEDGERLY_APPDIR}/demo.fdb\" text \"\${text}\")
  set(dest \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${LEDGERLY_APPDIR}\")
  file(MAKE_DIRECTORY \"\${dest}\")
  message(STATUS \"Installing: \${dest}/dbxconnections.ini\")
  file(WRITE \"\${dest}/dbxconnections.ini\" \"\${text}\")
")

# Launchers in the PATH.
foreach(prog ledgerly skintool skinview)
  set(LAUNCHED ${prog})
  set(APPDIR_FROM_BIN ../${LEDGERLY_APPDIR})
  configure_file(${pkg_src}/launcher.sh.in ${pkg_out}/bin/${prog} @ONLY)
  install(PROGRAMS ${pkg_out}/bin/${prog} DESTINATION ${CMAKE_INSTALL_BINDIR})
endforeach()

# Desktop entry, icon (drawn by skinpaint) and man page.
install(FILES ${pkg_src}/ledgerly.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${pkg_src}/ledgerly.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
if(TARGET skinpaint)
  set(icons)
  foreach(size 48 128 256)
    set(icon ${pkg_out}/icons/${size}/ledgerly.png)
    add_custom_command(OUTPUT ${icon}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${pkg_out}/icons/${size}
      COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=0 $<TARGET_FILE:skinpaint> --icon ${size} ${icon}
      DEPENDS skinpaint
      COMMENT "Painting the ${size} pixel icon")
    list(APPEND icons ${icon})
    install(FILES ${icon} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
  endforeach()
  add_custom_target(app_icons ALL DEPENDS ${icons})
endif()

# The Debian package.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ledgerly)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Ledgerly developers <ledgerly@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Viewer of the voucher change log of an accounting database")
set(CPACK_PACKAGE_DESCRIPTION "Shows the changed voucher headers and lines of a Firebird accounting database, narrowed by voucher numbers or dates, in a window drawn by its own skin engine.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded by name at run time, so the library scan cannot see them: the client library and the
# embedded engine.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libfbclient2, firebird3.0-server-core")
set(CPACK_OUTPUT_FILE_PREFIX ${CMAKE_BINARY_DIR}/package)
include(CPack)
