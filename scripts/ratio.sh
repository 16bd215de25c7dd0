#!/usr/bin/env bash
# Prints the non-blank lines of the tests (proof drivers and scripts included) against those of src/, and their
# ratio. The owner's aim: about a quarter to a third.
set -euo pipefail
cd "$(dirname "$0")/.."
count() { git ls-files "$@" | grep -E '\.(cpp|h|sh|py)$' | xargs cat | grep -cvE '^\s*$'; }
code=$(count 'src/*')
tests=$(count 'tests/*')
awk -v t="$tests" -v c="$code" 'BEGIN { printf "tests %d / src %d non-blank lines = %.2f\n", t, c, t / c }'
