#!/usr/bin/env bash
# Import and export of a generated model: a flat grid OBJ of 1 million triangles (500 x 1000 quads)
# through `lumeno-host export MODEL.obj`, beside `assimp export` of the same file to 3DS, in the
# same run. Usage: bench/import_bench.sh [LUMENO_HOST] [WORK_DIR]; prints seconds per run (best of 3).
set -euo pipefail
host=${1:-build/normal/bin/lumeno-host}
work=${2:-$(mktemp -d)}
mkdir -p "$work"
model="$work/grid.obj"
columns=500 rows=1000
awk -v c=$columns -v r=$rows 'BEGIN {
  for (j = 0; j <= r; ++j) for (i = 0; i <= c; ++i) printf "v %d 0 %d\n", i, j;
  for (j = 0; j < r; ++j) for (i = 0; i < c; ++i) {
    p = j * (c + 1) + i + 1;
    printf "f %d %d %d %d\n", p, p + 1, p + c + 2, p + c + 1;
  } }' > "$model"

best() { # best wall time of 3 runs of the command, in seconds
  local best=
  for _ in 1 2 3; do
    local start end
    start=$(date +%s.%N)
    "$@" >/dev/null 2>&1
    end=$(date +%s.%N)
    best=$(echo "$end - $start" | bc | awk -v b="$best" '{ print (b == "" || $1 < b) ? $1 : b }')
  done
  echo "$best"
}

ours=$(best "$host" export "$model" -o "$work/grid.xml")
peer=$(best assimp export "$model" "$work/peer.3ds")
echo "model: $(du -m "$model" | cut -f1) MB OBJ, $((2 * columns * rows)) triangles; file system: $(df -T "$work" | awk 'NR == 2 { print $2 }')"
echo "lumeno-host export MODEL.obj: $ours s"
echo "assimp export MODEL.obj to 3DS: $peer s"
echo "ratio: $(echo "$ours / $peer" | bc -l | cut -c1-5)"
