# Builds the Debian package as `make package` does and checks it: the files
# it installs under /usr, no generated database among them, the run-time
# dependencies declared, the maintainer named by DEBFULLNAME and DEBEMAIL in
# the control data and the change log, and lintian (where installed) without
# errors. Arguments: BUILD_DIR, STAGE.
# cpack installs through the build folder, which keeps the user's install
# manifest: it is put back.
include(${CMAKE_CURRENT_LIST_DIR}/install_common.cmake)
keep_records()

file(REMOVE_RECURSE "${STAGE}")
set(maintainer "Pat Packager <pat.packager@example.org>")
execute_process(COMMAND ${CMAKE_COMMAND} -E env --unset=DESTDIR "DEBFULLNAME=Pat Packager"
                        "DEBEMAIL=pat.packager@example.org" cpack -G DEB --config "${BUILD_DIR}/CPackConfig.cmake" -B "${STAGE}"
                RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
file(GLOB debs "${STAGE}/quorvane_*.deb")
list(LENGTH debs n)
if(result OR NOT n EQUAL 1)
  fail("cpack -G DEB made no package (${result}):\n${out}\n${err}")
endif()

execute_process(COMMAND dpkg-deb --contents ${debs} RESULT_VARIABLE result OUTPUT_VARIABLE listing)
execute_process(COMMAND dpkg-deb --field ${debs} Package Version Architecture Depends Section Maintainer
                OUTPUT_VARIABLE fields)
execute_process(COMMAND sh -c "dpkg-deb --fsys-tarfile \"$0\" | tar -xO ./usr/share/doc/quorvane/changelog.gz | gunzip"
                        ${debs} OUTPUT_VARIABLE changelog)
execute_process(COMMAND dpkg-deb --info ${debs} OUTPUT_VARIABLE info)
if(result)
  fail("dpkg-deb cannot read ${debs}")
endif()
message(STATUS "${debs}:\n${fields}")

set(expected
  ./usr/bin/quorvane
  ./usr/share/applications/quorvane.desktop
  ./usr/share/mime/packages/quorvane.xml
  ./usr/share/metainfo/org.quorvane.quorvane.metainfo.xml
  ./usr/share/icons/hicolor/scalable/apps/quorvane.svg
  ./usr/share/quorvane/help/index.html
  ./usr/share/doc/quorvane/copyright
  ./usr/share/doc/quorvane/changelog.gz)
foreach(size 16 22 24 32 48 64 128 256)
  list(APPEND expected ./usr/share/icons/hicolor/${size}x${size}/apps/quorvane.png)
endforeach()
list(TRANSFORM expected PREPEND " ")
list(TRANSFORM expected APPEND "\n")
require_strings("${listing}" "the package's file list" ${expected})
# Everything lies under /usr, owned by root; the databases the desktop
# builds from these files are the triggers' business, not the package's
# (a cache in the package would be left stale or removed with it).
string(REGEX MATCHALL "[^\n]+" entries "${listing}")
foreach(e ${entries})
  if(NOT e MATCHES " root/root .* \\./usr/" AND NOT e MATCHES " \\./$")
    fail("package entry outside /usr or not root's: ${e}")
  endif()
  if(e MATCHES "mime\\.cache|mimeinfo\\.cache|icon-theme\\.cache|/share/mime/application/")
    fail("the package carries a generated database: ${e}")
  endif()
endforeach()

require_strings("${fields}" "the package's control fields" "Package: quorvane" "Architecture: " "Section: math"
                "libqt6widgets6" "libqt6printsupport6" "libc6" "Maintainer: ${maintainer}\n")
require_strings("${changelog}" "the package's change log" "\n -- ${maintainer}  ")
# No maintainer script: the file triggers of shared-mime-info,
# desktop-file-utils and the icon cache refresh the databases.
if(info MATCHES "(pre|post)(inst|rm)")
  fail("the package has maintainer scripts:\n${info}")
endif()

find_program(lintian lintian)
if(lintian)
  execute_process(COMMAND ${lintian} --tag-display-limit 0 ${debs} OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(out MATCHES "(^|\n)E: ")
    fail("lintian reports errors:\n${out}")
  endif()
endif()

restore_records()
file(REMOVE_RECURSE "${STAGE}")
