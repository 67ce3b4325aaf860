#!/usr/bin/env bash
# Builds the shipped 32-bit modules from scratch (the release preset) and
# writes build/dist/vxhtml-<version>-win32.zip and build/dist/SHA256SUMS; the
# zip's path is the last line printed. Stripped modules go into the zip, their
# debug information into build/dist/debug/.
# Two runs on one commit give the same bytes: link time stamps are zero, file
# names in the binaries are relative, and the zip's entries are sorted and
# dated from the commit (SOURCE_DATE_EPOCH, when set, wins).
#   VX_RELEASE_DIR, VX_DIST_DIR: other build and output folders (the test run
#   packages twice to compare).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash tools/install-deps.sh

build=${VX_RELEASE_DIR:-$root/build/release}
dist=${VX_DIST_DIR:-$root/build/dist}
if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
  SOURCE_DATE_EPOCH=$(git -C "$root" log -1 --format=%ct 2>/dev/null) || {
    echo "package: not a git checkout; set SOURCE_DATE_EPOCH" >&2; exit 1; }
fi
export SOURCE_DATE_EPOCH

rm -rf "$build"
cmake --preset release -B "$build" >/dev/null
cmake --build "$build" --parallel 2 >&2

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
[ -n "$version" ] || { echo "package: no project version in $build/CMakeCache.txt" >&2; exit 1; }
name=vxhtml-$version
bin=$build/bin

rm -rf "$dist"
stage=$dist/stage/$name
mkdir -p "$stage/docs" "$dist/debug"
modules=(vxhtml.dll vxframe.dll vxhost.exe vxpalette.exe vxtags.exe)
for module in "${modules[@]}"; do
  [ -f "$bin/$module" ] || { echo "package: $module was not built" >&2; exit 1; }
  i686-w64-mingw32-objcopy --only-keep-debug "$bin/$module" "$dist/debug/$module.debug"
  # strip stamps the PE header from SOURCE_DATE_EPOCH: keep the link's zero.
  SOURCE_DATE_EPOCH=0 i686-w64-mingw32-strip --strip-all -o "$stage/$module" "$bin/$module"
done
# The definition files the build puts beside the editor are the ones we ship.
defs=("$bin"/*.def)
[ -e "${defs[0]}" ] || { echo "package: no definition file in $bin" >&2; exit 1; }
cp "${defs[@]}" "$stage/"
# Readmes and documents as every Notepad shows them: UTF-8 with a byte order
# mark, CR LF. The sources keep neither, as the repository's other texts.
for doc in host-protocol.md definition-files.md definition-files.en.md; do
  [ -f "docs/$doc" ] || continue
  { printf '\xef\xbb\xbf'; sed -e '1s/^\xef\xbb\xbf//' -e 's/$/\r/' "docs/$doc"; } >"$stage/docs/$doc"
done
for lang in ja en; do
  { printf '\xef\xbb\xbf'; sed -e "s/@VERSION@/$version/g" -e 's/$/\r/' "docs/package/README-$lang.txt"; } \
    >"$stage/README-$lang.txt"
done

find "$dist/stage" -type d -exec chmod 755 {} +
find "$dist/stage" -type f -exec chmod 644 {} +
find "$dist/stage" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +
zip_file=$dist/$name-win32.zip
(cd "$dist/stage" && find "$name" -type f | LC_ALL=C sort | TZ=UTC zip -q -X -D "$zip_file" -@)
(cd "$dist" && sha256sum "$name-win32.zip" >SHA256SUMS)
for module in "${modules[@]}"; do
  printf '%-12s %7d bytes\n' "$module" "$(stat -c %s "$stage/$module")"
done
printf '%-12s %7d bytes\n' "zip" "$(stat -c %s "$zip_file")"
rm -rf "$dist/stage"
echo "$zip_file"
