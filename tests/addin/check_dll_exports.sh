#!/usr/bin/env bash
# Checks a built vxhtml.dll from its PE headers alone (the 32-bit build cannot
# run here): the image kind, the name in its export directory, exactly the
# expected exports, and imports from system DLLs and our framework only.
# usage: check_dll_exports.sh OBJDUMP DLL PE32|PE32+ EXPORT...
set -u
objdump=$1 dll=$2 kind=$3
shift 3
expected_exports=$(printf '%s\n' "$@" | sort)
allowed_imports='^(kernel32|user32|gdi32|comctl32|comdlg32|advapi32|msvcrt|vxframe)\.dll$'

headers=$("$objdump" -p "$dll") || { echo "objdump failed on $dll"; exit 1; }
fail=0

magic=$(grep -E '^Magic[[:space:]]' <<<"$headers" | sed -E 's/.*\((PE32\+?)\).*/\1/')
if [ "$magic" != "$kind" ]; then
  echo "image kind: got '$magic', want '$kind'"; fail=1
fi

name=$(sed -n '/^The Export Tables/,/^Ordinal Base/p' <<<"$headers" |
  grep -E '^Name[[:space:]]' | awk '{print $NF}')
if [ "$name" != "vxhtml.dll" ]; then
  echo "export directory name: got '$name', want 'vxhtml.dll'"; fail=1
fi

exports=$(sed -n '/^\[Ordinal\/Name Pointer\] Table/,/^$/p' <<<"$headers" |
  grep -E '^[[:space:]]+\[' | awk '{print $NF}' | sort)
if [ "$exports" != "$expected_exports" ]; then
  echo "exports differ:"; diff <(echo "$expected_exports") <(echo "$exports"); fail=1
fi

imports=$(grep -E 'DLL Name:' <<<"$headers" | awk '{print tolower($NF)}' | sort -u)
[ -n "$imports" ] || { echo "no import table found"; fail=1; }
while read -r dll_name; do
  [ -z "$dll_name" ] && continue
  if ! grep -Eq "$allowed_imports" <<<"$dll_name"; then
    echo "import outside the allowed DLLs: $dll_name"; fail=1
  fi
done <<<"$imports"

[ $fail -eq 0 ] && echo "ok: $kind, vxhtml.dll, exports: $(echo $exports), imports: $(echo $imports)"
exit $fail
