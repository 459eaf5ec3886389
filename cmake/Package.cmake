# What `cmake --install` puts where, and the Debian package built from it by CPack.
include(GNUInstallDirs)

set(CATTOOLS_MANUALS catprep catintake catweld catexport catcheck)
foreach(tool ${CATTOOLS_MANUALS})
  set(source ${PROJECT_SOURCE_DIR}/man/${tool}.1)
  set(packed ${PROJECT_BINARY_DIR}/man/${tool}.1.gz)
  add_custom_command(OUTPUT ${packed}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/man
    COMMAND gzip -9 -n -c ${source} > ${packed}
    DEPENDS ${source}
    VERBATIM)
  list(APPEND packed_manuals ${packed})
endforeach()
add_custom_target(manuals ALL DEPENDS ${packed_manuals})
install(FILES ${packed_manuals} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES README.md doc/catalog_format.md DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${PROJECT_NAME})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Tavelle catalog tools maintainers <cattools@tavelle.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "tools that prepare message catalogs for the Tavelle library")
# The summary is the package's first description line; this is the text below it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Command-line tools for the message catalogs that the Tavelle\n\
internationalisation library reads at run time. catprep expands a catalog\n\
template with a line-oriented preprocessor (macros with parameters,\n\
conditional sections, included files, messages and errors). catintake\n\
imports translators' PO (gettext) and XLIFF 1.2/2.0 files into a catalog,\n\
merging them into the existing one. catweld includes sub-catalogs into a\n\
main catalog by their 32-bit message keys. catexport writes PO, POT and\n\
XLIFF files and sub-catalogs out of a catalog for translators. catcheck\n\
reports what is wrong in a catalog and its sub-catalogs (key collisions,\n\
printf directives that differ from the key text, lines the tools leave\n\
out) and how far each language is translated.")
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
include(CPack)
