# Installation and the Debian package (included by the top-level CMakeLists).
#
# The native build installs
#   bin/zuvo, bin/startzuvo                 the console program, the launcher
#   lib/startzuvo/StartZUVO.exe             the dialog, taken from a Windows
#                                           build when ZUVO_WINDOWS_BUILD names one
#   share/applications/startzuvo.desktop    opens layouts in a file manager
#   share/mime/packages/startzuvo.xml       the types of ".anl" and ".danl"
#   share/metainfo/org.example.startzuvo.metainfo.xml   for software centres
#   the manual pages, the completion and the documents (documents.cmake)
#   the icon (icons.cmake)
# The launcher finds StartZUVO.exe beside itself (as in the zip) or in
# ../lib/startzuvo, so these folders are fixed relative to the prefix.
# "cpack -G DEB" (or the target "package") makes zuvo_<version>_<arch>.deb.
# A Windows build installs StartZUVO.exe and zuvo.exe into lib/startzuvo and
# the launcher into bin.

set(ZUVO_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging)
set(ZUVO_PRIVATE_DIR lib/startzuvo)

install(PROGRAMS ${ZUVO_PACKAGING_DIR}/startzuvo.sh DESTINATION bin RENAME startzuvo)

if(WIN32)
  if(TARGET StartZUVO)
    install(TARGETS StartZUVO zuvo RUNTIME DESTINATION ${ZUVO_PRIVATE_DIR})
  endif()
  return()
endif()

install(TARGETS zuvo RUNTIME DESTINATION bin)
# A stripped installation (cmake --install --strip, the package) strips as
# Debian does: the compiler's notes in .comment and .note go too.
install(CODE "if(CMAKE_INSTALL_DO_STRIP)
  execute_process(COMMAND \"${CMAKE_STRIP}\" --remove-section=.comment --remove-section=.note
                          \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin/zuvo\" RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR \"strip could not strip bin/zuvo\")
  endif()
endif()")

set(ZUVO_WINDOWS_BUILD "" CACHE PATH
    "A Windows build folder whose StartZUVO.exe the installation and the package take")
if(ZUVO_WINDOWS_BUILD)
  # The copy in the zip's folder is the one without debugging information.
  install(FILES ${ZUVO_WINDOWS_BUILD}/package/StartZUVO-${PROJECT_VERSION}/StartZUVO.exe
          DESTINATION ${ZUVO_PRIVATE_DIR})
endif()

include(${ZUVO_PACKAGING_DIR}/documents.cmake)
include(${ZUVO_PACKAGING_DIR}/icons.cmake)
install(FILES ${ZUVO_PACKAGING_DIR}/startzuvo.desktop DESTINATION share/applications)
install(FILES ${ZUVO_PACKAGING_DIR}/startzuvo-mime.xml DESTINATION share/mime/packages
        RENAME startzuvo.xml)
install(FILES ${ZUVO_PACKAGING_DIR}/org.example.startzuvo.metainfo.xml DESTINATION share/metainfo)

# The Debian package. File triggers of shared-mime-info and
# desktop-file-utils register the type and the desktop entry on installation.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zuvo)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "StartZUVO developers <startzuvo@example.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS wine)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "prepares and starts the railway simulator Kantrelwick")
# The extended description; CPack indents its lines.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "StartZUVO installs the chosen assets of a Kantrelwick installation, swaps
files for a run, starts the simulator under Wine and waits, then takes the
swaps back and keeps the camera sets. It also removes missing objects from
layouts, writes inventory lists and turns height and colour pictures into
terrain tiles.

zuvo is the console program. startzuvo starts the dialog StartZUVO.exe
under Wine; file managers open .anl and .danl files with it.")
include(CPack)
