#!/bin/sh
# Reruns tools/langstats into a temporary folder and compares what it writes,
# byte for byte, with the committed tables and held-out texts.
set -eu
root=$1
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
python3 "$root/tools/langstats" "$out" >/dev/null
diff -r "$root/coders/analysis/tables" "$out/coders/analysis/tables"
diff -r "$root/tests/corpus" "$out/tests/corpus"
