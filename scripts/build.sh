#!/usr/bin/env bash
# Configures and builds into build/<name>. Usage: build.sh NAME [cmake options...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
name=$1; shift
# A compiler cache, where there is one, serves a machine that has built before; paths below the
# checkout are taken as relative, so that another checkout of the same sources finds them too.
launcher=()
if command -v ccache >/dev/null 2>&1; then
  cache="env;CCACHE_BASEDIR=$root;CCACHE_NOHASHDIR=1;ccache"
  launcher=("-DCMAKE_CXX_COMPILER_LAUNCHER=$cache" "-DCMAKE_C_COMPILER_LAUNCHER=$cache")
fi
cmake -S "$root" -B "$root/build/$name" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" "$@" >/dev/null
cmake --build "$root/build/$name" -j2
