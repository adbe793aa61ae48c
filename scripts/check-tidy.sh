#!/usr/bin/env bash
# Runs clang-tidy, with the checks of .clang-tidy and every finding an error, over Pavix's
# own sources as the compile_commands.json of a build folder compiles them, one clang-tidy
# a core (JOBS). By default over src/, as CI does (.ci/run); TIDY_SCOPE=all adds tests/
# and bench/ (about five times as long). TIDY_ANALYZER=1 adds clang's static analyzer
# (twice as long), without its leak check: Qt takes over what it is given (the slot
# objects of connect() and QTimer, widgets with a parent), which the analyzer cannot follow.
# The build folder must be configured; the tests' generated .moc files exist only once it
# is built.
#   usage: check-tidy.sh [BUILD_FOLDER]
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=${JOBS:-$(nproc)}
tidy=$(command -v clang-tidy-14 || command -v clang-tidy || true)
[ -n "$tidy" ] || { echo "clang-tidy is missing: apt-get install clang-tidy" >&2; exit 1; }
[ -f "$build/compile_commands.json" ] || { echo "no compile_commands.json in $build: configure it first" >&2; exit 1; }
case ${TIDY_SCOPE:-src} in
    src) folders='src' ;;
    all) folders='src|tests|bench' ;;
    *) echo "TIDY_SCOPE is src or all" >&2; exit 1 ;;
esac
files=$(python3 - "$build/compile_commands.json" "$root" "$folders" <<'PY'
import json, re, sys
database, root, folders = sys.argv[1:]
ours = re.compile(re.escape(root) + "/(" + folders + ")/")
print("\n".join(sorted({entry["file"] for entry in json.load(open(database)) if ours.match(entry["file"])})))
PY
)
logs=$(mktemp -d)
trap 'rm -rf "$logs"' EXIT
checks=
[ "${TIDY_ANALYZER:-0}" = 1 ] && checks='--checks=clang-analyzer-*,-clang-analyzer-cplusplus.NewDeleteLeaks'
export tidy build logs checks
start=$SECONDS
xargs -P "$jobs" -n 1 sh -c '
    log="$logs/$(echo "$1" | tr / _).log"
    "$tidy" -p "$build" --quiet --use-color=false $checks "$1" >"$log" 2>&1 || echo "$1" >>"$logs/failed"
' sh <<<"$files"
count=$(wc -l <<<"$files")
if [ -s "$logs/failed" ]; then
    # The findings with their context, without clang-tidy's counts of what it hid.
    cat "$logs"/*.log | grep -vE '^[0-9]+ warnings? (and [0-9]+ errors? )?generated\.$|^Suppressed [0-9]+ warnings|^Use -header-filter|^Error while processing'
    echo "clang-tidy: findings in $(wc -l <"$logs/failed") of $count files ($((SECONDS - start)) s)"
    exit 1
fi
echo "clang-tidy: $count files, no findings ($((SECONDS - start)) s, $jobs at a time)"
