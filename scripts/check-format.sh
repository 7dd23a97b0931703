#!/usr/bin/env bash
# Fails, listing the files, when any tracked C++ file differs from .clang-format's style.
set -euo pipefail
cd "$(dirname "$0")/.."
bad=()
while IFS= read -r f; do
  clang-format --dry-run --Werror "$f" >/dev/null 2>&1 || bad+=("$f")
done < <(git ls-files '*.cpp' '*.h')
if [[ ${#bad[@]} -gt 0 ]]; then
  echo "not formatted (run clang-format -i): ${bad[*]}" >&2
  exit 1
fi
echo "format check: all C++ files formatted"
