#!/usr/bin/env bash
# A short libFuzzer run of the definition file walk, the loader, the checker
# and the converter from the seed corpus. Builds with clang under ASan and UBSan into build/fuzz; the run
# works on a scratch copy of the corpus, so the repository stays as it is.
# Exits non-zero when the fuzzer finds a crash (the input lands in build/fuzz/crashes).
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
out=$root/build/fuzz
seconds=${VX_FUZZ_SECONDS:-30}
mkdir -p "$out/crashes"

# clang accepts no execution character set but UTF-8, so the one CP932 source
# is compiled by g++ and linked in.
g++ -std=c++17 -O1 -fexec-charset=CP932 -I"$root" -c "$root/deffile/definition_header.cpp" \
  -o "$out/definition_header.o"
clang++ -std=c++17 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all -I"$root" \
  "$root/tests/fuzz/deffile_fuzz.cpp" \
  "$root/deffile/byte_sources.cpp" "$root/deffile/cp932_codec.cpp" "$root/deffile/cp932_table.cpp" \
  "$root/deffile/definition_check.cpp" "$root/deffile/definition_loader.cpp" \
  "$root/deffile/definition_text_table.cpp" "$root/deffile/definition_walker.cpp" \
  "$root/deffile/text_mode_reader.cpp" "$root/tools/vxtags/definition_convert.cpp" \
  "$root/tools/vxtags/utf8.cpp" "$out/definition_header.o" \
  -o "$out/deffile_fuzz"

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cp "$root"/tests/fuzz/corpus/* "$scratch/"
"$out/deffile_fuzz" -max_total_time="$seconds" -max_len=16384 -timeout=10 -rss_limit_mb=2048 \
  -print_final_stats=1 -artifact_prefix="$out/crashes/" "$scratch" 2>"$out/last-run.log" || {
  tail -40 "$out/last-run.log"
  echo "deffile fuzz: failure, see $out/crashes/" >&2
  exit 1
}
grep -E "^stat::number_of_executed_units|^#[0-9]+.*DONE" "$out/last-run.log" || true
echo "deffile fuzz: no crash in ${seconds} s"
