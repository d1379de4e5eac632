#!/usr/bin/env bash
# Runs the tests of a build folder twice: in the C locale, and in ru_RU.UTF-8, the locale of the
# program's users (a decimal comma, digit groups of U+202F). Both runs go to the end; the status is
# a failure when either failed. Further arguments go to ctest.
set -uo pipefail
dir=$1
shift
cd "$dir" || exit 1
status=0
for locale in C.UTF-8 ru_RU.UTF-8; do
  echo "== every test in $locale"
  LC_ALL=$locale ctest --output-on-failure "$@" || status=1
done
exit $status
