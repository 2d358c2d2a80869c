# The icon of the desktop entry and the MIME types (included by
# package.cmake, native builds only): the drawing of the Windows icon
# (src/ui/win32/make_icon.sh, its one source) as SVG, and PNGs rendered from
# it by rsvg-convert (librsvg2-bin), in the hicolor theme:
#   share/icons/hicolor/scalable/apps/startzuvo.svg
#   share/icons/hicolor/SIZExSIZE/apps/startzuvo.png
# The small sizes are rendered from the 16-pixel drawing, the others from
# the 32-pixel one.

set(ZUVO_ICON_SCRIPT ${PROJECT_SOURCE_DIR}/src/ui/win32/make_icon.sh)
set(ZUVO_ICON_DIR ${CMAKE_CURRENT_BINARY_DIR}/icons)
file(MAKE_DIRECTORY ${ZUVO_ICON_DIR})
foreach(drawing large small)
  add_custom_command(
    OUTPUT ${ZUVO_ICON_DIR}/startzuvo-${drawing}.svg
    COMMAND bash ${ZUVO_ICON_SCRIPT} --svg ${drawing} ${ZUVO_ICON_DIR}/startzuvo-${drawing}.svg
    DEPENDS ${ZUVO_ICON_SCRIPT}
    VERBATIM)
endforeach()
set(ZUVO_ICONS ${ZUVO_ICON_DIR}/startzuvo-large.svg)
install(FILES ${ZUVO_ICON_DIR}/startzuvo-large.svg DESTINATION share/icons/hicolor/scalable/apps
        RENAME startzuvo.svg)

find_program(ZUVO_RSVG_CONVERT rsvg-convert)
if(ZUVO_RSVG_CONVERT)
  foreach(size 16 22 24 32 48 64 128 256)
    set(drawing large)
    if(size LESS 32)
      set(drawing small)
    endif()
    set(png ${ZUVO_ICON_DIR}/${size}x${size}/startzuvo.png)
    add_custom_command(
      OUTPUT ${png}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${ZUVO_ICON_DIR}/${size}x${size}
      COMMAND ${ZUVO_RSVG_CONVERT} -w ${size} -h ${size} -o ${png} ${ZUVO_ICON_DIR}/startzuvo-${drawing}.svg
      DEPENDS ${ZUVO_ICON_DIR}/startzuvo-${drawing}.svg
      VERBATIM)
    list(APPEND ZUVO_ICONS ${png})
    install(FILES ${png} DESTINATION share/icons/hicolor/${size}x${size}/apps)
  endforeach()
else()
  message(WARNING "rsvg-convert (librsvg2-bin) is missing: the installation gets the SVG icon only")
endif()
add_custom_target(zuvo_icons ALL DEPENDS ${ZUVO_ICONS})
