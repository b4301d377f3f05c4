# Installing the game. The program folder PREFIX/lib/pathwarden holds the game, its picture
# library, the window icon and the about window's logo, as the build folder does; the game
# finds its files there by its own location, so it runs from any working folder.
# PREFIX/bin/pathwarden links to it. The desktop entry, the metainfo, the icons and the guide
# go under PREFIX/share, and the program folder links to the guide so that the game finds it
# in the same place as in the build folder.
set(PW_INSTALL_PROGRAM_DIR lib/pathwarden)
set(PW_INSTALL_DOC_DIR share/doc/pathwarden)

configure_file(${PROJECT_SOURCE_DIR}/data/manual.html ${PW_PROGRAM_DIR}/manual.html COPYONLY)

install(FILES ${PW_PROGRAM_DIR}/Warden.vx8 ${PW_PROGRAM_DIR}/window-icon.png
  ${PW_PROGRAM_DIR}/about-logo.png DESTINATION ${PW_INSTALL_PROGRAM_DIR})
install(FILES data/manual.html DESTINATION ${PW_INSTALL_DOC_DIR})
install(FILES data/pathwarden.desktop DESTINATION share/applications)
install(FILES data/local.larkfield.pathwarden.metainfo.xml DESTINATION share/metainfo)
install(DIRECTORY ${PW_PROGRAM_DIR}/icons/hicolor DESTINATION share/icons)

# pw_install_link(LINK TARGET): a relative symbolic link PREFIX/LINK -> TARGET, also under
# DESTDIR and with the prefix chosen at install time.
function(pw_install_link link target)
  install(CODE "
    set(link \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${link}\")
    get_filename_component(folder \"\${link}\" DIRECTORY)
    file(MAKE_DIRECTORY \"\${folder}\")
    message(STATUS \"Installing: \${link} -> ${target}\")
    file(CREATE_LINK \"${target}\" \"\${link}\" SYMBOLIC)")
endfunction()

pw_install_link(${PW_INSTALL_PROGRAM_DIR}/manual.html ../../${PW_INSTALL_DOC_DIR}/manual.html)
# The game's target comes with the game window; until then everything else installs.
if(TARGET pathwarden)
  install(TARGETS pathwarden RUNTIME DESTINATION ${PW_INSTALL_PROGRAM_DIR})
  pw_install_link(bin/pathwarden ../${PW_INSTALL_PROGRAM_DIR}/pathwarden)
endif()
