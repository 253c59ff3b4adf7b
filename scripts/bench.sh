#!/usr/bin/env bash
# Builds the native tree in Release mode and runs the benchmarks.
source "$(dirname "$0")/lib.sh"
install_packages cmake g++ libgtest-dev libbenchmark-dev
cmake -S "$KOLVI_ROOT" -B "$KOLVI_BUILD/bench" -DCMAKE_BUILD_TYPE=Release -DKOLVI_BENCH=ON >/dev/null
cmake --build "$KOLVI_BUILD/bench" -j"$(nproc)" --target kolvi_bench
"$KOLVI_BUILD/bench/kolvi_bench" "$@"
