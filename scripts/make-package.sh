#!/usr/bin/env bash
# Builds the Debian package of the dictionary with CPack.
# usage: make-package.sh [--dictionary DIR] [--build DIR] [--output DIR]
#   --dictionary  a folder laid out like dist/ (enci.edt, enci.dbf, html/encd.css, NOTICES.txt);
#                 default: dist/, laid out by scripts/make-dist.sh when missing
#   --build       the CMake build folder to package from (default: build)
#   --output      where the .deb goes (default: the build folder)
# Prints the path of the package on its last line.
set -euo pipefail
cd "$(dirname "$0")/.."
dictionary='' build=build output=''
while (($#)); do
  case $1 in
    --dictionary) dictionary=$2; shift 2 ;;
    --build) build=$2; shift 2 ;;
    --output) output=$2; shift 2 ;;
    *) echo "make-package: unknown argument $1" >&2; exit 2 ;;
  esac
done
output=${output:-$build}
if [[ ! -f $build/CMakeCache.txt ]]; then
  bash scripts/install-deps.sh
  cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release
fi
cmake --build "$build" -j"$(nproc)" --target qinghe-dict qinghe_package_docs
if [[ -z $dictionary ]]; then
  [[ -s dist/enci.edt && -s dist/enci.dbf ]] || {
    cmake --build "$build" -j"$(nproc)" --target enci-build
    bash scripts/make-dist.sh "$build"
  }
  dictionary=dist
fi
dictionary=$(cd "$dictionary" && pwd)
mkdir -p "$output"
output=$(cd "$output" && pwd)
# CPack stages the install under the build folder; the dictionary is read at install time.
QINGHE_DICTIONARY_DIR=$dictionary cpack --config "$build/CPackConfig.cmake" -B "$output" >&2
rm -rf "$output/_CPack_Packages"
deb=$(ls -t "$output"/qinghe-dict_*.deb | head -n 1)
echo "make-package: $(du -h "$deb" | cut -f1) $deb" >&2
echo "$deb"
