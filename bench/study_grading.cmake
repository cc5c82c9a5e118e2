add_fudemaru_bench(bench_grading SOURCES ${CMAKE_SOURCE_DIR}/bench/bench_grading.cpp LIBS fudemaru_study)
