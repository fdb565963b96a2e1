#!/usr/bin/env bash
# Installs the Debian packages that the build and the tests need, but only
# those that are missing, so that a prepared machine is left untouched.
# Extra package names on the command line are added to the list.
set -euo pipefail
pkgs=(cmake ninja-build g++ flex bison libgtest-dev "$@")
missing=()
for p in "${pkgs[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "setup: installing ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
