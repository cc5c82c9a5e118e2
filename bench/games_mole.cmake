# The whack-a-mole game: one tick of the field.
if(TARGET fudemaru_games AND TARGET fudemaru_testsupport)
  add_fudemaru_bench(bench_games_mole SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_games_mole.cpp LIBS fudemaru_games fudemaru_testsupport)
endif()
