# The records screens: one gliding frame of the kanji list and opening the
# per-kanji results (needs the test support library for its services).
if(TARGET fudemaru_records AND TARGET fudemaru_testsupport)
  add_fudemaru_bench(bench_records SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_records.cpp
    LIBS fudemaru_records fudemaru_testsupport)
endif()
