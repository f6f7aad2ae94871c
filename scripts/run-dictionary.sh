#!/usr/bin/env bash
# Installs what is missing, builds the program, lays out dist/ and starts the dictionary there.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
cmake --build build -j"$(nproc)"
bash scripts/make-dist.sh
cd dist
exec ./qinghe-dict
