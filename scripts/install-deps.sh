#!/usr/bin/env bash
# Installs the Debian packages that building and testing need; does nothing when all are there.
set -euo pipefail
pkgs=(build-essential cmake pkg-config libtinyxml-dev libassimp-dev assimp-utils nlohmann-json3-dev
      libcli11-dev libtiff-dev libpng-dev libgtest-dev libgmock-dev libbenchmark-dev
      clang-14 libclang-rt-14-dev assimp-testmodels)
pkgs+=(libosmesa6-dev) # offscreen OpenGL for the scene preview
pkgs+=(libstb-dev)     # the preview's texture decoding (stb_image)
pkgs+=(libexpat1-dev)  # the export report reads the scene file back
pkgs+=(ccache)         # a compiler cache for a machine that builds again
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo_cmd=""; [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq "${missing[@]}"
fi

# A locale with a decimal comma, so the tests can check that the scene file's numbers keep their point.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
  sudo_cmd=""; [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  if ! command -v localedef >/dev/null 2>&1 || [ ! -d /usr/share/i18n/locales ] || [ ! -e /usr/share/i18n/locales/de_DE ]; then
    $sudo_cmd apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq locales
  fi
  $sudo_cmd localedef -i de_DE -f UTF-8 de_DE.UTF-8
fi
