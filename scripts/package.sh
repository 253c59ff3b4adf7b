#!/usr/bin/env bash
# Builds the release archive dist/kolvialarm-<version>-win64.zip: the program,
# its guide readme.txt and the example alarm file, both code page 932 with
# CR LF as the program writes its own files. The version is read from the
# version resource of the built exe, so the name always matches the program.
source "$(dirname "$0")/lib.sh"

install_build_deps
install_packages zip python3
build_windows --target kolvialarm >&2

exe="$KOLVI_BUILD/win/kolvialarm.exe"
version=$(python3 "$KOLVI_ROOT/scripts/pe_version.py" "$exe")
stage="$KOLVI_BUILD/package"
rm -rf "$stage"
mkdir -p "$stage" "$KOLVI_ROOT/dist"

cp "$exe" "$stage/kolvialarm.exe"
# The guide is kept as UTF-8 in the repository; every line ends in CR LF.
sed 's/\r*$/\r/' "$KOLVI_ROOT/docs/readme.txt" | iconv -f UTF-8 -t CP932 >"$stage/readme.txt"
# The example is kept as the program reads it; refuse to ship it otherwise.
iconv -f CP932 -t UTF-8 "$KOLVI_ROOT/examples/example.alm" >/dev/null
if LC_ALL=C grep -q $'[^\r]$\|^$' "$KOLVI_ROOT/examples/example.alm"; then
  echo "examples/example.alm has a line that does not end in CR LF" >&2
  exit 1
fi
cp "$KOLVI_ROOT/examples/example.alm" "$stage/example.alm"

zip="$KOLVI_ROOT/dist/kolvialarm-$version-win64.zip"
rm -f "$zip"
(cd "$stage" && zip -q -X "$zip" kolvialarm.exe readme.txt example.alm)
log "built $zip"
echo "$zip"
