#!/usr/bin/env bash
# Redraws docs/main-window.png from the end-to-end run's picture of the main window: the
# program on the sample dictionary in a real X session, after a search for 中国.
# usage: update-screenshot.sh [BUILD_DIR]   (default: build, already built)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
ctest --test-dir "$build" -R '^e2e_main_window$' --output-on-failure
cp "$build/e2e/main-window.png" docs/main-window.png
echo "docs/main-window.png updated"
