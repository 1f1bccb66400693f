#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the tests and the screenshots need.
# Only missing packages are installed; sudo is used when not root.
set -euo pipefail
pkgs=(cmake ninja-build g++ make qt6-base-dev libgl-dev libgtest-dev libgmock-dev
      libbenchmark-dev fonts-ipafont-gothic fonts-ipafont-mincho fp-utils qt6-translations-l10n
      clang libclang-rt-14-dev clang-format clang-tidy xvfb xdotool imagemagick libcli11-dev nlohmann-json3-dev
      libkissfft-dev)
pkgs+=(locales)  # locale sources: tests generate a comma-decimal locale with localedef
pkgs+=(dpkg-dev file desktop-file-utils lintian appstream shared-mime-info binutils)  # the Debian package: shlibdeps, checks
missing=()
for p in "${pkgs[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
