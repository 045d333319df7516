# The window benchmarks: the real main window driven headless, each user action
# timed up to the repainted window; bench_startup compares start-up time and
# memory with a plain baseline window, bench_memory watches memory growth.

add_library(velmora_bench_support OBJECT benchsupport.h benchsupport.cpp)
target_link_libraries(velmora_bench_support PUBLIC velmora_app velmora_test_support)

function(velmora_add_window_benchmark name source)
    add_executable(${name} ${source})
    target_link_libraries(${name} PRIVATE velmora_bench_support)
endfunction()

velmora_add_window_benchmark(bench_drag benchdrag.cpp)
velmora_add_window_benchmark(bench_sliders benchsliders.cpp)
velmora_add_window_benchmark(bench_typing benchtyping.cpp)
velmora_add_window_benchmark(bench_startup benchstartup.cpp)
velmora_add_window_benchmark(bench_memory benchmemory.cpp)
