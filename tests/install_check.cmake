# Installs the build into staging folders and checks the program's desktop
# install: every file is there (icons at each size, the software-centre
# description valid), the installed program finds its manual, and `make
# install` / `make uninstall` work with a prefix holding blanks and quotes
# and with DESTDIR. Arguments: BUILD_DIR, STAGE, SOURCE_DIR, UI_TEST.
include(${CMAKE_CURRENT_LIST_DIR}/install_common.cmake)
keep_records()
# The environment of a staging install: no DESTDIR or make flags of the
# caller's.
set(clean_env ${CMAKE_COMMAND} -E env --unset=DESTDIR --unset=PREFIX --unset=MAKEFLAGS --unset=MFLAGS --unset=MAKELEVEL)

file(REMOVE_RECURSE "${STAGE}")
execute_process(COMMAND ${clean_env} ${CMAKE_COMMAND} --install "${BUILD_DIR}" --prefix "${STAGE}/usr"
                RESULT_VARIABLE result OUTPUT_QUIET)
if(result)
  fail("cmake --install failed: ${result}")
endif()
set(root "${STAGE}/usr")

# The build keeps the manual beside the program too, where `make run` finds it.
if(NOT EXISTS "${BUILD_DIR}/src/app/help/index.html")
  fail("the manual is not beside the built program")
endif()

set(icon_sizes 16 22 24 32 48 64 128 256)
set(expected
  bin/quorvane
  share/applications/quorvane.desktop
  share/icons/hicolor/scalable/apps/quorvane.svg
  share/mime/packages/quorvane.xml
  share/metainfo/org.quorvane.quorvane.metainfo.xml
  share/doc/quorvane/copyright
  share/doc/quorvane/changelog.gz)
foreach(size ${icon_sizes})
  list(APPEND expected share/icons/hicolor/${size}x${size}/apps/quorvane.png)
endforeach()
file(GLOB_RECURSE pages RELATIVE "${SOURCE_DIR}/help" "${SOURCE_DIR}/help/*")
foreach(p ${pages})
  list(APPEND expected share/quorvane/help/${p})
endforeach()
foreach(f ${expected})
  if(NOT EXISTS "${root}/${f}")
    fail("not installed: ${f}")
  endif()
endforeach()

# Each PNG icon is as wide and high as its folder says (the PNG header's
# width and height, big-endian, at bytes 16 to 23).
foreach(size ${icon_sizes})
  file(READ "${root}/share/icons/hicolor/${size}x${size}/apps/quorvane.png" header HEX LIMIT 24)
  string(SUBSTRING "${header}" 2 6 magic)
  string(SUBSTRING "${header}" 32 16 dims)
  math(EXPR want "${size}" OUTPUT_FORMAT HEXADECIMAL)
  string(REPLACE "0x" "" want "${want}")
  string(LENGTH "${want}" n)
  while(n LESS 8)
    set(want "0${want}")
    string(LENGTH "${want}" n)
  endwhile()
  if(NOT magic STREQUAL "504e47" OR NOT dims STREQUAL "${want}${want}")
    fail("the ${size}x${size} icon is not a ${size} by ${size} PNG picture (header ${header})")
  endif()
endforeach()

# The menu entry starts the program with the file, and the type it opens is
# the one the MIME package declares for *.proof; the software centre is told
# the same type.
file(READ "${root}/share/applications/quorvane.desktop" desktop)
file(READ "${root}/share/mime/packages/quorvane.xml" mime)
file(READ "${root}/share/metainfo/org.quorvane.quorvane.metainfo.xml" metainfo)
require_strings("${desktop}" "the desktop entry" "Exec=quorvane %f" "Icon=quorvane" "MimeType=application/x-quorvane-proof;")
require_strings("${mime}" "the MIME package" "type=\"application/x-quorvane-proof\"" "pattern=\"*.proof\"")
require_strings("${metainfo}" "the AppStream description" "<mediatype>application/x-quorvane-proof</mediatype>"
                "<launchable type=\"desktop-id\">quorvane.desktop</launchable>")
