#!/usr/bin/env bash
# Installs what is missing, then builds and runs every test for both host releases:
# once as a normal build and once under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
for variant in normal sanitize; do
  # Debug information makes the build much slower: none for the normal build, line tables only
  # for the sanitizer build, which is enough for its reports to name files and lines. The
  # sanitizer build optimises less: it compiles much faster and its tests still run in seconds.
  opts=(-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O2 -DCMAKE_C_FLAGS_RELWITHDEBINFO=-O2)
  [ "$variant" = sanitize ] && opts=(-DLUMENO_SANITIZE=ON "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -g1"
                                     "-DCMAKE_C_FLAGS_RELWITHDEBINFO=-O1 -g1")
  echo "== $variant build =="
  "$root/scripts/build.sh" "$variant" "${opts[@]}"
  echo "== $variant tests =="
  ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir "$root/build/$variant" --output-on-failure -j2
done

# The fuzz targets, built with clang and run for a fixed number of inputs from their seed corpora,
# so that they keep building and the readers keep refusing damaged input cleanly.
echo "== fuzz targets =="
CC=clang-14 CXX=clang++-14 LUMENO_BUILD_TARGETS="document_fuzzer resource_fuzzer scene_fuzzer" "$root/scripts/build.sh" fuzz \
  -DLUMENO_FUZZ=ON -DLUMENO_TESTS=OFF "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -g1" "-DCMAKE_C_FLAGS_RELWITHDEBINFO=-O1 -g1"
for target in document resource scene; do
  work=$(mktemp -d)
  "$root/build/fuzz/fuzz/${target}_fuzzer" -runs=3000 -seed=1 -max_len=4096 "$work" "$root/fuzz/corpus/$target"
  rm -rf "$work"
done
