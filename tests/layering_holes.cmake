# The layer check refuses each kind of fault: one at a time, a fault is
# planted in a copy of src/ (or of the layer table), the check is run on the
# copy, and it must fail naming that fault. The copy without a fault must
# pass, so a refusal comes from the planted line.
# Run as: cmake -DSRC_DIR=<project>/src -DDOC=<project>/docs/ARCHITECTURE.md
#               -DCHECK=<project>/tests/layering.cmake -DWORK=<scratch folder> -P layering_holes.cmake
cmake_minimum_required(VERSION 3.20)
foreach(v SRC_DIR DOC CHECK WORK)
  if(NOT ${v})
    message(FATAL_ERROR "layering_holes.cmake: pass -D${v}=...")
  endif()
endforeach()

file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
file(COPY "${SRC_DIR}/" DESTINATION "${WORK}/src")
file(READ "${DOC}" table)

# Runs the check on the copy (with the table text Table) and gives its
# exit code and output.
function(run_check Table rc_out text_out)
  file(WRITE "${WORK}/ARCHITECTURE.md" "${Table}")
  execute_process(COMMAND "${CMAKE_COMMAND}" -DSRC_DIR=${WORK}/src -DDOC=${WORK}/ARCHITECTURE.md -P "${CHECK}"
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  set(${rc_out} "${rc}" PARENT_SCOPE)
  set(${text_out} "${out}${err}" PARENT_SCOPE)
endfunction()

set(failures "")

run_check("${table}" rc text)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the check refuses the unchanged copy:\n${text}")
endif()

# Runs the check with the table text Table and expects it to fail with
# Expected in its output; What names the fault planted.
function(check_refuses Table Expected What)
  run_check("${Table}" rc text)
  string(FIND "${text}" "${Expected}" at)
  if(rc EQUAL 0 OR at LESS 0)
    set(failures "${failures}\n  ${What} was not refused with \"${Expected}\" (exit ${rc}):\n${text}" PARENT_SCOPE)
  else()
    message(STATUS "refused: ${What}")
  endif()
endfunction()

# Plants Line in the new file src/File for one run of the check.
macro(expect_refused File Line Expected)
  file(WRITE "${WORK}/src/${File}" "// planted\n${Line}\n")
  check_refuses("${table}" "${Expected}" "src/${File}: ${Line}")
  file(REMOVE "${WORK}/src/${File}")
endmacro()

# A path through ".." into a library above, from beside the file and from src/.
expect_refused(document/planted.cpp "#include \"../mainwindow/mainwindow.h\""
  "src/document/planted.cpp: includes ../mainwindow/mainwindow.h of mainwindow")
expect_refused(document/planted.cpp "#include \"document/../mainwindow/mainwindow.h\""
  "src/document/planted.cpp: includes document/../mainwindow/mainwindow.h of mainwindow")
# Qt headers in a library free of Qt, in every spelling.
expect_refused(view/planted.cpp "#include <qstring.h>" "src/view/planted.cpp: includes Qt header qstring.h")
expect_refused(view/planted.cpp "#include \"qstring.h\"" "src/view/planted.cpp: includes Qt header qstring.h")
expect_refused(view/planted.cpp "#include <QtCore/QString>" "src/view/planted.cpp: includes Qt header QtCore/QString")
expect_refused(view/planted.cpp "#include <QtCore/qstring.h>" "src/view/planted.cpp: includes Qt header QtCore/qstring.h")
expect_refused(expr/planted.h "#include <QString>" "src/expr/planted.h: includes Qt header QString")
# Another library's private header, straight, through "..", and from a
# library that may use that library otherwise.
expect_refused(view/planted.cpp "#include \"document/internal.h\""
  "src/view/planted.cpp: includes document/internal.h, a header private to document")
expect_refused(view/planted.cpp "#include \"../document/internal.h\""
  "src/view/planted.cpp: includes ../document/internal.h, a header private to document")
expect_refused(mainwindow/planted.cpp "#include \"files/filesinternal.h\""
  "src/mainwindow/planted.cpp: includes files/filesinternal.h, a header private to files")
# A file outside src/.
expect_refused(view/planted.cpp "#include \"../../ARCHITECTURE.md\"" "src/view/planted.cpp: includes ../../ARCHITECTURE.md, which lies outside src/")

# A folder of src/ that the table does not name.
expect_refused(extra/planted.cpp "" "src/extra holds sources but has no row in the layer table")

# The check follows the table: a table that lets the view use nothing but
# the platform refuses the real tree's view.
string(REGEX REPLACE "(\\| `src/view` \\|[^\n]*\\|)[^|\n]*\\|[ \t]*\n" "\\1 platform_core |\n" narrower "${table}")
if(narrower STREQUAL table)
  message(FATAL_ERROR "the view's row of the layer table was not found")
endif()
check_refuses("${narrower}" "includes document/document.h of document (view may use only platform_core)"
  "a table whose view row names only platform_core")

file(REMOVE_RECURSE "${WORK}")
if(failures)
  message(FATAL_ERROR "the layer check let through:${failures}")
endif()
