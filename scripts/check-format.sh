#!/usr/bin/env bash
# Fails when a source file does not match the tree's .clang-format, or runs over 600 lines (a
# sign that a class does two jobs).
set -euo pipefail
cd "$(dirname "$0")/.."
git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror
git ls-files -z '*.cpp' '*.h' '*.sh' | xargs -0 awk 'FNR == 601 { print FILENAME ": over 600 lines"; bad = 1 }
                                                   END { exit bad }'
