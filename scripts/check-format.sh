#!/usr/bin/env bash
# Checks (or with --fix, applies) the project's clang-format style on every
# C++ file that git knows of.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files --cached --others --exclude-standard -- '*.cpp' '*.h' | while read -r f; do [ -f "$f" ] && echo "$f"; done)
[ ${#files[@]} -eq 0 ] && exit 0
if [ "${1:-}" = "--fix" ]; then
  clang-format -i "${files[@]}"
else
  if ! clang-format --dry-run --Werror "${files[@]}" 2>/tmp/qov-format.$$; then
    grep -oE '^[^ :]+\.(cpp|h):[0-9]+' /tmp/qov-format.$$ | sort -u | head -20
    rm -f /tmp/qov-format.$$
    echo "check-format: the files above are not formatted; run 'make format'" >&2
    exit 1
  fi
  rm -f /tmp/qov-format.$$
fi
