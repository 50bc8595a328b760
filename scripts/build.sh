#!/usr/bin/env bash
# Configures and builds into build/<name>. Usage: build.sh NAME [cmake options...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
name=$1; shift
cmake -S "$root" -B "$root/build/$name" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
cmake --build "$root/build/$name" -j2
