# Included by the install and package checks. Their installs write records
# into the build folder (the install manifest, what a `make install` wrote
# and where), where the user's own install keeps them for uninstalling:
# keep_records() moves them aside, so that the checks start without them,
# and fail() and restore_records() move them back, their owner unchanged.
set(install_records install_manifest.txt installed_files.txt installed_folders.txt)
macro(keep_records)
  foreach(r ${install_records})
    if(EXISTS "${BUILD_DIR}/${r}.kept")
      # Kept by a check that was stopped before it moved them back: the
      # record beside it is that check's own.
      file(REMOVE "${BUILD_DIR}/${r}")
    elseif(EXISTS "${BUILD_DIR}/${r}")
      file(RENAME "${BUILD_DIR}/${r}" "${BUILD_DIR}/${r}.kept")
    endif()
  endforeach()
endmacro()
macro(restore_records)
  foreach(r ${install_records})
    file(REMOVE "${BUILD_DIR}/${r}")
    if(EXISTS "${BUILD_DIR}/${r}.kept")
      file(RENAME "${BUILD_DIR}/${r}.kept" "${BUILD_DIR}/${r}")
    endif()
  endforeach()
endmacro()
macro(fail text)
  restore_records()
  message(FATAL_ERROR "${text}")
endmacro()
# Fails unless Text holds each of the strings after Label, which names the
# text in the message.
function(require_strings Text Label)
  foreach(want ${ARGN})
    string(FIND "${Text}" "${want}" at)
    if(at EQUAL -1)
      fail("${Label} lacks ${want}")
    endif()
  endforeach()
endfunction()
