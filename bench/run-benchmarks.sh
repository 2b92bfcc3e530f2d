#!/usr/bin/env bash
# Runs every benchmark and prints its figures. Times are medians over
# repeated runs; memory figures come from one process per measurement.
#   bench/run-benchmarks.sh BUILD_DIR [REPETITIONS]
set -euo pipefail

# Absolute: each benchmark works in a temporary directory of its own.
dir=$(cd "${1:?usage: run-benchmarks.sh BUILD_DIR [REPETITIONS]}" && pwd)/bench
repetitions=${2:-9}
results=$dir/results
mkdir -p "$results"
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}

echo "Machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//'), \
$(awk '/MemTotal/ {printf "%.1f GiB", $2 / 1048576}' /proc/meminfo); load $(cut -d' ' -f1-3 /proc/loadavg)"

for bench in frames window export prediction; do
    "$dir/bench_$bench" --benchmark_repetitions="$repetitions" --benchmark_report_aggregates_only=true \
        --benchmark_out="$results/$bench.json" --benchmark_out_format=json
done

# The journal's figures take seconds a run (a million readings written,
# read back and decoded): three runs are enough for their medians.
"$dir/bench_journal" --benchmark_repetitions="$(( repetitions < 3 ? repetitions : 3 ))" \
    --benchmark_report_aggregates_only=true --benchmark_out="$results/journal.json" --benchmark_out_format=json

for measurement in $("$dir/bench_memory" --benchmark_list_tests | sed 's|/.*||' | sort -u); do
    "$dir/bench_memory" --benchmark_filter="^$measurement/" \
        --benchmark_out="$results/memory-$measurement.json" --benchmark_out_format=json
done

# The team server's figures start a PostgreSQL server of their own and fill
# it with ten million tests once (a few minutes, some gigabytes in /tmp);
# three runs give their medians.
"$dir/bench_sync" --benchmark_repetitions="$(( repetitions < 3 ? repetitions : 3 ))" \
    --benchmark_report_aggregates_only=true --benchmark_out="$results/sync.json" --benchmark_out_format=json
