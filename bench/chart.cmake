# The progress chart: its rules and its drawing for a 10,000-record log.
if(TARGET fudemaru_chart)
  add_fudemaru_bench(bench_chart SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_chart.cpp LIBS fudemaru_chart Qt6::Gui)
endif()
