# Checks every #include under src/ against the layer table of
# docs/ARCHITECTURE.md, which this script reads, so the table and the check
# cannot drift apart. Fails when a library
#   - includes a header of a library it may not use,
#   - includes a Qt header while nothing it may use is Qt,
#   - includes a header private to another library (a name ending in
#     "internal.h"),
#   - includes a file outside src/,
# and when a folder of src/ that holds sources has no row in the table.
# Run as: cmake -DSRC_DIR=<project>/src -DDOC=<project>/docs/ARCHITECTURE.md -P layering.cmake
#
# The table: one row per library, "| `src/<folder>` | `<library>` | ... | <may use> |".
# A library is named by its library column without "qv_". The last column
# lists, separated by commas, the libraries it may use ("platform" names
# every library whose name begins with "platform_"), "Qt", "everything
# above" (every row above it) or "standard library only". A library may
# include the headers of its own folder, of the libraries it names and of
# everything those may use in turn, and Qt headers when Qt is among them.
#
# An include is looked up as the compiler does: "x" first beside the file
# that includes it, then in src/ (the include folder of every library);
# <x> in src/. ".." and "." are resolved. A header found in no folder of the
# project is the system's, and a Qt header when its path has a Qt module
# folder (QtCore/...), or its name begins with "Q" (QString, qstring's
# class headers) or is "q" and lower case letters or digits with ".h"
# (qstring.h, qglobal.h).
cmake_minimum_required(VERSION 3.20)
if(NOT SRC_DIR OR NOT DOC)
  message(FATAL_ERROR "layering.cmake: pass -DSRC_DIR=<project>/src -DDOC=<project>/docs/ARCHITECTURE.md")
endif()
cmake_path(SET src_root NORMALIZE "${SRC_DIR}")
string(REGEX REPLACE "/$" "" src_root "${src_root}")

# ---- The layer table ----
if(NOT EXISTS "${DOC}")
  message(FATAL_ERROR "layering.cmake: no file ${DOC}")
endif()
file(READ "${DOC}" doc_text)
string(REPLACE ";" "," doc_text "${doc_text}")
string(REPLACE "\n" ";" doc_lines "${doc_text}")
set(in_layers FALSE)
set(libs "")      # in table order
set(folders "")   # the same order: each library's folder under src/
foreach(line IN LISTS doc_lines)
  if(line MATCHES "^## ")
    if(line MATCHES "^## Layers[ \t]*$")
      set(in_layers TRUE)
    else()
      set(in_layers FALSE)
    endif()
    continue()
  endif()
  if(NOT in_layers OR NOT line MATCHES "^\\|[ \t]*`src/")
    continue()
  endif()
  if(NOT line MATCHES "^\\|[ \t]*`src/([^`]+)`[ \t]*\\|[ \t]*`([^`]+)`[ \t]*\\|.*\\|([^|]*)\\|[ \t]*$")
    message(FATAL_ERROR "layering.cmake: a row of the layer table that cannot be read:\n  ${line}")
  endif()
  set(folder "${CMAKE_MATCH_1}")
  set(lib "${CMAKE_MATCH_2}")
  set(uses "${CMAKE_MATCH_3}")
  string(REGEX REPLACE "^qv_" "" lib "${lib}")
  string(STRIP "${uses}" uses)
  string(REGEX REPLACE "/$" "" folder "${folder}")
  if(lib IN_LIST libs OR folder IN_LIST folders)
    message(FATAL_ERROR "layering.cmake: ${lib} or src/${folder} has two rows in the layer table")
  endif()
  # What it names, before the closure: libraries, "Qt", and the rows above.
  set(named "")
  if(NOT uses STREQUAL "standard library only")
    string(REPLACE "," ";" words "${uses}")
    foreach(word IN LISTS words)
      string(STRIP "${word}" word)
      if(word STREQUAL "everything above")
        list(APPEND named ${libs})
      elseif(word STREQUAL "Qt")
        list(APPEND named "Qt")
      elseif(word IN_LIST libs)
        list(APPEND named "${word}")
      else()
        set(found FALSE)
        foreach(other IN LISTS libs)
          if(other MATCHES "^${word}_")
            list(APPEND named "${other}")
            set(found TRUE)
          endif()
        endforeach()
        if(NOT found)
          message(FATAL_ERROR "layering.cmake: ${lib} may use \"${word}\", which names no library above it in the layer table")
        endif()
      endif()
    endforeach()
  endif()
  # The closure: every row above is complete already.
  set(uses_${lib} "")
  foreach(n IN LISTS named)
    list(APPEND uses_${lib} "${n}")
    if(NOT n STREQUAL "Qt")
      list(APPEND uses_${lib} ${uses_${n}})
    endif()
  endforeach()
  list(REMOVE_DUPLICATES uses_${lib})
  list(APPEND libs "${lib}")
  list(APPEND folders "${folder}")
endforeach()
list(LENGTH libs nlibs)
if(nlibs EQUAL 0)
  message(FATAL_ERROR "layering.cmake: no layer table (rows \"| `src/...` | ...\" under \"## Layers\") in ${DOC}")
endif()

# The library of a folder under src/ ("" when it has no row).
function(library_of folder out)
  list(FIND folders "${folder}" i)
  if(i LESS 0)
    set(${out} "" PARENT_SCOPE)
  else()
    list(GET libs ${i} l)
    set(${out} "${l}" PARENT_SCOPE)
  endif()
