#!/usr/bin/env bash
# The Windows zip: what it holds, that both programs need no DLL beyond
# Windows' own and that the window stays within 40 MB, and both programs run
# from the unpacked zip under Wine.
# Usage: windows_package_test.sh BUILD-FOLDER VERSION
set -euo pipefail
build=$(cd "$1" && pwd)
version=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

(cd "$build" && cpack -G ZIP -B "$work/package" >/dev/null)
name=zembrax-$version-windows-x86_64
zip=$work/package/$name.zip
# Listings go to files first: grep -q stopping early would break the pipe.
unzip -Z1 "$zip" >"$work/contents"
for file in zembrax.exe zembrax-cli.exe manual.html LICENSE.txt docs/main-window.png; do
  grep -qx "$name/$file" "$work/contents" || { echo "not in the zip: $file"; cat "$work/contents"; exit 1; }
done
unzip -q "$zip" -d "$work"
root=$work/$name

for program in zembrax.exe zembrax-cli.exe; do
  x86_64-w64-mingw32-objdump -p "$root/$program" >"$work/headers"
  # The DLLs of Windows itself, and of its C runtime.
  if grep 'DLL Name:' "$work/headers" |
     grep -viE 'DLL Name: (kernel32|user32|gdi32|shell32|ole32|oleaut32|advapi32|comdlg32|imm32|winmm|ws2_32|uxtheme|dwmapi|version|netapi32|userenv|mpr|setupapi|shlwapi|uuid|d3d9|d3d11|dxgi|dwrite|d2d1|authz|wtsapi32|rpcrt4|bcrypt|crypt32|secur32|iphlpapi|dnsapi|ntdll|normaliz|shcore|winspool|msvcrt|api-ms-win-[a-z0-9-]+)\.dll' \
     >"$work/foreign"; then
    echo "$program needs DLLs that Windows lacks:"; cat "$work/foreign"; exit 1
  fi
done
size=$(stat -c %s "$root/zembrax.exe")
echo "zembrax.exe: $((size / 1048576)) MiB (at most 40)"
[ "$size" -le $((40 << 20)) ] || { echo "zembrax.exe is larger than 40 MiB"; exit 1; }
file "$root/zembrax.exe" | grep -q '(GUI)' || { echo "zembrax.exe opens a console"; exit 1; }
strings -n 8 "$root/zembrax.exe" >"$work/strings"
for part in Microsoft.Windows.Common-Controls '>UTF-8</activeCodePage>' '>PerMonitorV2<'; do
  grep -qF "$part" "$work/strings" || { echo "zembrax.exe's manifest lacks $part"; exit 1; }
done

grep -q '<h2>Command line</h2>' "$root/manual.html"
grep -q 'src="docs/main-window.png"' "$root/manual.html"
cmp -s "$root/LICENSE.txt" "$(dirname "$0")/../LICENSE" || { echo "LICENSE.txt is not the licence"; exit 1; }

wine=(env WINEPREFIX="$build/wine" WINEDEBUG=-all /usr/lib/wine/wine64)
[ "$("${wine[@]}" "$root/zembrax-cli.exe" --version | tr -d '\r')" = "zembrax-cli $version" ]
[ "$(printf 'Hello, World!' | "${wine[@]}" "$root/zembrax-cli.exe" caesar --shift 3)" = "Khoor, Zruog!" ]
# (Its --version shows a message box unless its starter hands it a pipe to
# print on, which Wine's start from a shell does not; an unknown encoding
# is said on the standard error.)
status=0
"${wine[@]}" "$root/zembrax.exe" --encoding latin9 2>"$work/refusal" || status=$?
[ "$status" -eq 2 ] && grep -q "unknown text encoding 'latin9'" "$work/refusal" ||
  { echo "zembrax.exe from the zip did not refuse an unknown encoding"; exit 1; }
echo "windows_package_test: 1 passed, 0 failed"
