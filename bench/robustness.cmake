# bench_hostile: full-length hostile pastes into every field of the real
# window, timed up to the answer, with and without the regular-expression JIT.
add_executable(bench_hostile benchhostile.cpp)
target_link_libraries(bench_hostile PRIVATE velmora_bench_support)
