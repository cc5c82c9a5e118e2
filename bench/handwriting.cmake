# The writing square: recognition, the model's opening and the memory it takes.
if(TARGET fudemaru_handwriting)
  add_fudemaru_bench(bench_handwriting SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_handwriting.cpp
    LIBS fudemaru_handwriting Qt6::Core)
  target_compile_definitions(bench_handwriting PRIVATE FUDEMARU_BIN_DIR="${FUDEMARU_BIN_DIR}")
  add_dependencies(bench_handwriting content_files)
endif()
