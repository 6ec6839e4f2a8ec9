# What the packages hold beside the programs, and the .deb (CPack). The
# Windows zip and MSI are packed by scripts/build-release.sh.
include(GNUInstallDirs)

set(TALLYBOOK_PROGRAMS tallybook tallybook-cli tallybook-sample)

# Each packaged program leaves its linker map beside it (PROGRAM.map):
# tools/notices/notices.py check reads what was linked from it, so that the
# notices are checked against the programs themselves.
foreach(_program IN LISTS TALLYBOOK_PROGRAMS)
  if(TARGET ${_program})
    get_target_property(_dir ${_program} BINARY_DIR)
    target_link_options(${_program} PRIVATE "LINKER:-Map=${_dir}/${_program}.map")
  endif()
endforeach()

if(WIN32)
  return()
endif()

install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION ${CMAKE_INSTALL_DOCDIR} RENAME copyright)
install(FILES ${TALLYBOOK_NOTICES_FILE} DESTINATION ${CMAKE_INSTALL_DOCDIR})

# The command line's man page, made from its --help and --version (help2man
# dates it by SOURCE_DATE_EPOCH when that is set).
find_program(TALLYBOOK_HELP2MAN help2man)
if(TARGET tallybook-cli AND TALLYBOOK_HELP2MAN)
  set(_man ${CMAKE_BINARY_DIR}/man/tallybook-cli.1)
  add_custom_command(
    OUTPUT ${_man}.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
    COMMAND ${TALLYBOOK_HELP2MAN} --no-info --section=1
            "--name=turn a baseball encyclopedia into an .xlsx workbook" --output=${_man} $<TARGET_FILE:tallybook-cli>
    COMMAND gzip -9nf ${_man}
    DEPENDS tallybook-cli
    COMMENT "The man page of tallybook-cli"
    VERBATIM)
  add_custom_target(tallybook-man ALL DEPENDS ${_man}.gz)
  install(FILES ${_man}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()

# The .deb: cpack -G DEB in the build folder (scripts/build-release.sh).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tallybook)
set(CPACK_PACKAGE_VENDOR "The TALLYBOOK authors")
set(CPACK_PACKAGE_CONTACT "The TALLYBOOK authors")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "turns a baseball encyclopedia into an .xlsx workbook")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "turns a baseball encyclopedia into an .xlsx workbook\n"
    "TALLYBOOK reads the encyclopedia of a baseball simulation game (its folder of\n"
    "ENCTEAM.DAT, ENCPLYR.DAT and the other files) and writes an .xlsx workbook:\n"
    "a sheet per letter with every player's season lines, hitting and pitching\n"
    "totals, standings and team totals. A desktop window (tallybook), the command\n"
    "line (tallybook-cli) and a generator of made-up encyclopedias\n"
    "(tallybook-sample).")
string(REPLACE ";" "" CPACK_DEBIAN_PACKAGE_DESCRIPTION "${CPACK_DEBIAN_PACKAGE_DESCRIPTION}")
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
# The Depends line from the libraries the programs link (dpkg-shlibdeps);
# xdg-open opens the workbook.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS xdg-utils)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
include(CPack)
