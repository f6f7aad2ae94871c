#!/usr/bin/env bash
# Lays out the program folder dist/: the program, both stores and html/ with the style sheet.
set -euo pipefail
cd "$(dirname "$0")/.."
mkdir -p dist/html
cp build/app/qinghe-dict dist/
