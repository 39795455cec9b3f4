#!/usr/bin/env bash
# Runs the program headless for 300 frames under memcheck in a folder of its own, and fails on any
# memcheck error, a definite or indirect leak, a leak named by the platform, or a log whose
# statistics do not show the 300 frames.
#   run_ostrel_under_valgrind.sh VALGRIND PROGRAM
set -uo pipefail
valgrind=$1
program=$(realpath "$2")

folder=$(mktemp -d "${TMPDIR:-/tmp}/ostrel-valgrind-XXXXXX")
trap 'rm -rf "$folder"' EXIT
cd "$folder"

env -i PATH="$PATH" HOME="${HOME:-/}" \
  OSTREL_HOST=headless OSTREL_PRESENT=immediate OSTREL_INPUT=300:up:ESCAPE \
  "$valgrind" --tool=memcheck --leak-check=full --errors-for-leak-kinds=definite,indirect \
  --error-exitcode=99 --log-file=memcheck.txt "$program" 2>stderr.txt
status=$?

cat memcheck.txt
echo "-- program's stderr:"
cat stderr.txt
echo "-- log.txt:"
cat log.txt 2>/dev/null

failed=0
if [ "$status" -ne 0 ]; then
  echo "FAIL: exit status $status (99: memcheck reported errors)"
  failed=1
fi
if ! grep -q 'ERROR SUMMARY: 0 errors' memcheck.txt; then
  echo "FAIL: memcheck reported errors"
  failed=1
fi
# The lines are absent when nothing at all leaked; present, they must show nothing lost.
for kind in 'definitely lost' 'indirectly lost'; do
  if grep "$kind:" memcheck.txt | grep -qv "$kind: 0 bytes in 0 blocks"; then
    echo "FAIL: memory $kind"
    failed=1
  fi
done
if grep -q 'ostrel: leak:' stderr.txt; then
  echo "FAIL: the platform reported objects still alive"
  failed=1
fi
if ! grep -qxP '\tTotal Frame Count: 300' log.txt 2>/dev/null; then
  echo "FAIL: log.txt lacks \"\\tTotal Frame Count: 300\""
  failed=1
fi
exit "$failed"
