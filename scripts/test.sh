#!/usr/bin/env bash
# Installs what is missing, builds the native and the Windows trees, and runs
# every test: native unit tests under ASan+UBSan, the Win32 tests in-process
# under Wine, and the end-to-end tests of the real program under Wine.
# Exits non-zero on any failure. The Wine tests run as on a Japanese system
# (code page 932).
source "$(dirname "$0")/lib.sh"

install_test_deps

log "native build (AddressSanitizer + UndefinedBehaviorSanitizer)"
cmake -S "$KOLVI_ROOT" -B "$KOLVI_BUILD/native" -DCMAKE_BUILD_TYPE=Debug -DKOLVI_SANITIZE=ON -DKOLVI_BENCH=OFF >/dev/null
cmake --build "$KOLVI_BUILD/native" -j"$(nproc)"

build_windows

status=0
log "native tests"
(cd "$KOLVI_BUILD/native" && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --output-on-failure -j"$(nproc)") || status=1

ensure_display
trap 'stop_wineserver; stop_display' EXIT
use_japanese_locale
ensure_prefix "$KOLVI_BUILD/wineprefix"
start_wineserver

log "Win32 tests under Wine (display $DISPLAY)"
# One at a time: some tests move the real mouse pointer and click.
(cd "$KOLVI_BUILD/win" && ctest --output-on-failure -L wine) || status=1
log "end-to-end tests under Wine"
(cd "$KOLVI_BUILD/win" && ctest --output-on-failure -L e2e) || status=1

if [ "$status" -ne 0 ]; then log "FAILED"; else log "all tests passed"; fi
exit "$status"
