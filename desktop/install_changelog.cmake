# Run by `cmake --install` and cpack: installs the package's change log,
# its trailer line naming whoever installs or packages it, compressed as
# Debian keeps it (no name or time stamp in the gzip header). QV_CHANGELOG_IN,
# QV_CHANGELOG_OUT and QV_DOC_DIR are set before it.
include(${CMAKE_CURRENT_LIST_DIR}/maintainer.cmake)
qv_maintainer(QV_MAINTAINER)
configure_file("${QV_CHANGELOG_IN}" "${QV_CHANGELOG_OUT}" @ONLY)
execute_process(COMMAND gzip -9 -n -f "${QV_CHANGELOG_OUT}" RESULT_VARIABLE result)
if(result)
  message(FATAL_ERROR "gzip could not compress ${QV_CHANGELOG_OUT}: ${result}")
endif()
file(INSTALL "${QV_CHANGELOG_OUT}.gz" DESTINATION "${CMAKE_INSTALL_PREFIX}/${QV_DOC_DIR}"
     PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
