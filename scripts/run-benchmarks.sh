#!/usr/bin/env bash
# Builds Release and prints one table of look-up times on the dictionary in dist/ (laid out
# first when missing), then the same table on a generated word index of 2,000,000 headwords
# and how much keystroke-en's p95 grew there. Not part of the tests.
# usage: run-benchmarks.sh [FOLDER | synthetic:COUNT]   (default: dist)
set -euo pipefail
cd "$(dirname "$0")/.."
build=build-release
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j"$(nproc)" --target lookup_table qinghe-dict enci-build >/dev/null
table="$build/bench/lookup_table"

# A generated dictionary folder of $1 headwords, written again when its generator or the
# store's form (set in Connection.cpp) changed.
synthetic() {
  local folder="$build/bench-dicts/synthetic-$1"
  if [[ ! -s "$folder/enci.edt" || store/StoreWriter.cpp -nt "$folder/enci.edt" ||
        store/Connection.cpp -nt "$folder/enci.edt" ||
        bench/SyntheticDictionary.h -nt "$folder/enci.edt" ]]; then
    echo "run-benchmarks: generating a dictionary of $1 headwords in $folder" >&2
    rm -rf "$folder"
    "$table" --make-synthetic="$1" "$folder"
  fi
  echo "$folder"
}

dict=${1:-dist}
if [[ $dict == synthetic:* ]]; then
  dict=$(synthetic "${dict#synthetic:}")
elif [[ ! -s $dict/enci.edt ]]; then
  echo "run-benchmarks: no dictionary in $dict; laying it out" >&2
  bash scripts/make-dist.sh "$build" >&2
fi
if [[ -e $dict/.sample-dictionary ]]; then
  echo "run-benchmarks: $dict holds the small sample dictionary, not the full one" >&2
fi

out=$(mktemp)
scale_out=$(mktemp)
trap 'rm -f "$out" "$scale_out"' EXIT
"$table" --dict="$dict" | tee "$out"
echo
echo "# scale: the same look-ups on a generated word index of 2,000,000 headwords"
"$table" --dict="$(synthetic 2000000)" --no-baseline --no-start-up | tee "$scale_out"
awk '$1 == "keystroke-en" { p95[FILENAME] = $3 }
     END { printf "%-21s %7.2f\n", "scale keystroke-en", p95[ARGV[2]] / p95[ARGV[1]] }' \
  "$out" "$scale_out"
