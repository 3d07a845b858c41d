# Installs the build into a staging folder and checks that every file of the
# program's desktop install is there and that the installed program finds
# its manual. Arguments: BUILD_DIR, STAGE, SOURCE_DIR, UI_TEST.
# cmake --install writes the list of installed files into the build folder,
# where the user's own install keeps it for uninstalling: it is put back.
set(manifest ${BUILD_DIR}/install_manifest.txt)
if(EXISTS ${manifest})
  file(READ ${manifest} kept)
endif()
macro(restore_manifest)
  if(DEFINED kept)
    file(WRITE ${manifest} "${kept}")
  else()
    file(REMOVE ${manifest})
  endif()
endmacro()
macro(fail text)
  restore_manifest()
  message(FATAL_ERROR "${text}")
endmacro()

file(REMOVE_RECURSE ${STAGE})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${STAGE}
                RESULT_VARIABLE result OUTPUT_QUIET)
restore_manifest()
if(result)
  fail("cmake --install failed: ${result}")
endif()

# The build keeps the manual beside the program too, where `make run` finds it.
if(NOT EXISTS ${BUILD_DIR}/src/app/help/index.html)
  fail("the manual is not beside the built program")
endif()

set(expected
  bin/quorvane
  share/applications/quorvane.desktop
  share/icons/hicolor/scalable/apps/quorvane.svg
  share/mime/packages/quorvane.xml)
file(GLOB_RECURSE pages RELATIVE ${SOURCE_DIR}/help ${SOURCE_DIR}/help/*)
foreach(p ${pages})
  list(APPEND expected share/quorvane/help/${p})
endforeach()
foreach(f ${expected})
  if(NOT EXISTS ${STAGE}/${f})
    fail("not installed: ${f}")
  endif()
endforeach()

# The menu entry starts the program with the file, and the type it opens is
# the one the MIME package declares for *.proof.
file(READ ${STAGE}/share/applications/quorvane.desktop desktop)
file(READ ${STAGE}/share/mime/packages/quorvane.xml mime)
foreach(want "Exec=quorvane %f" "Icon=quorvane" "MimeType=application/x-quorvane-proof;")
  string(FIND "${desktop}" "${want}" at)
  if(at EQUAL -1)
    fail("desktop entry lacks ${want}")
  endif()
endforeach()
foreach(want "type=\"application/x-quorvane-proof\"" "pattern=\"*.proof\"")
  string(FIND "${mime}" "${want}" at)
  if(at EQUAL -1)
    fail("MIME package lacks ${want}")
  endif()
endforeach()

execute_process(
  COMMAND ${CMAKE_COMMAND} -E env QV_INSTALLED_PREFIX=${STAGE} QT_QPA_PLATFORM=offscreen
          ${UI_TEST} --gtest_filter=HelpUi.InstalledProgramFindsItsManual
  RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
string(FIND "${out}" "[  PASSED  ] 1 test" passed)
if(result OR passed EQUAL -1)
  fail("the installed program does not find its manual:\n${out}\n${err}")
endif()
file(REMOVE_RECURSE ${STAGE})
