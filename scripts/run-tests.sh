#!/usr/bin/env bash
# Runs every test suite headless with a throw-away HOME and XDG folders: each suite once in
# shuffled order (the seed is printed; PAVIX_TEST_SEED=N replays an order) and once in the
# order the tests are written, the suites side by side; meanwhile the installation is
# checked (tests/install/check-install.sh).
set -euo pipefail
build=${1:-build}
seed=${PAVIX_TEST_SEED:-$(( (RANDOM << 15 | RANDOM) % 99999 + 1 ))}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$scratch/home" "$scratch/config" "$scratch/data" "$scratch/cache" "$scratch/runtime"
chmod 700 "$scratch/runtime"
export HOME="$scratch/home"
export XDG_CONFIG_HOME="$scratch/config"
export XDG_DATA_HOME="$scratch/data"
export XDG_CACHE_HOME="$scratch/cache"
export XDG_RUNTIME_DIR="$scratch/runtime"
export QT_QPA_PLATFORM=offscreen
suites=(logic_tests widget_tests corpus_tests)
echo "test order seed: $seed (replay with PAVIX_TEST_SEED=$seed make test)"

# One suite in one order; its output goes to a log that is printed whole on failure.
run_suite() {
    local suite=$1 order=$2 log="$scratch/$1-$2.log"
    local args=(--gtest_brief=1)
    [[ $order == shuffled ]] && args+=(--gtest_shuffle "--gtest_random_seed=$seed")
    if timeout 600 "$build/tests/$suite" "${args[@]}" >"$log" 2>&1; then
        echo "$suite ($order): $(grep -E '^\[  PASSED  \]' "$log" | tail -1)"
    else
        echo "$suite ($order): FAILED"
        grep -vE '^(qt\.gui\.imageio|libpng|TIFF|Fax4Decode|This plugin does not support)' "$log" | tail -200
        return 1
    fi
}

status=0
# The installation, checked from a throw-away DESTDIR while the suites run (not in the
# sanitizer run, which builds only the suites: PAVIX_INSTALL_CHECK=0).
install_pid=
if [ "${PAVIX_INSTALL_CHECK:-1}" != 0 ]; then
    bash "$(dirname "$0")/../tests/install/check-install.sh" "$build" >"$scratch/install.log" 2>&1 &
    install_pid=$!
fi
for order in shuffled written; do
    pids=()
    for suite in "${suites[@]}"; do
        run_suite "$suite" "$order" & pids+=($!)
    done
    for pid in "${pids[@]}"; do wait "$pid" || status=1; done
done
if [ -n "$install_pid" ]; then
    if wait "$install_pid"; then
        tail -1 "$scratch/install.log"
    else
        echo "install check: FAILED"
        cat "$scratch/install.log"
        status=1
    fi
fi
exit $status
