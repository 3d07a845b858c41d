qv_add_bench(bench_files SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_files.cpp LIBS qv_files qv_document)
