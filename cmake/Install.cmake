# cmake --install: the programs, the launcher that gives ovl a folder of the user's own, the
# desktop entry and the program's icon, in the usual places below the prefix.
include(GNUInstallDirs)
install(TARGETS ovl RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET ovlsaver)
  install(TARGETS ovlsaver RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
install(PROGRAMS ${PROJECT_SOURCE_DIR}/ui/app/orvello DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/ui/app/orvello.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
foreach(size 48 128 256)
  install(FILES ${PROJECT_SOURCE_DIR}/ui/icons/orvello-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME orvello.png)
endforeach()
