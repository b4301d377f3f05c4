# Installing the game. The program folder holds the game, its picture library and the about
# window's logo, as the build folder does; the game finds its files there by its
# own location, so it runs from any working folder. A link in the command folder leads to it.
# The desktop entry, the metainfo, the icons, the guide and the man pages go under
# PREFIX/share. The guide lives in the data folder, which systems keep also when they leave out
# share/doc; the program folder and the documentation folder link to it, so that the game finds
# it in the same place as in the build folder. The Debian package chooses lib/games/pathwarden,
# share/games/pathwarden and games.
set(PW_INSTALL_PROGRAM_DIR lib/pathwarden CACHE STRING "The game's program folder, under the prefix")
set(PW_INSTALL_LINK_DIR bin CACHE STRING "The folder of the link that starts the game, under the prefix")
set(PW_INSTALL_DATA_DIR share/pathwarden CACHE STRING "The game's data folder, under the prefix")
set(PW_INSTALL_DOC_DIR share/doc/pathwarden)

configure_file(${PROJECT_SOURCE_DIR}/data/manual.html ${PW_PROGRAM_DIR}/manual.html COPYONLY)

install(FILES ${PW_PROGRAM_DIR}/Warden.vx8 ${PW_PROGRAM_DIR}/about-logo.png
  DESTINATION ${PW_INSTALL_PROGRAM_DIR})
# The solver's tables, built ahead, beside the picture library.
install(FILES ${PW_PROGRAM_DIR}/Warden.tables DESTINATION ${PW_INSTALL_PROGRAM_DIR})
install(FILES data/manual.html DESTINATION ${PW_INSTALL_DATA_DIR})
install(FILES data/pathwarden.desktop DESTINATION share/applications)
install(FILES data/local.larkfield.pathwarden.metainfo.xml DESTINATION share/metainfo)
install(DIRECTORY ${PW_PROGRAM_DIR}/icons/hicolor DESTINATION share/icons)
install(TARGETS vx8tool RUNTIME DESTINATION bin)

# The man pages, from scdoc sources that carry the project's version, into man/ of the build.
if(PW_MAN)
  find_program(PW_SCDOC scdoc REQUIRED)
  foreach(page pathwarden.6 vx8.1)
    configure_file(${PROJECT_SOURCE_DIR}/doc/man/${page}.scd ${CMAKE_BINARY_DIR}/man/${page}.scd @ONLY)
    add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/man/${page}
      COMMAND ${PW_SCDOC} < ${CMAKE_BINARY_DIR}/man/${page}.scd > ${CMAKE_BINARY_DIR}/man/${page}
      DEPENDS ${CMAKE_BINARY_DIR}/man/${page}.scd
      COMMENT "Writing the man page ${page}")
    list(APPEND PW_MAN_PAGES ${CMAKE_BINARY_DIR}/man/${page})
    string(REGEX REPLACE ".*\\." "" section ${page})
    install(FILES ${CMAKE_BINARY_DIR}/man/${page} DESTINATION share/man/man${section})
  endforeach()
  add_custom_target(man_pages ALL DEPENDS ${PW_MAN_PAGES})
endif()

# pw_install_link(LINK TARGET): a symbolic link PREFIX/LINK to PREFIX/TARGET, relative, also
# under DESTDIR and with the prefix chosen at install time.
function(pw_install_link link target)
  get_filename_component(folder ${link} DIRECTORY)
  file(RELATIVE_PATH relative /${folder} /${target})
  install(CODE "
    set(link \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${link}\")
    get_filename_component(folder \"\${link}\" DIRECTORY)
    file(MAKE_DIRECTORY \"\${folder}\")
    message(STATUS \"Installing: \${link} -> ${relative}\")
    file(CREATE_LINK \"${relative}\" \"\${link}\" SYMBOLIC)")
endfunction()

pw_install_link(${PW_INSTALL_PROGRAM_DIR}/manual.html ${PW_INSTALL_DATA_DIR}/manual.html)
pw_install_link(${PW_INSTALL_DOC_DIR}/manual.html ${PW_INSTALL_DATA_DIR}/manual.html)
# The game's target comes with the game window; until then everything else installs.
if(TARGET pathwarden)
  install(TARGETS pathwarden RUNTIME DESTINATION ${PW_INSTALL_PROGRAM_DIR})
  pw_install_link(${PW_INSTALL_LINK_DIR}/pathwarden ${PW_INSTALL_PROGRAM_DIR}/pathwarden)
endif()
