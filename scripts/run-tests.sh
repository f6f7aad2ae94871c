#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: the unit and widget tests
# (offscreen) with the end-to-end tests (label e2e: the program in a private X session), then
# the fuzz targets, a few seconds each, in a clang build folder of their own (label fuzz).
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)
stage() {
  local name=$1 start=$SECONDS
  shift
  echo "== $name"
  "$@"
  echo "== $name: $((SECONDS - start)) s"
}
stage "install" bash scripts/install-deps.sh
stage "configure" cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
stage "build" cmake --build build -j"$jobs"
stage "unit and e2e tests" ctest --test-dir build --output-on-failure -j"$jobs"
stage "fuzz configure" cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++ -DQINGHE_FUZZ=ON -DQINGHE_TESTS=OFF -DQINGHE_BENCH=OFF
stage "fuzz build" cmake --build build-fuzz -j"$jobs" --target fuzz-targets
stage "fuzz tests" ctest --test-dir build-fuzz --output-on-failure -j"$jobs" -L fuzz
