#!/usr/bin/env bash
# Makes the Windows ZIP package with cpack and checks what it holds: the
# program, the simulated radio in sim/ and the readme, and nothing else (no
# mpusbapi.dll beside the program: the radio maker's is never bundled); the
# program is of the build's architecture and imports only DLLs that every
# Windows has, so it runs from the unpacked folder alone.
#
#   package_contents.sh BUILD_DIR OBJDUMP PE_FORMAT
set -euo pipefail
build=$1 objdump=$2 format=$3
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
fail() { echo "WindowsPackage: $*"; exit 1; }

cpack --config "$build/CPackConfig.cmake" -G ZIP -B "$out" > "$out/cpack.log" 2>&1 ||
  { cat "$out/cpack.log"; fail "cpack failed"; }
zips=("$out"/*.zip)
[ ${#zips[@]} -eq 1 ] && [ -f "${zips[0]}" ] || fail "cpack made no single ZIP"
zip=${zips[0]}

top=$(basename "$zip" .zip)
listing=$(unzip -Z1 "$zip" | grep -v '/$' | sort)
expected=$(printf '%s\n' "$top/README.txt" "$top/ravolin.exe" "$top/sim/mpusbapi.dll")
[ "$listing" = "$expected" ] || fail $'the package holds\n'"$listing"$'\ninstead of\n'"$expected"

unzip -q "$zip" -d "$out/unpacked"
for binary in ravolin.exe sim/mpusbapi.dll; do
  "$objdump" -f "$out/unpacked/$top/$binary" | grep -q "file format $format" ||
    fail "$binary is not $format"
done
imports=$("$objdump" -p "$out/unpacked/$top/ravolin.exe" | awk '/DLL Name:/ { print tolower($3) }' | sort -u)
for dll in $imports; do
  case $dll in
    kernel32.dll | user32.dll | gdi32.dll | comctl32.dll | ws2_32.dll | msvcrt.dll | advapi32.dll) ;;
    *) fail "ravolin.exe needs $dll, which the package does not hold" ;;
  esac
done
echo "WindowsPackage: $(basename "$zip") holds $(echo "$listing" | wc -l) files; ravolin.exe imports only" $imports
