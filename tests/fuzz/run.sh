#!/usr/bin/env bash
# A short libFuzzer run of the definition file walk, the loader, the checker
# and the converter from the seed corpus. Builds with clang under ASan and
# UBSan into build/fuzz, from the sources as the native build lists them; the
# run works on a scratch copy of the corpus, so the repository stays as it is.
# Exits non-zero when the fuzzer finds a crash (the input lands in build/fuzz/crashes).
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
out=$root/build/fuzz
native=${VX_FUZZ_NATIVE_BUILD:-$root/build/native}
seconds=${VX_FUZZ_SECONDS:-30}
mkdir -p "$out/crashes"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

[ -f "$native/CMakeCache.txt" ] || cmake --preset native -S "$root" >/dev/null
lists=$native/fuzz
[ -s "$lists/deffile-sources.txt" ] || { echo "deffile fuzz: no source list in $lists" >&2; exit 1; }
mapfile -t plain <"$lists/deffile-sources.txt"
mapfile -t cp932 <"$lists/deffile-cp932-sources.txt"

# clang accepts no execution character set but UTF-8, so the CP932 sources
# are compiled by g++ and linked in.
objects=()
for source in "${cp932[@]}"; do
  [ -n "$source" ] || continue
  object=$scratch/$(basename "$source" .cpp).o
  g++ -std=c++17 -O1 -fexec-charset=CP932 -I"$root" -c "$source" -o "$object"
  objects+=("$object")
done
clang++ -std=c++17 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all -I"$root" \
  "$root/tests/fuzz/deffile_fuzz.cpp" "${plain[@]}" "${objects[@]}" -o "$out/deffile_fuzz"

mkdir "$scratch/corpus"
cp "$root"/tests/fuzz/corpus/* "$scratch/corpus/"
"$out/deffile_fuzz" -max_total_time="$seconds" -max_len=16384 -timeout=10 -rss_limit_mb=2048 \
  -print_final_stats=1 -artifact_prefix="$out/crashes/" "$scratch/corpus" 2>"$out/last-run.log" || {
  tail -40 "$out/last-run.log"
  echo "deffile fuzz: failure, see $out/crashes/" >&2
  exit 1
}
grep -E "^stat::number_of_executed_units|^#[0-9]+.*DONE" "$out/last-run.log" || true
echo "deffile fuzz: no crash in ${seconds} s"
