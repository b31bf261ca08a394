#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what a desktop finds
# there: the programs, the desktop entry, the label document's type (by name
# and by the file's first bytes, in either byte order), the icons (whose symbol
# reads back) and the manual page.
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" > "$work/install.log" || fail "cmake --install"
share=$prefix/share
for f in bin/strixel share/applications/strixel.desktop share/mime/packages/strixel.xml \
         share/man/man1/strixel.1 share/icons/hicolor/48x48/apps/strixel.png \
         share/icons/hicolor/128x128/apps/strixel.png share/icons/hicolor/256x256/apps/strixel.png \
         share/icons/hicolor/scalable/apps/strixel.svg; do
  [ -s "$prefix/$f" ] || fail "$f is not installed"
done
if grep -q '^STRIXEL_DESKTOP:BOOL=ON' "$build/CMakeCache.txt"; then
  [ -x "$prefix/bin/strixel-desktop" ] || fail "strixel-desktop is not installed"
fi
"$prefix/bin/strixel" --help > /dev/null || fail "the installed strixel does not run"

# Graphics and Office are both main categories: the validator hints at it, no more.
desktop-file-validate "$share/applications/strixel.desktop" > "$work/validate.txt" 2>&1 \
  || fail "desktop-file-validate: $(cat "$work/validate.txt")"
! grep -v "hint:" "$work/validate.txt" | grep -q . || fail "desktop-file-validate: $(cat "$work/validate.txt")"
grep -q '^Exec=strixel-desktop %F$' "$share/applications/strixel.desktop" || fail "Exec line"

# Each PNG has the size its folder names; the largest one's symbol reads back.
for size in 48 128 256; do
  file "$share/icons/hicolor/${size}x${size}/apps/strixel.png" | grep -q "$size x $size" \
    || fail "icon $size is not $size pixels"
done
convert "$share/icons/hicolor/256x256/apps/strixel.png" -background white -flatten "$work/icon.pgm"
[ "$(zbarimg --raw -q "$work/icon.pgm")" = "Strixel" ] || fail "the icon's symbol does not read back"
svg=$share/icons/hicolor/scalable/apps/strixel.svg
xmllint --noout "$svg" && grep -q 'viewBox="0 0 256 256"' "$svg" && grep -q '<path fill="#000" d="M' "$svg" \
  || fail "the SVG icon is not well formed"

# A label document's first bytes: margins, the across and down words, ... and
# the format version at byte 32, here in little- and in big-endian order.
word() {  # value, bytes, order (le or be): the value's bytes as printf escapes
  local v=$1 n=$2 out="" i
  for ((i = 0; i < n; i++)); do
    local byte=$(( (v >> (8 * (n - 1 - i))) & 255 ))
    [ "$3" = le ] && byte=$(( (v >> (8 * i)) & 255 ))
    out+=$(printf '\\x%02x' "$byte")
  done
  printf '%s' "$out"
}
header() {  # order, file
  local bytes="" v
  for v in 360 360 3 8 0 0 1984 1049; do bytes+=$(word "$v" 4 "$1"); done
  bytes+=$(word $((0x0201)) 2 "$1")$(word 0 2 "$1")
  for v in 65535 65535 65535; do bytes+=$(word "$v" 4 "$1"); done
  bytes+=$(word 65535 2 "$1")
  printf "$bytes" > "$2"
  head -c 64 /dev/zero >> "$2"
}
header le "$work/little.labl"
header be "$work/big.labl"
cp "$work/little.labl" "$work/little"
cp "$work/big.labl" "$work/big"
update-mime-database "$share/mime" > /dev/null 2>&1 || fail "update-mime-database"
for doc in little.labl big.labl little big; do
  type=$(XDG_DATA_HOME="$share" XDG_DATA_DIRS="$share:/usr/share" xdg-mime query filetype "$work/$doc")
  [ "$type" = "application/x-strixel-label" ] || fail "$doc is typed as '$type'"
done

MANWIDTH=80 man -l "$share/man/man1/strixel.1" > "$work/man.txt" 2> "$work/man.err" || fail "man -l"
grep -q "EXIT STATUS" "$work/man.txt" || fail "the manual page lacks its sections"
[ ! -s "$work/man.err" ] || fail "man warns: $(cat "$work/man.err")"
echo "install: every file in place"
