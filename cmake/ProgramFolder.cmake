# The program folder of a build (build/bin) gets what the programs keep beside
# them: the database, the bell, the picture folder and the icon. `cmake
# --install` puts the same into <prefix>/lib/kavo, with launchers in <prefix>/bin
# and the desktop entry, the icon and the project file type where a Linux
# desktop finds them.

set(KAVO_BIN ${CMAKE_RUNTIME_OUTPUT_DIRECTORY})
add_custom_command(OUTPUT ${KAVO_BIN}/ringin.wav
  COMMAND make_chime ${KAVO_BIN}/ringin.wav
  DEPENDS make_chime
  COMMENT "The bell sound")
add_custom_command(OUTPUT ${KAVO_BIN}/kavocut.svg
  COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/resources/icons/kavocut.svg ${KAVO_BIN}/kavocut.svg
  COMMAND ${CMAKE_COMMAND} -E make_directory ${KAVO_BIN}/default
  DEPENDS ${PROJECT_SOURCE_DIR}/resources/icons/kavocut.svg)
add_custom_target(kavo_program_folder ALL DEPENDS ${KAVO_BIN}/ringin.wav ${KAVO_BIN}/kavocut.svg)
add_dependencies(kavo_program_folder kavo_database)

include(GNUInstallDirs)
set(KAVO_PROGRAM_DIR ${CMAKE_INSTALL_LIBDIR}/kavo)
install(TARGETS KAVOCut kavo RUNTIME DESTINATION ${KAVO_PROGRAM_DIR})
install(FILES ${KAVO_BIN}/KAVODB.mdb ${KAVO_BIN}/ringin.wav ${KAVO_BIN}/kavocut.svg DESTINATION ${KAVO_PROGRAM_DIR})
install(DIRECTORY DESTINATION ${KAVO_PROGRAM_DIR}/default)
install(FILES ${PROJECT_SOURCE_DIR}/resources/icons/kavocut.svg
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${PROJECT_SOURCE_DIR}/resources/desktop/kavocut.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/resources/desktop/kavo-fbl.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
install(CODE "
  set(bin \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
  file(MAKE_DIRECTORY \"\${bin}\")
  foreach(program KAVOCut kavo)
    file(CREATE_LINK \"../${KAVO_PROGRAM_DIR}/\${program}\" \"\${bin}/\${program}\" SYMBOLIC)
  endforeach()
")
