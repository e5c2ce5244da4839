# What `cmake --install` puts under the prefix and what `cmake --build build --target package`
# puts in korvex_<version>_<arch>.deb: the three programs, the help topics, the desktop entry with
# its icon and AppStream data, the man pages and the bash completion of korvex-cli.
include(GNUInstallDirs)

set(KORVEX_APP_ID com.orvanta.KorvexConfig)
set(packaging ${CMAKE_SOURCE_DIR}/packaging)
set(generated ${CMAKE_BINARY_DIR}/packaging)

foreach(program korvex-cli korvex-gateway-sim korvex-config)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()
endforeach()

# Man pages and the changelog carry the version and go in compressed, as Debian wants them.
find_program(KORVEX_GZIP gzip REQUIRED)
set(man_pages)
foreach(page korvex-cli korvex-gateway-sim korvex-config)
  configure_file(${packaging}/man/${page}.1 ${generated}/${page}.1 @ONLY)
  add_custom_command(OUTPUT ${generated}/${page}.1.gz
                     COMMAND ${KORVEX_GZIP} -9 -n -c ${generated}/${page}.1 > ${generated}/${page}.1.gz
                     DEPENDS ${generated}/${page}.1 VERBATIM)
  list(APPEND man_pages ${generated}/${page}.1.gz)
endforeach()
configure_file(${packaging}/changelog ${generated}/changelog @ONLY)
add_custom_command(OUTPUT ${generated}/changelog.gz
                   COMMAND ${KORVEX_GZIP} -9 -n -c ${generated}/changelog > ${generated}/changelog.gz
                   DEPENDS ${generated}/changelog VERBATIM)
add_custom_target(korvex-man-pages ALL DEPENDS ${man_pages} ${generated}/changelog.gz)
install(FILES ${man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${generated}/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})

install(FILES ${packaging}/korvex-cli.bash-completion DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions
        RENAME korvex-cli)
install(FILES ${packaging}/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})

if(TARGET korvex-config)
  install(DIRECTORY ${CMAKE_SOURCE_DIR}/help/ DESTINATION ${CMAKE_INSTALL_DATADIR}/korvex/help)
  install(FILES ${packaging}/${KORVEX_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${packaging}/${KORVEX_APP_ID}.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  configure_file(${packaging}/${KORVEX_APP_ID}.metainfo.xml ${generated}/${KORVEX_APP_ID}.metainfo.xml @ONLY)
  install(FILES ${generated}/${KORVEX_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME korvex)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Korvex developers <korvex-dev@orvanta.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "commissioning tool for the Korvex LonWorks-to-Modbus gateway")
set(CPACK_PACKAGE_DESCRIPTION
    "Builds the object map of a Korvex gateway (NV list, Modbus register list,\n"
    "data objects, port and TCP settings, node identity), keeps it in an XML\n"
    "file, imports and exports CSV and XIF files and sends the map to the\n"
    "gateway over its USB serial console. Includes korvex-config (the desktop\n"
    "tool), korvex-cli (the same actions without a window) and\n"
    "korvex-gateway-sim (a simulated gateway on a pseudo-terminal).")
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)
