#!/usr/bin/env bash
# Builds the fuzz targets with clang in their own build folder and runs each for a short while; a crash or a
# failed check stops the script with an error.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${KORVANE_FUZZ_SECONDS:-20}

CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DKORVANE_FUZZ=ON -DKORVANE_TESTS=OFF -DKORVANE_BENCH=OFF >/dev/null
targets=(fuzz_encoders fuzz_episode fuzz_feedreader fuzz_httpanswer fuzz_matcher)
cmake --build build-fuzz -j "$(nproc)" --target "${targets[@]}"

for target in "${targets[@]}"; do
    corpus=build-fuzz/corpus/$target
    mkdir -p "$corpus"
    echo "== $target (${seconds}s)"
    log=build-fuzz/$target.log
    # The feed reader starts from the fixture feeds and the words feeds are made of: random bytes seldom make XML;
    # the matcher from the marks titles are made of, as long as a feed title may be.
    extra=()
    if [ "$target" = fuzz_feedreader ]; then
        extra=(-dict=fuzz/feedreader.dict tests/data/feeds)
    elif [ "$target" = fuzz_httpanswer ]; then
        extra=(-dict=fuzz/httpanswer.dict)
    elif [ "$target" = fuzz_matcher ]; then
        extra=(-dict=fuzz/matcher.dict -max_len=512)
    fi
    if ! ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        "build-fuzz/fuzz/$target" -max_total_time="$seconds" -print_final_stats=1 \
        -artifact_prefix="build-fuzz/$target-" "$corpus" "${extra[@]}" >"$log" 2>&1; then
        tail -n 60 "$log" >&2
        echo "$target failed; the input that did it is in build-fuzz/$target-*" >&2
        exit 1
    fi
    grep -E '^(Done|stat::number_of_executed_units|stat::peak_rss)' "$log" || tail -n 3 "$log"
done
