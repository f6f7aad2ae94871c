#!/usr/bin/env bash
# Builds the dictionary into a folder: the full one from the open-data packages, or, when
# they cannot be fetched, the small sample whose sources are kept in tools/sample/src.
# usage: build-dictionary.sh [BUILDER [OUT]]   (defaults: build/tools/enci-build, dist)
set -euo pipefail
cd "$(dirname "$0")/.."
builder=${1:-build/tools/enci-build}
out=${2:-dist}
mkdir -p "$out"
if bash scripts/fetch-sources.sh; then
  "$builder" .cache/src "$out"
  rm -f "$out/.sample-dictionary"
else
  echo "build-dictionary: the sources cannot be fetched; building the sample dictionary" >&2
  "$builder" tools/sample/src "$out"
  # Remembered so that the next layout tries the full dictionary again.
  touch "$out/.sample-dictionary"
fi
