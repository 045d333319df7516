# bench_parse: parseValue on adversarial texts of a full line edit, with and
# without the regular-expression JIT (it runs itself a second time for that).
add_executable(bench_parse parsebench.cpp)
target_link_libraries(bench_parse PRIVATE velmora_bench_support velmora_app Qt6::Test)
