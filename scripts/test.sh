#!/usr/bin/env bash
# Installs what is missing, builds the native and the Windows trees, and runs
# every test: native unit tests under ASan+UBSan, the Win32 tests in-process
# under Wine, and the end-to-end tests of the real program under Wine.
# Exits non-zero on any failure. The Wine tests run as on a Japanese system
# (code page 932). Last, it builds the release archive and checks its contents.
source "$(dirname "$0")/lib.sh"

install_test_deps
install_packages unzip

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

# The archive is named after the project version, holds exactly the three
# files, its texts are code page 932 with CR LF only, and its exe is the one
# the tests ran.
check_release() {
  local zip=$1 file version
  version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$KOLVI_BUILD/win/CMakeCache.txt")
  [ "$zip" = "$KOLVI_ROOT/dist/kolvialarm-$version-win64.zip" ] || { echo "archive named $zip"; return 1; }
  [ "$(unzip -Z1 "$zip" | sort | xargs)" = "example.alm kolvialarm.exe readme.txt" ] || { echo "archive holds other files"; return 1; }
  for file in readme.txt example.alm; do
    unzip -p "$zip" "$file" | python3 -c 'import sys; b = sys.stdin.buffer.read(); b.decode("cp932")
sys.exit(not (b.endswith(b"\r\n") and b.count(b"\n") == b.count(b"\r\n") == b.count(b"\r")))' ||
      { echo "$file is not code page 932 with CR LF line ends"; return 1; }
  done
  unzip -p "$zip" kolvialarm.exe | cmp -s - "$KOLVI_BUILD/win/kolvialarm.exe" || { echo "the archive's exe differs"; return 1; }
}
log "release archive"
zip=$(bash "$KOLVI_ROOT/scripts/package.sh") && check_release "$zip" || status=1

if [ "$status" -ne 0 ]; then log "FAILED"; else log "all tests passed"; fi
exit "$status"
