#!/usr/bin/env bash
# Installs the Debian packages that building and testing need; does nothing when all are there.
set -euo pipefail
pkgs=(build-essential cmake pkg-config libtinyxml-dev libassimp-dev assimp-utils nlohmann-json3-dev
      libcli11-dev libtiff-dev libgtest-dev libgmock-dev libbenchmark-dev)
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo_cmd=""; [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq "${missing[@]}"
fi
