# The package's documents (included by package.cmake, native builds only):
#   share/man/man1/zuvo.1.gz, startzuvo.1.gz        German, the main pages:
#                                                   zuvo speaks German in
#                                                   every locale, so does man
#   share/man/en/man1/zuvo.1.gz, startzuvo.1.gz     English (man -L en)
#   share/bash-completion/completions/zuvo          bash completion
#   share/zsh/vendor-completions/_zuvo              zsh completion
#   share/doc/zuvo/copyright, changelog.gz, NEWS.gz, README.md
# zuvo's page and the completion are made at build time by zuvo_docgen
# (tools/docgen) from zuvo's own description of its command line, so a new
# command or option is in them without anyone writing it down.

set(ZUVO_DOCS_DIR ${CMAKE_CURRENT_BINARY_DIR}/documents)
file(MAKE_DIRECTORY ${ZUVO_DOCS_DIR} ${ZUVO_DOCS_DIR}/de ${ZUVO_DOCS_DIR}/en)
set(ZUVO_COMMAND_TABLE ${ZUVO_DOCS_DIR}/commands.json)
add_custom_command(
  OUTPUT ${ZUVO_COMMAND_TABLE}
  COMMAND sh -c "\"$1\" --describe-commands >\"$2.tmp\" && mv \"$2.tmp\" \"$2\"" sh $<TARGET_FILE:zuvo>
          ${ZUVO_COMMAND_TABLE}
  DEPENDS zuvo
  COMMENT "Reading zuvo's command table"
  VERBATIM)

# zuvo_compressed(OUTPUT INPUT): gzip as Debian wants it, with no name or time
# in the header.
function(zuvo_compressed output input)
  add_custom_command(
    OUTPUT ${output}
    COMMAND sh -c "gzip -9 -n -c \"$1\" >\"$2\"" sh ${input} ${output}
    DEPENDS ${input}
    VERBATIM)
endfunction()

set(ZUVO_DOCUMENTS "")
foreach(language de en)
  set(out ${ZUVO_DOCS_DIR}/${language})
  add_custom_command(
    OUTPUT ${out}/zuvo.1
    COMMAND zuvo_docgen man ${language} ${ZUVO_COMMAND_TABLE} ${ZUVO_PACKAGING_DIR}/man/zuvo.${language}.1.in
            ${PROJECT_VERSION} ${out}/zuvo.1
    DEPENDS zuvo_docgen ${ZUVO_COMMAND_TABLE} ${ZUVO_PACKAGING_DIR}/man/zuvo.${language}.1.in
    COMMENT "Writing the manual page zuvo(1), ${language}"
    VERBATIM)
  add_custom_command(
    OUTPUT ${out}/startzuvo.1
    COMMAND zuvo_docgen page ${ZUVO_PACKAGING_DIR}/man/startzuvo.${language}.1.in ${PROJECT_VERSION}
            ${out}/startzuvo.1
    DEPENDS zuvo_docgen ${ZUVO_PACKAGING_DIR}/man/startzuvo.${language}.1.in
    VERBATIM)
  foreach(page zuvo startzuvo)
    zuvo_compressed(${out}/${page}.1.gz ${out}/${page}.1)
    list(APPEND ZUVO_DOCUMENTS ${out}/${page}.1.gz)
  endforeach()
endforeach()

foreach(shell bash zsh)
  add_custom_command(
    OUTPUT ${ZUVO_DOCS_DIR}/zuvo.${shell}
    COMMAND zuvo_docgen ${shell} ${ZUVO_COMMAND_TABLE} ${ZUVO_PACKAGING_DIR}/completion/zuvo.${shell}.in
            ${ZUVO_DOCS_DIR}/zuvo.${shell}
    DEPENDS zuvo_docgen ${ZUVO_COMMAND_TABLE} ${ZUVO_PACKAGING_DIR}/completion/zuvo.${shell}.in
    COMMENT "Writing the ${shell} completion"
    VERBATIM)
  list(APPEND ZUVO_DOCUMENTS ${ZUVO_DOCS_DIR}/zuvo.${shell})
endforeach()

# The Debian changelog's newest entry is this version.
file(STRINGS ${ZUVO_PACKAGING_DIR}/changelog ZUVO_CHANGELOG_HEAD LIMIT_COUNT 1)
if(NOT ZUVO_CHANGELOG_HEAD MATCHES "^zuvo \\(${PROJECT_VERSION}\\) ")
  message(FATAL_ERROR "packaging/changelog begins with \"${ZUVO_CHANGELOG_HEAD}\", not version ${PROJECT_VERSION}")
endif()
foreach(document changelog NEWS)
  zuvo_compressed(${ZUVO_DOCS_DIR}/${document}.gz ${ZUVO_PACKAGING_DIR}/${document})
  list(APPEND ZUVO_DOCUMENTS ${ZUVO_DOCS_DIR}/${document}.gz)
endforeach()
add_custom_target(zuvo_documents ALL DEPENDS ${ZUVO_DOCUMENTS})

install(FILES ${ZUVO_DOCS_DIR}/de/zuvo.1.gz ${ZUVO_DOCS_DIR}/de/startzuvo.1.gz DESTINATION share/man/man1)
install(FILES ${ZUVO_DOCS_DIR}/en/zuvo.1.gz ${ZUVO_DOCS_DIR}/en/startzuvo.1.gz DESTINATION share/man/en/man1)
install(FILES ${ZUVO_DOCS_DIR}/zuvo.bash DESTINATION share/bash-completion/completions RENAME zuvo)
install(FILES ${ZUVO_DOCS_DIR}/zuvo.zsh DESTINATION share/zsh/vendor-completions RENAME _zuvo)
install(FILES ${ZUVO_PACKAGING_DIR}/copyright ${ZUVO_DOCS_DIR}/changelog.gz ${ZUVO_DOCS_DIR}/NEWS.gz
              ${PROJECT_SOURCE_DIR}/README.md
        DESTINATION share/doc/zuvo)
