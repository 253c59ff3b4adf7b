# Shared by the run, test, bench and fuzz commands. Source it; do not run it.
# shellcheck shell=bash
set -euo pipefail

KOLVI_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
KOLVI_BUILD=${KOLVI_BUILD:-$KOLVI_ROOT/build}
export WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

log() { printf '\033[1m== %s\033[0m\n' "$*" >&2; }

# Installs the Debian packages that are missing (as root, or through sudo).
install_packages() {
  local missing=() p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  log "installing ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

install_build_deps() {
  install_packages cmake make g++ libgtest-dev \
    g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 \
    wine wine64 xvfb xauth x11-utils fonts-noto-cjk fonts-wine imagemagick ca-certificates locales
}

install_test_deps() {
  install_build_deps
  install_packages clang libclang-rt-14-dev libbenchmark-dev
}

# Runs Wine as on a Japanese system (ANSI code page 932) with a locale
# compiled into the build tree, so nothing system-wide changes.
use_japanese_locale() {
  local dir="$KOLVI_BUILD/locale"
  if [ ! -d "$dir/ja_JP.UTF-8" ]; then
    mkdir -p "$dir"
    localedef -i ja_JP -f UTF-8 "$dir/ja_JP.UTF-8" >/dev/null 2>&1 || true
  fi
  if [ -d "$dir/ja_JP.UTF-8" ]; then
    export LOCPATH="$dir" LANG=ja_JP.UTF-8
    unset LC_ALL
  fi
}

build_windows() {
  log "cross build (MinGW-w64)"
  cmake -S "$KOLVI_ROOT" -B "$KOLVI_BUILD/win" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$KOLVI_ROOT/cmake/mingw-w64-x86_64.cmake" \
    -DKOLVI_WINEPREFIX="$KOLVI_BUILD/wineprefix" >/dev/null
  cmake --build "$KOLVI_BUILD/win" -j"$(nproc)" "$@"
}

# Uses $DISPLAY when it works, else starts a private Xvfb (stopped at exit).
KOLVI_XVFB_PID=""
ensure_display() {
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    return 0
  fi
  local fifo; fifo=$(mktemp -u); mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  KOLVI_XVFB_PID=$!
  local num; read -r num <"$fifo"; rm -f "$fifo"
  export DISPLAY=":$num"
  KOLVI_STARTED_XVFB=1
}

stop_display() {
  if [ -n "$KOLVI_XVFB_PID" ]; then kill "$KOLVI_XVFB_PID" 2>/dev/null || true; KOLVI_XVFB_PID=""; fi
}

# Creates the Wine prefix once (fonts for Japanese, no crash dialog, a virtual
# desktop so that hidden windows do not stall without a window manager), and
# brings a prefix made by an older version of this function up to date: the
# ready marker holds the set-up's version, and each step below the marker's
# version is applied to an existing prefix too.
KOLVI_PREFIX_VERSION=2
ensure_prefix() {
  export WINEPREFIX=$1
  mkdir -p "$WINEPREFIX"
  (
    flock 9
    local marker="$WINEPREFIX/.kolvi-ready" made=0
    if [ -f "$marker" ]; then made=$(cat "$marker"); made=${made:-1}; fi
    [ "$made" -ge "$KOLVI_PREFIX_VERSION" ] && exit 0
    if [ "$made" -lt 1 ]; then
      log "creating Wine prefix $WINEPREFIX"
      wineboot -i >/dev/null 2>&1 9>&- || true
      local reg; reg=$(mktemp --suffix=.reg)
      cat >"$reg" <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"MS UI Gothic"="Noto Sans CJK JP"
"Tahoma"="Noto Sans CJK JP"
"MS Shell Dlg"="Noto Sans CJK JP"
"MS Shell Dlg 2"="Noto Sans CJK JP"
"Yu Gothic UI"="Noto Sans CJK JP"
"Meiryo UI"="Noto Sans CJK JP"

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000

[HKEY_CURRENT_USER\Software\Wine\Drivers]
"Audio"="alsa"

[HKEY_CURRENT_USER\Software\Wine\Explorer]
"Desktop"="Default"

[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops]
"Default"="1024x768"
REG
      wine regedit "$(winepath -w "$reg" 2>/dev/null)" >/dev/null 2>&1 9>&-
      rm -f "$reg"
      wineserver -k 9>&- || true
      wineserver -w 9>&- || true
    fi
    if [ "$made" -lt 2 ]; then
      # Debian's Wine 8 looks for its own fonts at Z:\usr\share\wine\../fonts,
      # a path the NT name lookup does not resolve, so none of fonts-wine's
      # files (in /usr/share/wine/fonts) is ever found and the caption buttons
      # fall back to the letters "0 1 r". The Windows font directory is always
      # searched. Only Marlett goes there: a real Tahoma would make Wine skip
      # the Tahoma replacement above and lose the Japanese glyphs.
      log "adding the Marlett font to $WINEPREFIX"
      cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
    fi
    echo "$KOLVI_PREFIX_VERSION" >"$marker"
  ) 9>"$WINEPREFIX.lock"
}

# A persistent wineserver started detached, so tests do not wait on services
# that inherited ctest's pipes.
start_wineserver() {
  wineserver -p15 </dev/null >/dev/null 2>&1
  wine cmd /c exit </dev/null >/dev/null 2>&1 || true
}

stop_wineserver() {
  wineserver -k >/dev/null 2>&1 || true
}
