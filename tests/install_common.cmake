# Included by the install and package checks. Their installs write records
# into the build folder (the install manifest, the files and folders a
# `make install` made), where the user's own install keeps them for
# uninstalling: keep_records() reads them first, and fail() and
# restore_records() put them back.
set(install_records install_manifest.txt installed_files.txt installed_folders.txt)
macro(keep_records)
  foreach(r ${install_records})
    unset(kept_${r})
    if(EXISTS "${BUILD_DIR}/${r}")
      file(READ "${BUILD_DIR}/${r}" kept_${r})
    endif()
  endforeach()
endmacro()
macro(restore_records)
  foreach(r ${install_records})
    if(DEFINED kept_${r})
      file(WRITE "${BUILD_DIR}/${r}" "${kept_${r}}")
    else()
      file(REMOVE "${BUILD_DIR}/${r}")
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
