#!/usr/bin/env bash
# Fails unless the module file's dynamic symbol table defines exactly one symbol: c4d_main.
set -u
file=$1
symbols=$(nm -D --defined-only "$file" | awk '{print $NF}' | sort -u)
if [ "$symbols" != "c4d_main" ]; then
  echo "$file exports more than c4d_main:" >&2
  echo "$symbols" >&2
  exit 1
fi
echo "$file exports only c4d_main"
