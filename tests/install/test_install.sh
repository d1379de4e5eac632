#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what a desktop needs: the two programs,
# a valid desktop entry for .qel documents, the document type, the icons; then the installed
# program, started with a document on its command line, shows that document.
# Usage: test_install.sh BUILD_DIR SOURCE_DIR (under a virtual X server).
set -euo pipefail
build=$1
source=$2
prefix=$(mktemp -d)
work=$(mktemp -d)
pid=""
cleanup() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
  rm -rf "$prefix" "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null
for f in bin/kurvant bin/kurvant-cli share/applications/kurvant.desktop \
         share/mime/packages/kurvant.xml share/icons/hicolor/scalable/apps/kurvant.svg \
         share/icons/hicolor/16x16/apps/kurvant.png share/icons/hicolor/48x48/apps/kurvant.png \
         share/icons/hicolor/256x256/apps/kurvant.png; do
  [ -s "$prefix/$f" ] || fail "$f is not installed"
done
entry="$prefix/share/applications/kurvant.desktop"
desktop-file-validate "$entry" || fail "the desktop entry is not valid"
grep -qx 'Exec=kurvant %f' "$entry" || fail "the desktop entry does not pass the file"
grep -qx 'MimeType=application/x-kurvant-document;' "$entry" || fail "no document type"
grep -q '^Comment\[ru\]=' "$entry" || fail "no Russian comment"
grep -q 'type="application/x-kurvant-document"' "$prefix/share/mime/packages/kurvant.xml" ||
  fail "the document type is not declared"
grep -q 'pattern="\*.qel"' "$prefix/share/mime/packages/kurvant.xml" || fail "no *.qel pattern"
# The type compiles as a desktop compiles it; the compiled tables then hold its parent type and
# its magic, with and without the UTF-8 byte-order mark in front of the signature.
XDG_DATA_DIRS="$prefix/share" update-mime-database "$prefix/share/mime" ||
  fail "the document type does not compile"
grep -qx 'application/x-kurvant-document text/plain' "$prefix/share/mime/subclasses" ||
  fail "the document type is no kind of text/plain"
signature='@#^%$*/-Kurvant1'
LC_ALL=C grep -qaF "$signature" "$prefix/share/mime/magic" || fail "no magic of the signature"
LC_ALL=C grep -qaF $'\xef\xbb\xbf'"$signature" "$prefix/share/mime/magic" ||
  fail "no magic of the signature after a byte-order mark"
file_type=$(head -c 8 "$prefix/share/icons/hicolor/48x48/apps/kurvant.png" | od -An -c | tr -d ' ')
[ "$file_type" = '211PNG\r\n032\n' ] || fail "the 48-pixel icon is no PNG ($file_type)"

"$prefix/bin/kurvant-cli" --help | grep -q render || fail "the installed kurvant-cli has no help"

# The installed program, away from the build folder, opens the document it is given. Its recent
# list and settings go to a configuration folder of the test's own, not the user's.
cp "$source/tests/data/documents/all_kinds.qel" "$work/plot.qel"
cd "$work"
XDG_CONFIG_HOME="$work/config" "$prefix/bin/kurvant" "$work/plot.qel" >/dev/null 2>&1 &
pid=$!
for _ in $(seq 1 100); do
  if xdotool search --name '^Qel Kurvant  - \[plot\.qel\]$' >/dev/null 2>&1; then
    echo "installed program shows plot.qel"
    exit 0
  fi
  kill -0 "$pid" 2>/dev/null || fail "the installed program ended"
  sleep 0.2
done
fail "the installed program did not show the document"
