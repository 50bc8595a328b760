#!/usr/bin/env bash
# A model file through lumeno-host beside assimp, in the same run: a generated flat grid OBJ of
# 1 million triangles (500 x 1000 quads), read by `lumeno-host import MODEL.obj -o DOC.json` (the
# model as a document file) and by `lumeno-host export MODEL.obj -o SCENE.xml` (imported and
# exported in one step: scene file and 3DS files), each beside `assimp export MODEL.obj` to 3DS.
# Prints each best wall time of REPEAT runs, the ratio, and the peak resident memory against the
# bytes written, also over what an empty export peaks at.
# Usage: bench/import_bench.sh [LUMENO_HOST] [WORK_DIR (default /dev/shm/...)] [REPEAT (3)]
set -euo pipefail
host=${1:-build/normal/bin/lumeno-host}
work=${2:-$(mktemp -d /dev/shm/lumeno-import-bench.XXXXXX)}
repeat=${3:-3}
mkdir -p "$work"
model="$work/grid.obj"
columns=500 rows=1000
awk -v c=$columns -v r=$rows 'BEGIN {
  for (j = 0; j <= r; ++j) for (i = 0; i <= c; ++i) printf "v %d 0 %d\n", i, j;
  for (j = 0; j < r; ++j) for (i = 0; i < c; ++i) {
    p = j * (c + 1) + i + 1;
    printf "f %d %d %d %d\n", p, p + 1, p + c + 2, p + c + 1;
  } }' > "$model"

# Best wall time (s) and the peak resident memory (kB) of that run; FRESH is emptied before each.
best() {
  local fresh=$1 best= memory=
  shift
  for _ in $(seq "$repeat"); do
    rm -rf "$fresh" && mkdir -p "$fresh"
    /usr/bin/time -f "%e %M" -o "$work/time.txt" "$@" >/dev/null 2>"$work/stderr.txt" ||
      { echo "failed: $*" >&2; cat "$work/stderr.txt" >&2; exit 1; }
    read -r seconds kb <"$work/time.txt"
    if [[ -z $best ]] || (( $(echo "$seconds < $best" | bc) )); then best=$seconds memory=$kb; fi
  done
  echo "$best $memory"
}

echo '{}' >"$work/empty.json"
read -r _ empty_kb < <(best "$work/empty" "$host" export "$work/empty.json" -o "$work/empty/scene.xml")
read -r peer peer_kb < <(best "$work/peer" assimp export "$model" "$work/peer/peer.3ds")
echo "model: $(du -m "$model" | cut -f1) MB OBJ, $((2 * columns * rows)) triangles; an empty export peaks at $((empty_kb / 1000)) MB"
echo "assimp export MODEL.obj to 3DS: $peer s, peak $((peer_kb / 1000)) MB"
echo
echo '| command | s | ratio to assimp | peak MB | writes MB | peak / written | peak over empty / written |'
echo '|---|---|---|---|---|---|---|'
row() { # label, output folder, command...
  local label=$1 out=$2; shift 2
  read -r ours ours_kb < <(best "$out" "$@")
  local written
  written=$(du -sb "$out" | cut -f1)
  printf '| %s | %s | %.2f | %.0f | %.1f | %.2f | %.2f |\n' "$label" "$ours" "$(echo "$ours / $peer" | bc -l)" \
    "$(echo "$ours_kb / 1000" | bc -l)" "$(echo "$written / 1000000" | bc -l)" "$(echo "$ours_kb * 1024 / $written" | bc -l)" \
    "$(echo "($ours_kb - $empty_kb) * 1024 / $written" | bc -l)"
}
row '`lumeno-host import MODEL.obj`' "$work/import" "$host" import "$model" -o "$work/import/grid.json"
row '`lumeno-host export MODEL.obj`' "$work/export" "$host" export "$model" -o "$work/export/grid.xml"
echo
echo "file system: $(df -T "$work" | awk 'NR == 2 { print $2 }'); load average: $(cut -d' ' -f1-3 /proc/loadavg)"
rm -rf "$work/import" "$work/export" "$work/peer" "$work/empty" "$work/empty.json" "$model" "$work/time.txt" "$work/stderr.txt"
