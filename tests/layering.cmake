# Fails when a library under src/ includes a header of a library above it in
# the layer table of docs/ARCHITECTURE.md, or when a library that must stay
# free of Qt includes a Qt header.
# Run as: cmake -DSRC_DIR=<project>/src -P layering.cmake
#
# Each library lists the folders whose headers it may include: its own and
# every library below it. "platform" is platform_core (the top of
# src/platform); "platform/qt" is platform_qt.
cmake_minimum_required(VERSION 3.20)
if(NOT SRC_DIR)
  message(FATAL_ERROR "layering.cmake: pass -DSRC_DIR=<project>/src")
endif()

set(below_platform "platform")
set(below_platform/qt "platform;platform/qt")
set(below_expr "expr")
set(below_document "document;expr;platform")
set(below_view "view;document;expr;platform")
set(below_files "files;view;document;expr;platform;platform/qt")
set(below_entry "entry;view;document;expr;platform;platform/qt")
set(below_rules "rules;entry;view;document;expr;platform;platform/qt")
set(below_axioms "axioms;rules;entry;view;document;expr;platform;platform/qt")
set(below_mainwindow "mainwindow;axioms;rules;entry;files;view;document;expr;platform;platform/qt")
set(below_app "app;mainwindow;axioms;rules;entry;files;view;document;expr;platform;platform/qt")

# Libraries that include no Qt header at all.
set(qt_free "platform;expr;document;view")

set(project_folders "platform;expr;document;view;files;entry;rules;axioms;mainwindow;app")
set(libs "platform;platform/qt;expr;document;view;files;entry;rules;axioms;mainwindow;app")

set(faults "")
set(checked 0)
foreach(lib IN LISTS libs)
  if(NOT IS_DIRECTORY "${SRC_DIR}/${lib}")
    message(FATAL_ERROR "layering.cmake: no folder ${SRC_DIR}/${lib}")
  endif()
  # Only the folder's own files: src/platform/qt is a library of its own.
  file(GLOB sources "${SRC_DIR}/${lib}/*.cpp" "${SRC_DIR}/${lib}/*.h")
  foreach(src IN LISTS sources)
    math(EXPR checked "${checked} + 1")
    file(STRINGS "${src}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
    foreach(line IN LISTS lines)
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*[<\"]([^>\"]*)[>\"].*$" "\\1" header "${line}")
      string(REGEX MATCH "^[^/]+" top "${header}")
      set(folder "")
      if(top STREQUAL "platform" AND header MATCHES "^platform/qt/")
        set(folder "platform/qt")
      elseif(top IN_LIST project_folders AND header MATCHES "/")
        set(folder "${top}")
      endif()
      file(RELATIVE_PATH rel "${SRC_DIR}" "${src}")
      if(folder AND NOT folder IN_LIST below_${lib})
        string(REPLACE ";" ", " allowed "${below_${lib}}")
        list(APPEND faults "src/${rel}: includes ${header} (${lib} may use only ${allowed})")
      endif()
      if(lib IN_LIST qt_free AND header MATCHES "^Q[A-Za-z]*(/|$)")
        list(APPEND faults "src/${rel}: includes Qt header ${header} (${lib} is free of Qt)")
      endif()
    endforeach()
  endforeach()
endforeach()

if(checked EQUAL 0)
  message(FATAL_ERROR "layering.cmake: no sources found under ${SRC_DIR}")
endif()
list(LENGTH faults n)
if(n GREATER 0)
  string(REPLACE ";" "\n  " text "${faults}")
  message(FATAL_ERROR "${n} include(s) look up the layer table:\n  ${text}")
endif()
message(STATUS "layering: ${checked} files, every include looks down")
