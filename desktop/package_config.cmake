# Read by cpack as it makes the package: the package's maintainer is whoever
# makes it, named as the change log's trailer names them.
include(${CPACK_QV_DESKTOP_DIR}/maintainer.cmake)
qv_maintainer(CPACK_DEBIAN_PACKAGE_MAINTAINER)
set(CPACK_PACKAGE_CONTACT "${CPACK_DEBIAN_PACKAGE_MAINTAINER}")
if("$ENV{DEBFULLNAME}$ENV{DEBEMAIL}" STREQUAL "")
  message(STATUS "The package's maintainer: ${CPACK_DEBIAN_PACKAGE_MAINTAINER}; set DEBFULLNAME and DEBEMAIL to name another")
endif()
