qv_add_fuzzer(fuzz_expr SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/fuzz_expr.cpp LIBS qv_expr)
