add_fudemaru_bench(bench_study SOURCES ${CMAKE_SOURCE_DIR}/bench/bench_study.cpp LIBS fudemaru_study)
