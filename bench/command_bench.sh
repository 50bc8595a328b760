#!/usr/bin/env bash
# The whole command as a user runs it: `lumeno-host export DOC.json -o OUT.xml` beside `assimp export`
# of the same geometry from OBJ to 3DS (assimp-utils), in the same run, best of REPEAT wall-clock
# runs each, output on a memory file system. Prints each case's times, their ratio, the peak memory
# of both (maximum resident set, /usr/bin/time), what the export wrote, and the peak over that of an
# export of an empty document (what the program and its libraries take whatever the scene: no export
# of a small scene can be below it) against what was written. Each timed export writes
# into an empty folder; "again" is the same export into the folder an export filled, replacing
# every file, as a user exporting once more does.
# Usage: bench/command_bench.sh [LUMENO_HOST] [WORK_DIR (default /dev/shm/...)] [REPEAT (3)]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
host=${1:-build/normal/bin/lumeno-host}
work=${2:-$(mktemp -d /dev/shm/lumeno-bench.XXXXXX)}
repeat=${3:-3}
mkdir -p "$work"

# Best wall time (s) and the peak resident memory (kB) of that run, of REPEAT runs of the command.
# FRESH (a folder, or "") is emptied before each run, outside the timing.
best() {
  local fresh=$1 best= memory=
  shift
  for _ in $(seq "$repeat"); do
    if [[ -n $fresh ]]; then rm -rf "$fresh" && mkdir -p "$fresh"; fi
    /usr/bin/time -f "%e %M" -o "$work/time.txt" "$@" >/dev/null 2>"$work/stderr.txt" ||
      { echo "failed: $*" >&2; cat "$work/stderr.txt" >&2; exit 1; }
    read -r seconds kb <"$work/time.txt"
    if [[ -z $best ]] || (( $(echo "$seconds < $best" | bc) )); then best=$seconds memory=$kb; fi
  done
  echo "$best $memory"
}

echo '{}' >"$work/empty.json"
read -r _ empty_kb < <(best "$work/empty" "$host" export "$work/empty.json" -o "$work/empty/scene.xml")
rm -rf "$work/empty" "$work/empty.json"
echo "An export of an empty document peaks at $(echo "$empty_kb / 1000" | bc -l | xargs printf '%.1f') MB."
echo
printf '| case | JSON MB | lumeno-host s | assimp s | ratio | again s | lumeno-host peak MB | export writes MB | peak / written | peak over empty / written | assimp peak MB |\n'
printf '|---|---|---|---|---|---|---|---|---|---|---|\n'
run_case() { # label, generator arguments...
  local label=$1; shift
  local scene="$work/scene" out="$work/out"
  python3 "$here/make_bench_scene.py" "$@" "$scene.json" "$scene.obj"
  read -r ours ours_kb < <(best "$out" "$host" export "$scene.json" -o "$out/scene.xml")
  local written again _
  written=$(du -sb "$out" | cut -f1)
  read -r again _ < <(best "" "$host" export "$scene.json" -o "$out/scene.xml")
  read -r peer peer_kb < <(best "" assimp export "$scene.obj" "$work/peer.3ds")
  printf '| %s | %.1f | %s | %s | %.2f | %s | %.0f | %.1f | %.2f | %.2f | %.0f |\n' "$label" \
    "$(echo "$(stat -c %s "$scene.json") / 1000000" | bc -l)" "$ours" "$peer" "$(echo "$ours / $peer" | bc -l)" "$again" \
    "$(echo "$ours_kb / 1000" | bc -l)" "$(echo "$written / 1000000" | bc -l)" \
    "$(echo "$ours_kb * 1024 / $written" | bc -l)" "$(echo "($ours_kb - $empty_kb) * 1024 / $written" | bc -l)" \
    "$(echo "$peer_kb / 1000" | bc -l)"
  rm -rf "$out" "$scene.json" "$scene.obj" "$work/peer.3ds"
}

run_case "10,000 objects of 12 triangles" boxes 10000
run_case "the same under one null object" group 10000
run_case "1M triangles in one object" grids 1000000 1
run_case "1M triangles in 10,000 objects" grids 1000000 10000
run_case "chain of 900 nested objects" chain 900
echo "file system: $(df -T "$work" | awk 'NR == 2 { print $2 }'); load average: $(cut -d' ' -f1-3 /proc/loadavg)"