foreach(check "appstreamcli;validate;--no-net;--pedantic;${root}/share/metainfo/org.quorvane.quorvane.metainfo.xml"
              "desktop-file-validate;${root}/share/applications/quorvane.desktop")
  execute_process(COMMAND ${check} RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(result OR (check MATCHES "^desktop" AND NOT "${out}${err}" STREQUAL ""))
    list(GET check 0 tool)
    fail("${tool} refuses the installed file (${result}):\n${out}\n${err}")
  endif()
endforeach()

execute_process(
  COMMAND ${CMAKE_COMMAND} -E env "QV_INSTALLED_PREFIX=${root}" QT_QPA_PLATFORM=offscreen
          "${UI_TEST}" --gtest_filter=HelpUi.InstalledProgramFindsItsManual
  RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
string(FIND "${out}" "[  PASSED  ] 1 test" passed)
if(result OR passed EQUAL -1)
  fail("the installed program does not find its manual:\n${out}\n${err}")
endif()

# ---- make install and make uninstall ----
# Runs the Makefile's target with the build already made (-o build);
# make_result and make_output tell how it went.
function(try_make target)
  execute_process(COMMAND ${clean_env} ${ARGN} make --no-print-directory -C "${SOURCE_DIR}" -o build ${target}
                          "BUILD=${BUILD_DIR}"
                  RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
  set(make_result "${result}" PARENT_SCOPE)
  set(make_output "${out}${err}" PARENT_SCOPE)
endfunction()
macro(run_make target)
  try_make(${target} ${ARGN})
  if(make_result)
    fail("make ${target} failed (${make_result}):\n${make_output}")
  endif()
endmacro()
function(files_under dir out)
  file(GLOB_RECURSE found LIST_DIRECTORIES true "${dir}/*")
  set(${out} "${found}" PARENT_SCOPE)
endfunction()

# A prefix with blanks, quotes and a "$", taken as typed: every file goes
# there, the desktop's databases are made there.
set(odd "${STAGE}/my 'odd' \"$prefix\"")
run_make(install "PREFIX=${odd}/usr")
foreach(f ${expected})
  if(NOT EXISTS "${odd}/usr/${f}")
    fail("make install with a prefix holding blanks did not install ${f}:\n${make_output}")
  endif()
endforeach()
find_program(update_mime update-mime-database)
if(update_mime AND NOT EXISTS "${odd}/usr/share/mime/mime.cache")
  fail("make install did not refresh the MIME database under its prefix")
endif()
# The uninstall removes only what the install wrote: a line added to its
# record for a file outside the install, or for one reached with "..", is
# skipped however right its checksum, and a file replaced since the install
# (say by a package) is left and named. The rest goes, the databases and
# the folders the install made with it.
set(victim "${STAGE}/not installed")
file(WRITE "${victim}" "a file of someone else's")
file(SHA256 "${victim}" sum)
file(APPEND "${BUILD_DIR}/installed_files.txt" "${sum}  ${victim}\n${sum}  ${odd}/usr/../../not installed\n")
set(replaced "${odd}/usr/share/doc/quorvane/copyright")
file(WRITE "${replaced}" "a package's copyright file")
run_make(uninstall)
if(NOT EXISTS "${victim}" OR NOT EXISTS "${replaced}")
  fail("make uninstall removed a file the install did not write:\n${make_output}")
endif()
string(FIND "${make_output}" "changed since the install: ${replaced}" named)
if(named EQUAL -1)
  fail("make uninstall does not name the file it left:\n${make_output}")
endif()
files_under("${odd}" left)
list(REMOVE_ITEM left "${odd}/usr" "${odd}/usr/share" "${odd}/usr/share/doc" "${odd}/usr/share/doc/quorvane" "${replaced}")
if(left)
  fail("make uninstall left behind:\n${left}\n${make_output}")
endif()

# DESTDIR: the files go into the staging folder and come out again; the
# prefix itself, outside it, is never touched (no database refreshed there),
# and neither is a program already there.
set(outside "${STAGE}/outside")
set(destdir "${STAGE}/dest dir")
file(MAKE_DIRECTORY "${outside}/share/mime/packages" "${outside}/share/applications")
file(WRITE "${outside}/bin/quorvane" "the program a package installed")
files_under("${outside}" before)
run_make(install "DESTDIR=${destdir}" "PREFIX=${outside}")
foreach(f ${expected})
  if(NOT EXISTS "${destdir}${outside}/${f}")
    fail("make install with DESTDIR did not stage ${f}:\n${make_output}")
  endif()
endforeach()
files_under("${outside}" after)
if(NOT after STREQUAL before)
  fail("make install with DESTDIR wrote outside it:\n${after}")
endif()
# An uninstall without that DESTDIR is refused, saying where the install
# went, and removes nothing anywhere.
try_make(uninstall)
string(FIND "${make_output}" "went to ${destdir}${outside} " named)
files_under("${outside}" after)
if(NOT make_result OR named EQUAL -1 OR NOT after STREQUAL before OR NOT EXISTS "${destdir}${outside}/bin/quorvane")
  fail("make uninstall without the DESTDIR of the install was not refused (${make_result}):\n${make_output}")
endif()
# Nor does a root uninstall follow a record that another user wrote (the
# build folder is theirs).
execute_process(COMMAND id -u OUTPUT_VARIABLE uid OUTPUT_STRIP_TRAILING_WHITESPACE)
if(uid STREQUAL "0")
  execute_process(COMMAND chown 65534 "${BUILD_DIR}/installed_files.txt")
  try_make(uninstall "DESTDIR=${destdir}")
  execute_process(COMMAND chown 0 "${BUILD_DIR}/installed_files.txt")
  if(NOT make_result OR NOT EXISTS "${destdir}${outside}/bin/quorvane")
    fail("a root make uninstall followed a record of another user's:\n${make_output}")
  endif()
endif()
run_make(uninstall "DESTDIR=${destdir}")
files_under("${destdir}" left)
files_under("${outside}" after)
if(left OR NOT after STREQUAL before)
  fail("make uninstall with DESTDIR left or touched:\n${left}\n${after}\n${make_output}")
endif()

restore_records()
file(REMOVE_RECURSE "${STAGE}")
