# `make package` (cpack -G DEB): a Debian package of what `cmake --install`
# puts under /usr. Its run-time dependencies are worked out by dpkg-shlibdeps
# from the libraries the program links. The MIME, menu and icon databases
# are refreshed by the file triggers of the packages that own them
# (shared-mime-info, desktop-file-utils, the icon cache), on install and on
# removal alike, so the package needs no maintainer scripts.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quorvane)
set(CPACK_PACKAGE_VENDOR "The Quorvane developers")
set(CPACK_PACKAGE_CONTACT "The Quorvane developers <developers@quorvane.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor and checker of natural-deduction proofs")
set(CPACK_PACKAGE_INSTALL_DIRECTORY quorvane)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION math)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.quorvane.org/")
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
