# `make package` (cpack -G DEB): a Debian package of what `cmake --install`
# puts under /usr. Its run-time dependencies are worked out by dpkg-shlibdeps
# from the libraries the program links. The MIME, menu and icon databases
# are refreshed by the file triggers of the packages that own them
# (shared-mime-info, desktop-file-utils, the icon cache), on install and on
# removal alike, so the package needs no maintainer scripts.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quorvane)
set(CPACK_PACKAGE_VENDOR "The Quorvane developers")
# The maintainer is whoever makes the package (desktop/maintainer.cmake),
# worked out by package_config.cmake as cpack runs.
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/package_config.cmake)
set(CPACK_QV_DESKTOP_DIR ${CMAKE_CURRENT_LIST_DIR})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor and checker of natural-deduction proofs")
set(CPACK_PACKAGE_INSTALL_DIRECTORY quorvane)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION math)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
if(NOT QV_WEB_SITE STREQUAL "")
  set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${QV_WEB_SITE}")
endif()
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS OFF)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Quorvane builds proofs in first-order predicate logic with set theory by
natural deduction, one numbered statement at a time. Every statement enters
by a rule: a premise, an axiom, or an inference that the program derives
when the user picks a rule and clicks the statements it applies to. Each
statement is parsed and its variables checked, and subproofs are closed by
the Conclusion rule. Proofs are saved as .proof files, printed or exported
as HTML. A manual with two tutorials is included.")
include(CPack)
