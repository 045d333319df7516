#!/usr/bin/env bash
# Runs every benchmark program of a build directory several times and prints,
# for every figure, the median over the runs of its median, 99th percentile and
# maximum. Builds nothing; build first (./dev.sh bench does both).
#
#   bench/run-all.sh BUILD_DIR [RUNS [OPTION...]]
#
# Every OPTION goes to every program; --cpu-time times the window benchmarks
# by the CPU time of the process instead of the wall clock, which other work on
# a busy machine disturbs far less.
#
# The window benchmarks run a second time at QT_SCALE_FACTOR=2 with a window of
# 1920 x 1080 (3840 x 2160 device pixels, a 4K screen at 200 %); their figures
# end in ", scale 2".
#
# RUNS defaults to 3. bench_startup (which starts the program several times
# itself) and bench_memory (whose figures are not timings) run once. The raw
# tables and the JSON files of every run are kept in
# BUILD_DIR/bench-results/. Timings are only meaningful on a quiet machine.
set -euo pipefail

build_dir=${1:?usage: $0 BUILD_DIR [RUNS [OPTION...]]}
runs=${2:-3}
options=("${@:3}")
bench_dir=$build_dir/bench
results=$build_dir/bench-results

# The window benchmarks, then every other benchmark program the build made (the
# parse benchmark among them), each found by its bench_ prefix.
ordered=(bench_drag bench_sliders bench_typing bench_startup bench_memory)
high_resolution_scale=2
run_once=" bench_startup bench_memory "
programs=()
for name in "${ordered[@]}"; do
    [ -x "$bench_dir/$name" ] && programs+=("$name")
done
for path in "$bench_dir"/bench_*; do
    name=$(basename "$path")
    if [ -f "$path" ] && [ -x "$path" ] && [[ ! " ${programs[*]} " == *" $name "* ]]; then
        programs+=("$name")
    fi
done
if [ ${#programs[@]} -eq 0 ]; then
    echo "run-all.sh: no benchmark programs in $bench_dir (build the release preset first)" >&2
    exit 1
fi

mkdir -p "$results"
rm -f "$results"/*.txt "$results"/*.json

# run_program NAME TAG [OPTION...]: the runs of one program, their results
# kept as NAME-[TAG-]RUN.txt and .json.
run_program() {
    local name=$1 tag=$2 count=$runs
    shift 2
    [[ $run_once == *" $name "* ]] && count=1
    for run in $(seq 1 "$count"); do
        echo "== $name${tag:+ ($tag)}, run $run of $count" >&2
        "$bench_dir/$name" --json "$results/$name-${tag:+$tag-}$run.json" "$@" "${options[@]}" \
            | tee "$results/$name-${tag:+$tag-}$run.txt" >&2
    done
}

for name in "${programs[@]}"; do
    run_program "$name" ""
    if [[ " ${ordered[*]} " == *" $name "* ]]; then
        QT_SCALE_FACTOR=$high_resolution_scale run_program "$name" "scale$high_resolution_scale" --full-hd
    fi
done

# A table line is "figure name  median  p99  max  unit"; the name may hold
# blanks, so the last four fields are the numbers and the unit.
summarise() {
    awk '
    function median(list, count,    i, j, value, sorted) {
        split(list, sorted, " ")
        for (i = 2; i <= count; ++i) {
            value = sorted[i] + 0
            for (j = i - 1; j >= 1 && sorted[j] + 0 > value; --j)
                sorted[j + 1] = sorted[j]
            sorted[j + 1] = value
        }
        return sorted[int((count + 1) / 2)]
    }
    NF >= 5 {
        name = $1
        for (i = 2; i <= NF - 4; ++i)
            name = name " " $i
        if (!(name in count))
            order[++figures] = name
        count[name]++
        medians[name] = medians[name] " " $(NF - 3)
        p99s[name] = p99s[name] " " $(NF - 2)
        maxima[name] = maxima[name] " " $(NF - 1)
        unit[name] = $NF
    }
    END {
        printf "%-48s %12s %12s %12s %s\n", "figure (median over runs)", "median", "p99", "max", "unit"
        for (f = 1; f <= figures; ++f) {
            name = order[f]
            printf "%-48s %12.3f %12.3f %12.3f %s\n", name,
                median(medians[name], count[name]), median(p99s[name], count[name]),
                median(maxima[name], count[name]), unit[name]
        }
    }'
}

echo
for name in "${programs[@]}"; do
    echo "## $name"
    cat "$results/$name"-*.txt | summarise
done
