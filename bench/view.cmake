# Every action on the proof view at 1,000, 5,000 and 20,000 statements, on
# the Qt box (offscreen) and on the in-memory box.
if(EXISTS ${CMAKE_CURRENT_LIST_DIR}/../src/platform/qt/qtrichbox.h)
  qv_add_bench(bench_view SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_view.cpp
    LIBS qv_mainwindow qv_files qv_document qv_platform_qt)
endif()