endfunction()

set(faults "")

# Every folder that holds sources is a library of the table, and every
# folder of the table is there.
file(GLOB_RECURSE all_sources "${src_root}/*.cpp" "${src_root}/*.h")
set(source_folders "")
foreach(f IN LISTS all_sources)
  get_filename_component(dir "${f}" DIRECTORY)
  file(RELATIVE_PATH rel "${src_root}" "${dir}")
  list(APPEND source_folders "${rel}")
endforeach()
list(REMOVE_DUPLICATES source_folders)
foreach(folder IN LISTS source_folders)
  if(NOT folder IN_LIST folders)
    list(APPEND faults "src/${folder} holds sources but has no row in the layer table of ${DOC}")
  endif()
endforeach()
foreach(folder IN LISTS folders)
  if(NOT IS_DIRECTORY "${src_root}/${folder}")
    message(FATAL_ERROR "layering.cmake: the layer table names src/${folder}, which is not there")
  endif()
endforeach()

# ---- Every include of every library ----
# The folder of src/ that a path (normalised, absolute) lies in, "" for a
# path outside src/.
function(src_folder_of path out)
  get_filename_component(dir "${path}" DIRECTORY)
  if(dir STREQUAL src_root)
    set(${out} "." PARENT_SCOPE)
  elseif(dir MATCHES "^${src_root}/")
    file(RELATIVE_PATH rel "${src_root}" "${dir}")
    set(${out} "${rel}" PARENT_SCOPE)
  else()
    set(${out} "" PARENT_SCOPE)
  endif()
endfunction()

set(checked 0)
foreach(lib folder IN ZIP_LISTS libs folders)
  # Only the folder's own files: src/platform/qt is a library of its own.
  file(GLOB sources "${src_root}/${folder}/*.cpp" "${src_root}/${folder}/*.h")
  foreach(src IN LISTS sources)
    math(EXPR checked "${checked} + 1")
    file(RELATIVE_PATH rel "${src_root}" "${src}")
    file(STRINGS "${src}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
    foreach(line IN LISTS lines)
      if(NOT line MATCHES "^[ \t]*#[ \t]*include[ \t]*([<\"])([^>\"]*)[>\"]")
        continue()
      endif()
      set(quoted "${CMAKE_MATCH_1}")
      set(header "${CMAKE_MATCH_2}")
      # Where the compiler looks: beside the file for "x", then src/.
      set(candidates "")
      if(quoted STREQUAL "\"")
        cmake_path(SET c NORMALIZE "${src_root}/${folder}/${header}")
        list(APPEND candidates "${c}")
      endif()
      cmake_path(SET c NORMALIZE "${src_root}/${header}")
      list(APPEND candidates "${c}")
      set(target "")
      foreach(c IN LISTS candidates)
        if(EXISTS "${c}" AND NOT IS_DIRECTORY "${c}")
          set(target "${c}")
          break()
        endif()
      endforeach()
      # A header that is not there yet but names a library's folder.
      if(NOT target AND header MATCHES "/")
        foreach(c IN LISTS candidates)
          src_folder_of("${c}" f)
          if(f AND f IN_LIST folders)
            set(target "${c}")
            break()
          endif()
        endforeach()
      endif()

      if(target)
        src_folder_of("${target}" to_folder)
        library_of("${to_folder}" to_lib)
        get_filename_component(name "${target}" NAME)
        if(NOT to_folder)
          list(APPEND faults "src/${rel}: includes ${header}, which lies outside src/")
        elseif(NOT to_lib)
          list(APPEND faults "src/${rel}: includes ${header}, in src/${to_folder}, which is no library of the layer table")
        elseif(NOT to_lib STREQUAL lib)
          if(NOT to_lib IN_LIST uses_${lib})
            set(allowed "${uses_${lib}}")
            list(REMOVE_ITEM allowed "Qt")
            string(REPLACE ";" ", " allowed "${allowed}")
            if(NOT allowed)
              set(allowed "no other library")
            endif()
            list(APPEND faults "src/${rel}: includes ${header} of ${to_lib} (${lib} may use only ${allowed})")
          endif()
          if(name MATCHES "internal\\.h$")
            list(APPEND faults "src/${rel}: includes ${header}, a header private to ${to_lib}")
          endif()
        endif()
      else()
        # The system's: Qt by a module folder or by its name.
        get_filename_component(name "${header}" NAME)
        set(is_qt FALSE)
        if(header MATCHES "(^|/)Qt[A-Z][A-Za-z0-9]*/" OR name MATCHES "^Q[A-Za-z0-9_]*(\\.h)?$" OR
           name MATCHES "^q[a-z0-9]+\\.h$")
          set(is_qt TRUE)
        endif()
        if(is_qt AND NOT "Qt" IN_LIST uses_${lib})
          list(APPEND faults "src/${rel}: includes Qt header ${header} (${lib} is free of Qt)")
        endif()
      endif()
    endforeach()
  endforeach()
endforeach()

if(checked EQUAL 0)
  message(FATAL_ERROR "layering.cmake: no sources found under ${src_root}")
endif()
list(LENGTH faults n)
if(n GREATER 0)
  string(REPLACE ";" "\n  " text "${faults}")
  message(FATAL_ERROR "${n} fault(s) against the layer table:\n  ${text}")
endif()
message(STATUS "layering: ${checked} files of ${nlibs} libraries, every include looks down")
