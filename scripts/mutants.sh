#!/usr/bin/env bash
# Applies small faults to src/ one at a time, rebuilds, runs the tests and says which fault each test run caught.
# Every fault on the list must be caught. A tool to run before stopping, not part of CI: it takes a while (each
# fault is a rebuild and a test run) and works on the checkout it is in, which must have no changes in src/.
#
#   scripts/mutants.sh              every fault
#   scripts/mutants.sh 3 17         only those (by their number)
set -uo pipefail
cd "$(dirname "$0")/.."
build=build-mutants
list=scripts/mutants.txt

if ! git diff --quiet -- src; then
    echo "src/ has changes; commit or stash them first" >&2
    exit 2
fi
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKORVANE_BENCH=OFF >/dev/null || exit 2
cmake --build "$build" -j "$(nproc)" >/dev/null || exit 2

# The fast tests first, then the slow ones, each run stopping at its first failure.
run_tests() {
    ctest --test-dir "$build" -j "$(nproc)" --stop-on-failure -E 'script_|ProofTest' "$@" &&
        ctest --test-dir "$build" -j 1 --stop-on-failure -R 'script_|ProofTest' "$@"
}

caught=0
total=0
survivors=()
number=0
while IFS= read -r line; do
    [[ -z "$line" || "$line" == \#* ]] && continue
    number=$((number + 1))
    if [ $# -gt 0 ] && ! printf '%s\n' "$@" | grep -qx "$number"; then
        continue
    fi
    total=$((total + 1))
    what=${line%% @@ *}
    rest=${line#* @@ }
    file=${rest%% @@ *}
    rest=${rest#* @@ }
    from=${rest%% @@ *}
    to=${rest#* @@ }
    # Literal replacement of the first occurrence, which must be there.
    if ! FROM="$from" TO="$to" perl -0pi -e 'BEGIN { $f = $ENV{FROM}; $t = $ENV{TO}; $f =~ s/\\n/\n/g; $t =~ s/\\n/\n/g; $done = 0 }
            $done = 1 if s/\Q$f\E/$t/;
            END { exit($done ? 0 : 1) }' "$file"; then
        echo "$number. $what: the text to change is not in $file"
        survivors+=("$number (not applied)")
        git checkout -q -- "$file"
        continue
    fi
    if ! cmake --build "$build" -j "$(nproc)" >"$build/mutant.log" 2>&1; then
        echo "$number. $what: does not build"
        survivors+=("$number (does not build)")
    elif output=$(run_tests 2>&1); then
        echo "$number. $what: SURVIVED"
        survivors+=("$number")
    else
        first=$(printf '%s\n' "$output" | grep -m1 -oE '(Failed|\*\*\*[A-Za-z]+) *[0-9.]* *sec|- [A-Za-z_./]+ \(' | head -1)
        by=$(printf '%s\n' "$output" | grep -m1 -E '\*\*\*|Failed  ' | sed -E 's/^ *[0-9]+\/[0-9]+ Test +#[0-9]+: //; s/ \.+.*//')
        echo "$number. $what: caught by ${by:-$first}"
        caught=$((caught + 1))
    fi
    git checkout -q -- "$file"
done <"$list"
cmake --build "$build" -j "$(nproc)" >/dev/null 2>&1
echo
echo "$caught of $total faults caught"
if [ ${#survivors[@]} -gt 0 ]; then
    echo "not caught: ${survivors[*]}"
    exit 1
fi
