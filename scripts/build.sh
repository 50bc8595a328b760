#!/usr/bin/env bash
# Configures and builds into build/<name>. Usage: build.sh NAME [cmake options...]
# LUMENO_BUILD_TARGETS (a list of targets) builds only those, with what they need.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
name=$1; shift
# A compiler cache, where there is one, serves a machine that has built before; paths below the
# checkout are taken as relative, so that another checkout of the same sources finds them too.
launcher=()
if command -v ccache >/dev/null 2>&1; then
  # Precompiled headers are cached too when their defines and file times are not held against them.
  cache="env;CCACHE_BASEDIR=$root;CCACHE_NOHASHDIR=1;CCACHE_SLOPPINESS=pch_defines,time_macros,include_file_mtime,include_file_ctime;ccache"
  launcher=("-DCMAKE_CXX_COMPILER_LAUNCHER=$cache" "-DCMAKE_C_COMPILER_LAUNCHER=$cache")
fi
cmake -S "$root" -B "$root/build/$name" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" "$@" >/dev/null
targets=()
for target in ${LUMENO_BUILD_TARGETS:-}; do targets+=(--target "$target"); done
cmake --build "$root/build/$name" -j2 "${targets[@]}"
