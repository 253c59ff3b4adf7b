#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for the given number
# of seconds (default 60); name targets after the seconds to run only those
# (e.g. `fuzz.sh 1200 send_keys`). Crashing inputs land in build/fuzz/<target>/;
# keep them as regression cases under fuzz/regressions/<target>/ once fixed.
source "$(dirname "$0")/lib.sh"
seconds=${1:-60}
shift || true
install_packages cmake clang libclang-rt-14-dev libgtest-dev
cmake -S "$KOLVI_ROOT" -B "$KOLVI_BUILD/fuzz" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DKOLVI_FUZZ=ON -DKOLVI_BENCH=OFF >/dev/null
cmake --build "$KOLVI_BUILD/fuzz" -j"$(nproc)"
for fuzzer in "$KOLVI_BUILD"/fuzz/*_fuzzer; do
  name=$(basename "$fuzzer" _fuzzer)
  if [ $# -gt 0 ] && [[ " $* " != *" $name "* ]]; then continue; fi
  corpus="$KOLVI_ROOT/fuzz/corpus/$name"
  work="$KOLVI_BUILD/fuzz/$name"
  mkdir -p "$corpus" "$work/corpus"
  log "fuzzing $name for ${seconds}s"
  (cd "$work" && "$fuzzer" -max_total_time="$seconds" -print_final_stats=1 "$work/corpus" "$corpus")
done
