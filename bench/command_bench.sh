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
# LUMENO_HOST_BEFORE=OTHER_LUMENO_HOST adds the time and peak of another build in the same run (a
# before and after). Beside each export, bench/write_floor.c (compiled here) writes the same bytes
# into the same files with the same safe pattern, without our program: the floor. Its pattern is
# LUMENO_FLOOR_PATTERN (default staged: every file into a private folder, then renamed into place).
# "floor again / first" is the floor's own cost of replacing every file of a filled folder, which
# the file system charges whoever writes.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
host=${1:-build/normal/bin/lumeno-host}
work=${2:-$(mktemp -d /dev/shm/lumeno-bench.XXXXXX)}
repeat=${3:-3}
before=${LUMENO_HOST_BEFORE:-}
pattern=${LUMENO_FLOOR_PATTERN:-staged}
mkdir -p "$work"
cc -O2 -o "$work/write_floor" "$here/write_floor.c"

# Best wall time (s) of REPEAT runs of the command, and its peak resident memory (kB), which one
# more run under /usr/bin/time measures. FRESH (a folder, or "") is emptied before each run, outside
# the timing. The time is taken by the shell to the millisecond around the command alone
# (/usr/bin/time counts hundredths and adds its own start, both too coarse for the small cases).
best() {
  local fresh=$1 best= start end seconds kb
  shift
  for _ in $(seq "$repeat"); do
    if [[ -n $fresh ]]; then rm -rf "$fresh" && mkdir -p "$fresh"; fi
    start=$EPOCHREALTIME
    "$@" >/dev/null 2>"$work/stderr.txt" || { echo "failed: $*" >&2; cat "$work/stderr.txt" >&2; exit 1; }
    end=$EPOCHREALTIME
    seconds=$(printf '%.3f' "$(echo "$end - $start" | bc)")
    if [[ -z $best ]] || (( $(echo "$seconds < $best" | bc) )); then best=$seconds; fi
  done
  if [[ -n $fresh ]]; then rm -rf "$fresh" && mkdir -p "$fresh"; fi
  /usr/bin/time -f "%M" -o "$work/time.txt" "$@" >/dev/null 2>"$work/stderr.txt" ||
    { echo "failed: $*" >&2; cat "$work/stderr.txt" >&2; exit 1; }
  read -r kb <"$work/time.txt"
  echo "$best $kb"
}

# The best of REPEAT runs of write_floor over the folder an export filled: into an empty folder,
# and again into the folder the run before filled (replacing every file, as "again" does).
floor() {
  local from=$1 best= again=
  for _ in $(seq "$repeat"); do
    rm -rf "$work/floor" && mkdir -p "$work/floor"
    local seconds
    seconds=$("$work/write_floor" --pattern "$pattern" "$from" scene.xml "$work/floor")
    if [[ -z $best ]] || (( $(echo "$seconds < $best" | bc) )); then best=$seconds; fi
    seconds=$("$work/write_floor" --pattern "$pattern" "$from" scene.xml "$work/floor")
    if [[ -z $again ]] || (( $(echo "$seconds < $again" | bc) )); then again=$seconds; fi
  done
  rm -rf "$work/floor"
  echo "$best $again"
}

echo '{}' >"$work/empty.json"
read -r _ empty_kb < <(best "$work/empty" "$host" export "$work/empty.json" -o "$work/empty/scene.xml")
rm -rf "$work/empty" "$work/empty.json"
echo "An export of an empty document peaks at $(echo "$empty_kb / 1000" | bc -l | xargs printf '%.1f') MB."
echo
head='| case | JSON MB | lumeno-host s | assimp s | ratio | again s | again / first | floor s | lumeno-host / floor | floor again / first | lumeno-host peak MB | export writes MB | peak / written | peak over empty / written | assimp peak MB |'
rule='|---|---|---|---|---|---|---|---|---|---|---|---|---|---|---|'
if [[ -n $before ]]; then head+=' before s | before peak MB |'; rule+='---|---|'; fi
echo "$head"
echo "$rule"
declare -A seconds_of
run_case() { # label, generator arguments...
  local label=$1; shift
  local scene="$work/scene" out="$work/out"
  python3 "$here/make_bench_scene.py" "$@" "$scene.json" "$scene.obj"
  read -r ours ours_kb < <(best "$out" "$host" export "$scene.json" -o "$out/scene.xml")
  seconds_of[$label]=$ours
  local written again floor_s floor_again _ extra=""
  written=$(du -sb "$out" | cut -f1)
  read -r floor_s floor_again < <(floor "$out")
  read -r again _ < <(best "" "$host" export "$scene.json" -o "$out/scene.xml")
  read -r peer peer_kb < <(best "" assimp export "$scene.obj" "$work/peer.3ds")
  if [[ -n $before ]]; then
    read -r then then_kb < <(best "$work/before" "$before" export "$scene.json" -o "$work/before/scene.xml")
    extra=$(printf ' %s | %.0f |' "$then" "$(echo "$then_kb / 1000" | bc -l)")
    rm -rf "$work/before"
  fi
  printf '| %s | %.1f | %s | %s | %.2f | %s | %.2f | %s | %.2f | %.2f | %.0f | %.1f | %.2f | %.2f | %.0f |%s\n' "$label" \
    "$(echo "$(stat -c %s "$scene.json") / 1000000" | bc -l)" "$ours" "$peer" "$(echo "$ours / $peer" | bc -l)" "$again" \
    "$(echo "$again / $ours" | bc -l)" "$floor_s" "$(echo "$ours / $floor_s" | bc -l)" "$(echo "$floor_again / $floor_s" | bc -l)" \
    "$(echo "$ours_kb / 1000" | bc -l)" "$(echo "$written / 1000000" | bc -l)" \
    "$(echo "$ours_kb * 1024 / $written" | bc -l)" "$(echo "($ours_kb - $empty_kb) * 1024 / $written" | bc -l)" \
    "$(echo "$peer_kb / 1000" | bc -l)" "$extra"
  rm -rf "$out" "$scene.json" "$scene.obj" "$work/peer.3ds"
}

run_case "10,000 objects of 12 triangles" boxes 10000
run_case "the same under one null object" group 10000
run_case "1M triangles in one object" grids 1000000 1
run_case "1M triangles in 10,000 objects" grids 1000000 10000
run_case "100,000 objects of 12 triangles" boxes 100000
run_case "merged: 10,000 objects, long names" merged 10000
run_case "merged: 30,000 objects, long names" merged 30000
run_case "merged: 1M triangles in one object" mergedgrids 1000000 1
run_case "chain of 900 nested objects" chain 900
echo
echo "merged strategy, 30,000 against 10,000 objects: $(echo "${seconds_of[merged: 30,000 objects, long names]} / ${seconds_of[merged: 10,000 objects, long names]}" | bc -l | cut -c1-4) times the time"
echo "file system: $(df -T "$work" | awk 'NR == 2 { print $2 }'); load average: $(cut -d' ' -f1-3 /proc/loadavg)"
rm -f "$work/write_floor"
