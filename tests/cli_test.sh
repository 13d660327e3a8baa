#!/usr/bin/env bash
# The command line as a user meets it: results, options and their errors,
# exit statuses, files in and out, pipes. Usage: cli_test.sh ZEMBRAX-CLI VERSION
set -uo pipefail
cli=$1
version=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
failures=0

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# expect NAME EXPECTED-STDOUT COMMAND... : stdout as given, exit 0, nothing on stderr.
expect() {
  local name=$1 expected=$2; shift 2
  local out
  out=$("$@" 2>stderr.txt); local status=$?
  [ "$status" = 0 ] || fail "$name: exit $status"
  [ "$out" = "$expected" ] || fail "$name: got '$out', want '$expected'"
  [ ! -s stderr.txt ] || fail "$name: said $(cat stderr.txt)"
}

# refuse NAME STATUS WORDS COMMAND... : exit STATUS, the words on stderr, nothing on stdout.
refuse() {
  local name=$1 want=$2 words=$3; shift 3
  local out
  out=$("$@" 2>stderr.txt </dev/null); local status=$?
  [ "$status" = "$want" ] || fail "$name: exit $status, want $want"
  [ -z "$out" ] || fail "$name: wrote '$out'"
  grep -q -- "$words" stderr.txt || fail "$name: said '$(cat stderr.txt)', want '$words'"
  if [ "$want" = 2 ]; then
    [ "$(wc -l <stderr.txt)" = 2 ] || fail "$name: not one line and the usage line"
    grep -q '^Usage: zembrax-cli' stderr.txt || fail "$name: no usage line"
  fi
}

# Results as the window gives them.
expect caesar "Khoor, Zruog!" "$cli" caesar --shift 3 <<<"Hello, World!"
expect "caesar -d" "Hello, World!" "$cli" caesar --shift 3 -d <<<"Khoor, Zruog!"
expect "caesar at the most negative shift" "Hello" \
  bash -c "\"$cli\" caesar --shift -2147483648 <<<Hello | \"$cli\" caesar --shift -2147483648 -d"
expect "caesar --full" "bcd" "$cli" caesar --shift 1 --full < <(printf abc)
expect "vigenere key with a non-letter" "Seiwo" "$cli" vigenere --key "L-X" <<<"Hello"
expect base64 "SGVsbG8=" "$cli" base64 < <(printf Hello)
expect "subst" "bca" "$cli" subst --from abc --to bca < <(printf abc)
expect "subst -d, the same way round" "bca" "$cli" subst --from abc --to bca -d < <(printf abc)
# Option texts in the encoding chosen, else the locale's; the input's bytes as they are.
expect "subst in Windows-1252" "ab" "$cli" subst --from éb --to ab --encoding windows-1252 < <(printf '\351b')
expect "subst in the C locale's Windows-1252" "ab" env LC_ALL=C "$cli" subst --from éb --to ab < <(printf '\351b')
expect "subst in the locale's UTF-8" "ab" env LC_ALL=C.UTF-8 "$cli" subst --from é --to ab < <(printf '\303\251')
expect "subst in cp1251" "x" "$cli" subst --from ж --to x --encoding CP1251 < <(printf '\346')
out=$("$cli" subst --from 'Ωa' --to xy --encoding windows-1252 < <(printf '?a') 2>stderr.txt)
[ "$out" = "xy" ] || fail "a lost character: got '$out', want 'xy'"
grep -q "1 character of the original alphabet cannot be written in windows-1252" stderr.txt ||
  fail "a lost character: said '$(cat stderr.txt)'"
expect url "Hello%20World%21" "$cli" url < <(printf 'Hello World!')
expect "bitwise 300 acts as 44" "MNO" "$cli" bitwise --xor 300 < <(printf abc)
expect "bitwise -1 acts as 255" "abc" "$cli" bitwise --and -1 < <(printf abc)
expect "binary at 7 bits" "10010001101001" "$cli" binary --bits 7 < <(printf Hi)
expect "decimal -d" "Hi" "$cli" decimal -d <<<"72 105"
expect hex "48 69 " "$cli" hex < <(printf Hi)
expect "morse there and back" "SOS" bash -c "printf SOS | \"$cli\" morse | \"$cli\" morse -d"
expect lsb "01001" "$cli" lsb < <(printf Hello)
expect "empty input" "" "$cli" base64 </dev/null

