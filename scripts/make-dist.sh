#!/usr/bin/env bash
# Lays out the program folder dist/: the program, both stores, html/ with the style sheet,
# and the notices of the dictionary data. The dictionary is built only when it is missing,
# older than the builder, or the sample stands in for it.
# usage: make-dist.sh [BUILD_DIR]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
builder="$build/tools/enci-build"
mkdir -p dist/html
cp "$build/app/qinghe-dict" dist/
if [[ ! -s dist/enci.edt || ! -s dist/enci.dbf || ! -s dist/html/encd.css ||
      ! -s dist/NOTICES.txt || "$builder" -nt dist/enci.dbf || -e dist/.sample-dictionary ]]; then
  start=$SECONDS
  bash scripts/build-dictionary.sh "$builder" dist
  echo "make-dist: dictionary built in $((SECONDS - start)) s"
fi
