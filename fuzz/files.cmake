# The proof-file and settings-file readers on arbitrary bytes, in memory
# and from a file on disk. Only the byte-level code and the file reads are
# compiled in, so the fuzzer needs no Qt.
qv_add_fuzzer(fuzz_files
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_files.cpp ${PROJECT_SOURCE_DIR}/src/files/binformat.cpp
          ${PROJECT_SOURCE_DIR}/src/files/fileio.cpp
  LIBS qv_document)
target_include_directories(fuzz_files PRIVATE ${PROJECT_SOURCE_DIR}/src)
