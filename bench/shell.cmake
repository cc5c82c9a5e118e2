# The shell: a title-animation tick and the start-up sequence up to the menu.
if(TARGET fudemaru_shell AND TARGET fudemaru_testsupport)
  add_fudemaru_bench(bench_shell SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_shell.cpp LIBS fudemaru_shell fudemaru_testsupport)
  target_compile_definitions(bench_shell PRIVATE FUDEMARU_BIN_DIR="${FUDEMARU_BIN_DIR}")
endif()
