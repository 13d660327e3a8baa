#!/usr/bin/env bash
# The command line as a user meets it: results, options and their errors,
# exit statuses, files in and out, pipes. Usage: cli_test.sh ZEMBRAX-CLI VERSION [RUNNER...]
# A program built for another system runs through RUNNER (Wine for Windows),
# which leaves out the cases that only POSIX systems have.
set -uo pipefail
cli=$1
version=$2
shift 2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
failures=0
# Devices, FIFOs, sockets, symlinks, signals and permission bits are POSIX's.
posix=true
[[ $cli == *.exe ]] && posix=false
if [ $# -gt 0 ]; then
  # A stand-in that every case runs as it would run the program itself, in
  # a folder of its own, apart from the files the cases leave or look for.
  mkdir "$work/.runner"
  printf '#!/bin/bash\nexec %s%q "$@"\n' "$(printf '%q ' "$@")" "$cli" >"$work/.runner/run"
  chmod +x "$work/.runner/run"
  cli=$work/.runner/run
  runner=$1
fi

checks=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# waitfor COMMAND...: true once the command succeeds, false after 20 s.
waitfor() {
  local tries
  for tries in $(seq 2000); do "$@" && return 0; sleep 0.01; done
  return 1
}

# reap PID: waits for a helper process in the background, and ends it if it
# is still there after 20 s (its writer or reader never came).
reap() {
  waitfor eval "! kill -0 $1 2>/dev/null" || kill "$1" 2>/dev/null
  wait "$1" 2>/dev/null
}

# expect NAME EXPECTED-STDOUT COMMAND... : stdout as given, exit 0, nothing on stderr.
expect() {
  local name=$1 expected=$2; shift 2
  local out
  checks=$((checks + 1))
  out=$("$@" 2>stderr.txt); local status=$?
  [ "$status" = 0 ] || fail "$name: exit $status"
  [ "$out" = "$expected" ] || fail "$name: got '$out', want '$expected'"
  [ ! -s stderr.txt ] || fail "$name: said $(cat stderr.txt)"
}

# refuse NAME STATUS WORDS COMMAND... : exit STATUS, the words on stderr, nothing on stdout.
refuse() {
  local name=$1 want=$2 words=$3; shift 3
  local out
  checks=$((checks + 1))
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
expect "subst -d, the other way round" "cab" "$cli" subst --from abc --to bca -d < <(printf abc)
expect "subst -d undoes subst" "notes" sh -c \
  "printf notes | '$cli' subst --from nots --to otsn | '$cli' subst --from nots --to otsn -d"
# Option texts in the encoding chosen, else the locale's; the input's bytes as they are.
expect "subst in Windows-1252" "ab" "$cli" subst --from éb --to ab --encoding windows-1252 < <(printf '\351b')
if $posix; then
  expect "subst in the C locale's Windows-1252" "ab" env LC_ALL=C "$cli" subst --from éb --to ab < <(printf '\351b')
  expect "subst in the locale's UTF-8" "ab" env LC_ALL=C.UTF-8 "$cli" subst --from é --to ab < <(printf '\303\251')
else
  # Windows takes the ANSI code page's, Windows-1252 for a language it does not know.
  expect "subst in the ANSI code page" "ab" env LC_ALL=C.UTF-8 "$cli" subst --from éb --to ab < <(printf '\351b')
fi
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
expect "lsb -d, the one way it works" "01001" "$cli" lsb -d < <(printf Hello)
# The methods that puzzles use, each undone by its -d.
for method in rot47 atbash trithemius reverse "reverse --chars" base32 "base32 --no-padding" \
    base58 octal base85 "base85 --wrapper" z85; do
  expect "$method -d undoes $method" "Zembrax, 2026!" sh -c \
    "printf 'Zembrax, 2026!' | '$cli' $method | '$cli' $method -d"
done
expect "base32" "MZXW6YTBOI======" "$cli" base32 < <(printf foobar)
expect "base85 -d with its marks" "sure." "$cli" base85 -d <<<"<~F*2M7/c~>"
# The methods that give capitals back, and those that keep the letters
# alone.
for method in a1z26 "a1z26 --separator ." nato; do
  expect "$method -d undoes $method" "ZEMBRAX, 2026!" sh -c \
    "printf 'Zembrax, 2026!' | '$cli' $method | '$cli' $method -d"
done
for method in bacon "bacon --letters 26 --digits" polybius "polybius --key lux"; do
  expect "$method -d undoes $method" "ZEMBRAX" sh -c \
    "printf 'Zembrax, 2026!' | '$cli' $method | '$cli' $method -d"
done
expect "a1z26" "26-5-13-2-18-1-24 2026" "$cli" a1z26 < <(printf 'Zembrax 2026')
expect "nato -d" "SOS 9" "$cli" nato -d <<<"sierra OSCAR Sierra / Niner"
expect "bacon --letters" "AAAAB ABAAB" "$cli" bacon --letters 26 < <(printf 'b, j')
expect "polybius -d" "HELLO" "$cli" polybius -d <<<"23-15-31-31-34"
refuse "base58 beyond 1 MiB" 1 "Base58 takes at most 1 MiB" sh -c "head -c 1048577 /dev/zero | '$cli' base58"
expect "empty input" "" "$cli" base64 </dev/null
# Line ends and Ctrl+Z pass both ways as the bytes they are.
expect "line ends in" "YQpiDQoa" "$cli" base64 < <(printf 'a\nb\r\n\032')
expect "line ends out" " 61 0a 62 0d 0a 1a" bash -c "printf YQpiDQoa | \"$cli\" base64 -d | od -An -tx1"

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
# File names in any script.
printf 'Hi' >'zażółć.txt'
expect "UTF-8 file names" "" "$cli" base64 'zażółć.txt' -o 'wynik ж.txt'
[ "$(cat 'wynik ж.txt')" = "SGk=" ] || fail "UTF-8 file names: wrote '$(cat 'wynik ж.txt')'"
refuse "unwritable output" 1 "cannot write 'no/such/folder/x'" "$cli" base64 a.txt -o no/such/folder/x
if $posix; then
  # Ctrl+C once the run is known to be reading: it has coded its first piece
  # into the temporary file and waits for the next. The output file stays as it
  # was and no temporary file is left. (A background job starts with SIGINT
  # ignored; env gives it back its default, as a terminal's job has.)
  mkfifo input.fifo
  # reading NAME SIGNAL-OPTION OUTPUT: starts a run on the FIFO with the
  # signal option of env, writing OUTPUT, feeds it "abc" through fd 3 and
  # waits until it has coded that piece into its temporary file.
  reading() {
    env "$2" "$cli" caesar --shift 1 -o "$3" <input.fifo &
    running=$!
    exec 3>input.fifo
    (printf abc >&3) 2>/dev/null
    temporary=".$3.zembrax-"
    coded_first_piece() { [ "$(cat "$temporary"* 2>/dev/null)" = bcd ]; }
    waitfor coded_first_piece || fail "$1: the run never coded its first piece"
  }
  reading Ctrl+C --default-signal=INT out.txt
  kill -INT "$running"
  wait "$running"
  status=$?
  exec 3>&-
  [ "$status" = 130 ] || fail "Ctrl+C: exit $status, want 130"
  [ "$(cat out.txt)" = "SGVsbG8=" ] || fail "Ctrl+C changed the output file"
  [[ $(ls -a) == *zembrax-* ]] && fail "temporary files left: $(ls -a)"
  # An ignored hangup (nohup) stays ignored: the run goes on to the end.
  reading nohup --ignore-signal=HUP hup.txt
  kill -HUP "$running"
  (printf d >&3) 2>/dev/null  # a stopped run would break this pipe
  exec 3>&-
  wait "$running" || fail "nohup: a hangup stopped the run"
  [ "$(cat hup.txt 2>/dev/null)" = bcde ] || fail "nohup: wrote '$(cat hup.txt 2>/dev/null)'"

  # -o onto what is not a plain file in a writable folder. A device node,
  # private to this test, is written in place and stays a device node.
  if mknod null c 1 3 2>/dev/null; then
    expect "-o onto a device node" "" "$cli" base64 a.txt -o null
    [ -c null ] || fail "-o replaced the device node"
  else
    echo "skipped: -o onto a device node (mknod is not permitted here)"
  fi
  # A FIFO is written into, and stays a FIFO.
  mkfifo output.fifo
  cat output.fifo >from-fifo.txt &
  reader=$!
  expect "-o onto a FIFO" "" "$cli" base64 a.txt b.txt -o output.fifo
  reap "$reader"
  [ -p output.fifo ] || fail "-o replaced the FIFO"
  [ "$(cat from-fifo.txt)" = "SGVsbG8=" ] || fail "-o onto a FIFO passed on '$(cat from-fifo.txt)'"
  # A socket is connected to and written into.
  perl -MIO::Socket::UNIX -e '
    my $server = IO::Socket::UNIX->new(Local => "output.socket", Listen => 1) or die $!;
    open(my $ready, ">", "socket.ready"); close($ready);
    my $peer = $server->accept(); local $/; print <$peer>;' >from-socket.txt &
  reader=$!
  socket_ready() { [ -e socket.ready ]; }
  waitfor socket_ready || fail "the test's socket never listened"
  expect "-o onto a socket" "" "$cli" base64 a.txt b.txt -o output.socket
  reap "$reader"
  [ -S output.socket ] || fail "-o replaced the socket"
  [ "$(cat from-socket.txt)" = "SGVsbG8=" ] || fail "-o onto a socket passed on '$(cat from-socket.txt)'"

  # A symlink stays, and the file it names (relative to the link's folder) is
  # replaced in its own folder, keeping its permission bits and, for root, its
  # owner and group.
  mkdir real links
  printf old >real/target.txt
  chmod 4751 real/target.txt
  [ "$(id -u)" = 0 ] && chown 4321:4322 real/target.txt
  ln -s ../real/target.txt links/link.txt
  expect "-o onto a symlink" "" "$cli" base64 a.txt b.txt -o links/link.txt
  [ -L links/link.txt ] || fail "-o replaced the symlink"
  [ "$(cat real/target.txt)" = "SGVsbG8=" ] || fail "-o through a symlink wrote '$(cat real/target.txt)'"
  [ "$(stat -c %a real/target.txt)" = 751 ] || fail "-o gave mode $(stat -c %a real/target.txt), want 751"
  if [ "$(id -u)" = 0 ]; then
    [ "$(stat -c %u:%g real/target.txt)" = 4321:4322 ] ||
      fail "-o gave owner $(stat -c %u:%g real/target.txt), want 4321:4322"
  fi
  [[ $(ls -a real links) == *zembrax-* ]] && fail "temporary files left: $(ls -a real links)"
  ln -s loop.txt loop.txt
  refuse "-o onto a symlink loop" 1 "cannot write 'loop.txt': Too many levels of symbolic links" \
    "$cli" base64 a.txt -o loop.txt

  # A file without write permission is refused, as cp refuses it; so is a
  # folder without it, where the new file would go. Root too obeys a file or
  # folder that has no write bit at all.
  printf 'keep me' >readonly.txt
  chmod 444 readonly.txt
  refuse "-o onto a read-only file" 1 "cannot write 'readonly.txt': Permission denied" \
    "$cli" base64 a.txt -o readonly.txt
  [ "$(cat readonly.txt)" = "keep me" ] || fail "-o changed a read-only file"
  mkdir locked
  printf 'keep me' >locked/out.txt
  chmod 555 locked
  refuse "-o in a folder without write permission" 1 "cannot write in 'locked': Permission denied" \
    "$cli" base64 a.txt -o locked/out.txt
  chmod 755 locked
  [ "$(cat locked/out.txt)" = "keep me" ] || fail "-o changed a file in a locked folder"
  [[ $(ls -a locked) == *zembrax-* ]] && fail "temporary files left: $(ls -a locked)"

  # A file grown past the size limit fails the run with the reason, and leaves
  # the old file and no temporary file.
  refuse "-o past the file size limit" 1 "cannot write 'limited.txt': File too large" \
    bash -c 'ulimit -f 1 && exec "$@"' - "$cli" base64 big.bin -o limited.txt
  [ ! -e limited.txt ] || fail "-o past the size limit left a file"
  [[ $(ls -a) == *zembrax-* ]] && fail "temporary files left: $(ls -a)"

  # A non-blocking standard input is waited on.
  nonblocking_input() {
    { sleep 0.2; printf abc; } |
      perl -MFcntl -e 'fcntl(STDIN, F_SETFL, O_NONBLOCK) or die; exec @ARGV' "$cli" caesar --shift 1
  }
  expect "a non-blocking standard input" "bcd" nonblocking_input
else
  echo "skipped: signals, devices, FIFOs, sockets, symlinks, permission bits and limits (POSIX only)"
  # Windows' own device is written into in place.
  expect "-o onto NUL" "" "$cli" base64 a.txt -o NUL
  [ ! -e NUL ] || fail "-o made a file NUL"
fi

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
refuse "seven or eight bits" 2 "--bits" "$cli" binary --bits 6

# A slip of the keys is named, with what was meant, before what it left out.
refuse "method typo" 2 "unknown method 'ceasar'; did you mean 'caesar'?" "$cli" ceasar --shift 3
refuse "option typo" 2 "unknown option '--shfit'; did you mean '--shift'?" "$cli" caesar --shfit 3
refuse "option typo after a value" 2 "unknown option '--ful'; did you mean '--full'?" \
  "$cli" caesar --shift -3 --ful
refuse "option typo with =" 2 "unknown option '--kye'; did you mean '--key'?" "$cli" vigenere --kye=A
refuse "option far from any" 2 "unknown option '--colour'" "$cli" base64 --colour
grep -q "did you mean" stderr.txt && fail "option far from any: suggested $(head -1 stderr.txt)"
refuse "short option" 2 "unknown option '-x'" "$cli" base64 -x

# A decode that finds nothing to decode says so, and still exits 0. (Morse
# keeps a byte that has no code, such as '!', as the encoder writes it.)
for method in morse binary decimal base64 hex; do
  checks=$((checks + 1))
  out=$(printf '???' | "$cli" "$method" -d 2>stderr.txt); status=$?
  [ "$status" = 0 ] && [ -z "$out" ] || fail "$method -d of ???: exit $status, wrote '$out'"
  grep -q "nothing in the input reads as" stderr.txt || fail "$method -d of ???: said nothing"
done
# Every decode keeps every byte, and reads the forms people write.
expect "base64 -d keeps zero bytes" "0041410a" sh -c "printf 'AEFBCg' | \"$cli\" base64 -d | od -An -tx1 | tr -d ' \n'; echo"
expect "binary -d of spaced groups" "Hi" sh -c "printf '01001000 1101001' | \"$cli\" binary -d"
expect "hex -d with 0x and commas" "Hi" sh -c "printf '0x48,0x69' | \"$cli\" hex -d"
expect "decimal -d with commas" "Hi" sh -c "printf '72,105' | \"$cli\" decimal -d"
expect "morse -d keeps word gaps" "HI THERE" sh -c "printf '.... .. / - .... . .-. .' | \"$cli\" morse -d"
expect "empty input decodes quietly" "" "$cli" morse -d </dev/null

# Breaking a cipher and saying what a text is.
plain="The harbour master kept a ledger of every ship that left the port in winter, with the name of its captain."
printf '%s' "$plain" | "$cli" caesar --shift 3 >shifted.txt
checks=$((checks + 1))
"$cli" crack caesar shifted.txt >ranking.txt 2>stderr.txt || fail "crack caesar: exit $?"
grep -q '^  1\. caesar -d --shift 3 ' ranking.txt || fail "crack caesar: $(head -2 ranking.txt)"
expect "crack caesar --apply" "$plain" "$cli" crack caesar --apply shifted.txt
expect "crack --apply from a pipe" "$plain" bash -c '"$0" crack caesar --apply <shifted.txt' "$cli"
checks=$((checks + 1))
"$cli" crack caesar --apply shifted.txt -o applied.txt && [ "$(cat applied.txt)" = "$plain" ] ||
  fail "crack --apply -o"
# --explain lists each shift beside its own score: the best score is the first answer's.
printf '%s' "$plain" | "$cli" caesar --full --shift 3 >full.txt
checks=$((checks + 1))
"$cli" crack caesar --full --explain full.txt >explained.txt || fail "crack caesar --full --explain: exit $?"
best=$(sed -n '/^score of every shift/,/^$/p' explained.txt |
  awk 'NF == 2 && (!seen++ || $2 > top) { top = $2; at = $1 } END { print at }')
grep -q "^  1\. caesar -d --shift $best --full " explained.txt ||
  fail "crack caesar --full --explain: best score at shift $best; $(sed -n 2p explained.txt)"
printf '%s' "$plain" | "$cli" vigenere --key LEMON >vigenere.txt
expect "crack vigenere --key-length" "$plain" "$cli" crack vigenere --key-length 3-6 --apply vigenere.txt
printf '%s' "$plain" | "$cli" caesar --shift 3 | "$cli" hex | "$cli" base64 >layers.txt
expect "identify --apply" "$plain" "$cli" identify --apply layers.txt
checks=$((checks + 1))
"$cli" identify layers.txt >chains.txt || fail "identify: exit $?"
grep -q '^  1\. base64 -d | hex -d | caesar -d --shift 3  -> English (en)' chains.txt ||
  fail "identify: $(head -1 chains.txt)"
expect "hex -d reads hexadecimal" "Hi!" "$cli" hex -d <<<"48 69 21"

# The JSON holds to its schema for any bytes, even those that are no UTF-8.
# The methods and options of a step are those that --help names.
if command -v python3 >/dev/null; then
  "$cli" --help >schema-help.txt
  cat >schema.py <<'PY'
import json, re, sys
kind, path = sys.argv[1], sys.argv[2]
d = json.load(open(path, encoding="utf-8"))
names = open("schema-help.txt", encoding="utf-8").read()
methods = set(re.findall(r"^  ([a-z0-9]+) ", names, re.M)) - {"crack", "identify"}
known = set(re.findall(r"--([a-z][a-z0-9-]*)", names))
def chance(x): assert isinstance(x, (int, float)) and 0 <= x <= 1, x
def options(o):
    assert isinstance(o, dict)
    for k, v in o.items():
        assert k in known, k
        assert isinstance(v, (int, bool, str)), v
if kind == "crack":
    assert d["method"] in ("caesar", "vigenere", "subst", "bitwise") and isinstance(d["language"], str)
    for c in d["candidates"]:
        options(c["options"]); chance(c["confidence"])
        assert isinstance(c["language"], str) and isinstance(c["preview"], str)
        assert c["score"] is None or isinstance(c["score"], (int, float))
else:
    for c in d["candidates"]:
        chance(c["confidence"]); assert isinstance(c["preview"], str)
        for s in c["steps"]:
            assert s["method"] in methods, s
            assert isinstance(s["decrypt"], bool); options(s["options"])
assert "note" not in d or isinstance(d["note"], str)
PY
  printf 'caf\xe9 \xff\xfe "quoted" \\ back\x01slash\n%s' "$plain" >odd.txt
  head -c 3000 /dev/urandom >random.bin
  # Every entry point on every kind of input; through an emulator, which
  # runs each analysis many times slower, on the oddest alone.
  inputs="shifted.txt odd.txt random.bin layers.txt"
  [ -n "${runner:-}" ] && inputs="odd.txt"
  for input in $inputs; do
    for command in "crack caesar" "crack caesar --full" "crack xor" "crack vigenere" \
                   "crack subst" "identify"; do
      checks=$((checks + 1))
      # shellcheck disable=SC2086
      "$cli" $command --json --top 3 "$input" >out.json 2>stderr.txt
      status=$?
      if [ $status = 1 ]; then
        [ "$(wc -l <stderr.txt)" = 1 ] || fail "$command $input: exit 1 without one line"
        continue
      fi
      [ $status = 0 ] || fail "$command --json $input: exit $status"
      python3 schema.py "${command%% *}" out.json 2>stderr.txt ||
        fail "$command --json $input: $(tail -1 stderr.txt)"
    done
  done
fi
refuse "crack: no input" 1 "no input" "$cli" crack caesar
refuse "crack: no letters" 1 "no letters" bash -c 'printf "12 34 !" | "$0" crack vigenere' "$cli"
refuse "crack: unknown cipher" 2 "unknown cipher 'rot13'; the ciphers are caesar, xor, vigenere, subst" \
  "$cli" crack rot13
refuse "crack: cipher typo" 2 "unknown cipher 'ceasar'; did you mean 'caesar'?" "$cli" crack ceasar
refuse "crack: no cipher" 2 "CIPHER is required" "$cli" crack
refuse "analysis typo" 2 "unknown method 'crak'; did you mean 'crack'?" "$cli" crak caesar
refuse "analysis typo with a method's options" 2 "unknown method 'crak'; did you mean 'crack'?" \
  "$cli" crak caesar --shift 3
refuse "method typo before a method" 2 "unknown method 'bsae64'; did you mean 'base64'?" \
  "$cli" bsae64 hex -d
refuse "crack: --full" 2 "--full is for caesar only" "$cli" crack vigenere --full
refuse "crack: --key-length" 2 "--key-length takes N or MIN-MAX" "$cli" crack vigenere --key-length 9-3
refuse "crack: language" 2 "unknown language 'xx'" "$cli" crack caesar --language xx
refuse "crack: --json --apply" 2 "--json and --apply do not go together" "$cli" crack xor --json --apply
expect "binary --bits +7" "10010000001010" "$cli" binary --bits +7 <<<"H"
refuse "joined short options" 2 "--shift is required" "$cli" caesar -do out.txt shifted.txt
if $posix; then
  expect "crack --apply from /dev/stdin" "$plain" bash -c '"$0" crack caesar --apply /dev/stdin <shifted.txt' "$cli"
fi
refuse "identify: typo" 2 "unknown option '--jsno'; did you mean '--json'?" "$cli" identify --jsno

# Help and version.
"$cli" --help >help.txt || fail "--help failed"
for method in caesar vigenere base64 subst url bitwise binary decimal hex morse lsb rot47 atbash \
    trithemius reverse base32 octal base58 base85 z85 a1z26 nato bacon polybius; do
  grep -q "^  $method " help.txt || fail "--help does not list $method"
  grep -q "zembrax-cli $method" help.txt || fail "--help has no example of $method"
done
expect "--version" "zembrax-cli $version" "$cli" --version

echo "cli_test: $((checks - failures)) passed, $failures failed"
[ "$failures" = 0 ]
