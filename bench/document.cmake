# Redraw and append on a 2,000-statement proof, in memory; and the redraw on
# the Qt box when the Qt platform layer is there (offscreen).
qv_add_bench(bench_document SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_document.cpp
  LIBS qv_view)
if(EXISTS ${CMAKE_CURRENT_LIST_DIR}/../src/platform/qt/qtrichbox.h)
  qv_add_bench(bench_document_qt SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_document_qt.cpp
    LIBS qv_view qv_platform_qt)
endif()
