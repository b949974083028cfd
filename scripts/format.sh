#!/usr/bin/env bash
# Formats the project's C++ files with its .clang-format, or with --check
# fails when one is not formatted.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files --cached --others --exclude-standard -- '*.cpp' '*.h' | while read -r f; do [ -f "$f" ] && echo "$f"; done)
if [ "${1:-}" = --check ]; then
  clang-format --dry-run --Werror "${files[@]}"
  echo "${#files[@]} files formatted"
else
  clang-format -i "${files[@]}"
fi
