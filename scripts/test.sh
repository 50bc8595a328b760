#!/usr/bin/env bash
# Installs what is missing, then builds and runs every test for both host releases:
# once as a normal build and once under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
for variant in normal sanitize; do
  # Debug information makes the build much slower: none for the normal build, line tables only
  # for the sanitizer build, which is enough for its reports to name files and lines.
  opts=(-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O2 -DCMAKE_C_FLAGS_RELWITHDEBINFO=-O2)
  [ "$variant" = sanitize ] && opts=(-DLUMENO_SANITIZE=ON "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O2 -g1"
                                     "-DCMAKE_C_FLAGS_RELWITHDEBINFO=-O2 -g1")
  echo "== $variant build =="
  "$root/scripts/build.sh" "$variant" "${opts[@]}"
  echo "== $variant tests =="
  ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir "$root/build/$variant" --output-on-failure -j2
done