# Files: several in turn, '-' for the standard input, and pieces far larger
# than one read.
printf 'Hel' >a.txt
printf 'lo' >b.txt
expect "two files in turn" "SGVsbG8=" "$cli" base64 a.txt b.txt
expect "a file and the standard input" "SGVsbG8=" "$cli" base64 a.txt - <b.txt
# Base64 decoding stops a group at a zero byte, so these bytes have none.
head -c 8000000 /dev/urandom | tr -d '\000' >big.bin
"$cli" base64 big.bin | "$cli" base64 -d >back.bin
cmp -s big.bin back.bin || fail "base64 of 7 MB does not come back"
"$cli" binary --bits 8 big.bin | "$cli" binary -d >back.bin
cmp -s big.bin back.bin || fail "binary of 7 MB does not come back"

# -o replaces the file only when all went well, and may name an input.
printf 'keep me' >out.txt
refuse "missing input" 1 "cannot read 'missing.txt': No such file or directory" \
  "$cli" base64 a.txt missing.txt -o out.txt
[ "$(cat out.txt)" = "keep me" ] || fail "a failed run changed the output file"
refuse "a folder as input" 1 "cannot read '.': Is a directory" "$cli" base64 . -o out.txt
expect "-o writes nothing to the standard output" "" "$cli" base64 a.txt b.txt -o out.txt
[ "$(cat out.txt)" = "SGVsbG8=" ] || fail "-o wrote '$(cat out.txt)'"
cp big.bin same.bin
"$cli" base64 same.bin -o same.bin && "$cli" base64 -d same.bin -o same.bin
cmp -s big.bin same.bin || fail "-o naming the input lost data"
refuse "unwritable output" 1 "cannot write 'no/such/folder/x'" "$cli" base64 a.txt -o no/such/folder/x
{ printf abc; sleep 5; } | "$cli" caesar --shift 1 -o out.txt &
running=$!
sleep 0.5
kill -INT "$running"
wait "$running" 2>/dev/null
[ "$(cat out.txt)" = "SGVsbG8=" ] || fail "Ctrl+C changed the output file"
[[ $(ls -a) == *zembrax-* ]] && fail "temporary files left: $(ls -a)"

# A reader that stops early ends the run quietly.
"$cli" binary big.bin 2>stderr.txt | head -c 10 >/dev/null
status=${PIPESTATUS[0]}
{ [ "$status" = 0 ] || [ "$status" = 141 ]; } || fail "| head: exit $status"
[ ! -s stderr.txt ] || fail "| head: said $(cat stderr.txt)"

# Usage errors: one line naming the problem, the usage line, exit 2.
refuse "no method" 2 "no method given" "$cli"
refuse "unknown method" 2 "unknown method 'rot13'" "$cli" rot13
refuse "unknown encoding" 2 "unknown text encoding 'latin9'; the encodings are utf-8, windows-874" \
  "$cli" base64 --encoding latin9
refuse "unknown option" 2 "--nope" "$cli" base64 --nope
refuse "missing value" 2 "--shift" "$cli" caesar --shift
refuse "not an integer" 2 "'3x' is not a 32-bit integer" "$cli" caesar --shift 3x
refuse "out of range" 2 "'2147483648' is not a 32-bit integer" "$cli" caesar --shift 2147483648
refuse "two operations" 2 "--and" "$cli" bitwise --and 1 --xor 2
refuse "bitwise -d" 2 "bitwise works one way only" "$cli" bitwise --xor 1 -d
refuse "lsb -d" 2 "lsb works one way only" "$cli" lsb -d
refuse "hex -d" 2 "hexadecimal to text is not offered" "$cli" hex -d
refuse "seven or eight bits" 2 "--bits" "$cli" binary --bits 6

# Help and version.
"$cli" --help >help.txt || fail "--help failed"
for method in caesar vigenere base64 subst url bitwise binary decimal hex morse lsb; do
  grep -q "^  $method " help.txt || fail "--help does not list $method"
  grep -q "zembrax-cli $method" help.txt || fail "--help has no example of $method"
done
expect "--version" "zembrax-cli $version" "$cli" --version

checks=$(grep -c -E '^\s*(expect|refuse) ' "$0")
echo "cli_test: $((checks - failures)) passed, $failures failed"
[ "$failures" = 0 ]
