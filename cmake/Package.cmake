# What an installation holds besides the program and its data: the desktop's launcher, icon and
# software-centre entry, the copyright and changelog Debian asks of every package; and the Debian
# package itself (make package).
set(desktop ${PROJECT_SOURCE_DIR}/data/desktop)
install(FILES ${desktop}/jp.brisko.Pellor3.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${desktop}/jp.brisko.Pellor3.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${PROJECT_SOURCE_DIR}/resources/pellor3.svg
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps RENAME jp.brisko.Pellor3.svg)
install(FILES ${PROJECT_SOURCE_DIR}/resources/pellor3.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/256x256/apps RENAME jp.brisko.Pellor3.png)

set(doc ${PROJECT_BINARY_DIR}/package-doc)
file(MAKE_DIRECTORY ${doc})
configure_file(${desktop}/copyright ${doc}/copyright COPYONLY)
add_custom_command(OUTPUT ${doc}/changelog.gz
    COMMAND gzip -n -9 -c ${desktop}/changelog > ${doc}/changelog.gz
    DEPENDS ${desktop}/changelog)
add_custom_target(pellor3_package_doc ALL DEPENDS ${doc}/changelog.gz)
install(FILES ${doc}/copyright ${doc}/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pellor3)
set(CPACK_PACKAGE_VENDOR Brisko)
set(CPACK_PACKAGE_CONTACT "Brisko <pellor3@brisko.jp>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "customer book that prints addresses on Japanese postcards")
set(CPACK_PACKAGE_DESCRIPTION
    "Brisko Pellor3 keeps the customers of a small Japanese business: names with
their readings, addresses, phones, mail, birthdays, classes, notes, history
and pictures. It prints their addresses on postcards, envelopes and label
sheets in vertical or horizontal writing, with postal code boxes and the
customer barcode.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic, fonts-ipafont-mincho, qt6-translations-l10n")
set(CPACK_STRIP_FILES ON)
include(CPack)
