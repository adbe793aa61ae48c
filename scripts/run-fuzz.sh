#!/usr/bin/env bash
# Builds the fuzz targets with clang in their own folder and runs each for FUZZ_SECONDS
# (default 60), seeded with the picture corpus and the hand-made seeds of fuzz/seeds/. Per
# target it prints libFuzzer's last status line (coverage as cov: and ft:, executions per
# second as exec/s:). Inputs that crash, hang or break a promise land in
# <build>/crashes/<target>/; the script then fails.
set -uo pipefail
build=${1:-build-fuzz}
seconds=${FUZZ_SECONDS:-60}
jobs=${JOBS:-2}
corpus=${PAVIX_CORPUS_DIR:-$(cd "$(dirname "$0")/.." && pwd)/../shared/corpus}
source_dir=$(cd "$(dirname "$0")/.." && pwd)

CC=clang CXX=clang++ cmake -S "$source_dir" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPAVIX_FUZZ=ON >/dev/null || exit 1
cmake --build "$build" -j "$jobs" --target fuzzers -- --no-print-directory >/dev/null || exit 1

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$scratch/home" "$scratch/config"
# Temporary files of the targets go to memory when it can hold them.
[[ -d /dev/shm && -w /dev/shm ]] && export TMPDIR=/dev/shm
export HOME="$scratch/home" XDG_CONFIG_HOME="$scratch/config" QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0:allocator_may_return_null=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

# Copies files flat into a seed folder; the corpus holds names that clash once flattened.
seed_from() {
    local into=$1; shift
    local n=0 file
    while IFS= read -r -d '' file; do
        cp "$file" "$into/$(printf '%04d' $n)-$(basename "$file" | tr -c 'A-Za-z0-9._-' '_')"
        n=$((n + 1))
    done < <(find "$@" -type f -print0 | sort -z)
}

# target  max_len  timeout(s)  seed folders...
run_target() {
    local target=$1 max_len=$2 timeout=$3; shift 3
    local work="$build/corpus/$target" seeds="$scratch/seeds-$target" crashes="$build/crashes/$target"
    mkdir -p "$work" "$seeds" "$crashes"
    seed_from "$seeds" "$@"
    local log="$build/fuzz-$target.log"
    "$build/fuzz/$target" -max_total_time="$seconds" -max_len="$max_len" -timeout="$timeout" \
        -rss_limit_mb=3072 -malloc_limit_mb=${MALLOC_LIMIT_MB:-3072} -len_control=0 -print_final_stats=1 -artifact_prefix="$crashes/" "$work" "$seeds" >"$log" 2>&1
    local rc=$?
    local last
    last=$(grep -E '(DONE|pulse|NEW|REDUCE|INITED).*cov:' "$log" | tail -1)
    printf '%-22s %s\n' "$target" "$last"
    if [[ $rc -ne 0 ]]; then
        echo "$target: FAILED (exit $rc); log $log, inputs in $crashes/"
        grep -E 'ERROR|broken promise|runtime error|Test unit written' "$log" | head -5
        return 1
    fi
}

status=0
# No single allocation of a picture read may pass 512 MB: the largest picture allowed takes
# 400 MB, and a progressive JPEG's coefficients at most 256 MB more, in other blocks. An
# input that makes a decoder set aside more than that for what its header claims fails.
MALLOC_LIMIT_MB=512 run_target picture_fuzzer 131072 20 "$corpus/good" "$corpus/bad" "$corpus/names" || status=1
run_target settingsfile_fuzzer 4096 5 "$source_dir/fuzz/seeds/settingsfile" || status=1
run_target settingsvalues_fuzzer 64 5 "$source_dir/fuzz/seeds/settingsvalues" || status=1
run_target typepatterns_fuzzer 512 5 "$source_dir/fuzz/seeds/typepatterns" || status=1
run_target thumbnailcache_fuzzer 16384 10 "$source_dir/fuzz/seeds/thumbnailcache" || status=1
run_target commandline_fuzzer 512 5 "$source_dir/fuzz/seeds/commandline" || status=1
exit $status
