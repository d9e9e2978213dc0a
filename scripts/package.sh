#!/usr/bin/env bash
# Builds the release packages: the 32-bit program (the one that ships) and the
# 64-bit one, stripped, each zipped with a plain-text read-me (CR LF) into
# dist/lumatype-VERSION-win32.zip and dist/lumatype-VERSION-win64.zip, and
# dist/SHA256SUMS. VERSION is the CMake project version. Builds in the win32
# and win64 presets' folders (both Release), configuring them when missing.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
version=$(sed -nE 's/^project\(Lumatype VERSION ([0-9]+\.[0-9]+\.[0-9]+).*/\1/p' CMakeLists.txt)
[ -n "$version" ] || { echo "$0: no project version in CMakeLists.txt" >&2; exit 1; }
# The files carry the time of the last commit: the same sources give the same zips.
stamp=$(git log -1 --format=%ct 2>/dev/null || date +%s)
stage=$(mktemp -d "${TMPDIR:-/tmp}/lumatype-package.XXXXXX")
trap 'rm -rf "$stage"' EXIT

rm -rf dist
mkdir -p dist
for flavor in win32 win64; do
  case $flavor in
    win32) strip=i686-w64-mingw32-strip bits=32 ;;
    win64) strip=x86_64-w64-mingw32-strip bits=64 ;;
  esac
  [ -f "build/$flavor/CMakeCache.txt" ] || cmake --preset "$flavor" >/dev/null
  cmake --build --preset "$flavor" --target lumatype >/dev/null
  rm -rf "${stage:?}"/*
  "$strip" -o "$stage/lumatype.exe" "build/$flavor/lumatype.exe"
  sed -e "s/@VERSION@/$version/g" -e "s/@BITS@/$bits/g" -e 's/$/\r/' res/package-readme.txt \
    >"$stage/README.txt"
  # The word tables built into the program carry their attribution with it.
  sed -e 's/$/\r/' data/words/ATTRIBUTION.txt >"$stage/WORD-TABLES.txt"
  touch -d "@$stamp" "$stage/lumatype.exe" "$stage/README.txt" "$stage/WORD-TABLES.txt"
  (cd "$stage" && TZ=UTC zip -X -q "$root/dist/lumatype-$version-$flavor.zip" lumatype.exe README.txt \
    WORD-TABLES.txt)
done
(cd dist && sha256sum lumatype-*.zip >SHA256SUMS)
echo "packages of Lumatype $version:"
(cd dist && ls -l lumatype-*.zip SHA256SUMS | awk '{print "  dist/" $NF ", " $5 " bytes"}')
