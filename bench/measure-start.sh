#!/usr/bin/env bash
# Times the real program starting on a folder of many small pictures under Xvfb (1600 x 1000)
# and reads its peak memory (VmHWM) from /proc: when each window appears, the grid's
# row-limit message answered with Return as a user would, until the main window is up.
#   bash bench/measure-start.sh [BUILD] [COUNT] [wide]
# "wide" starts the window as wide as the screen with the file area over nearly all of it.
# Needs xvfb-run, xdotool and xprop; the pictures come from bench_largefolder --write.
set -euo pipefail
build=${1:-build}
count=${2:-20000}
wide=${3:-}
if [ "${PAVIX_IN_XVFB:-}" != 1 ]; then
  for tool in xvfb-run xdotool xprop; do
    command -v "$tool" >/dev/null || { echo "$tool is needed" >&2; exit 1; }
  done
  scratch=$(mktemp -d)
  trap 'rm -rf "$scratch"' EXIT
  QT_QPA_PLATFORM=offscreen "$build/bench/bench_largefolder" --write "$scratch/pictures" "$count"
  PAVIX_IN_XVFB=1 PAVIX_SCRATCH="$scratch" xvfb-run -a -s "-screen 0 1600x1000x24" bash "$0" "$build" "$count" "$wide"
  exit
fi

# Inside Xvfb: a throw-away HOME, every picture type on. A window may go while it is looked
# at, so a failing look is no reason to stop.
set +e
root=$PAVIX_SCRATCH
mkdir -p "$root/home" "$root/config/Pavix" "$root/data" "$root/cache" "$root/runtime"
chmod 700 "$root/runtime"
export HOME=$root/home XDG_CONFIG_HOME=$root/config XDG_DATA_HOME=$root/data XDG_CACHE_HOME=$root/cache
export XDG_RUNTIME_DIR=$root/runtime
{
  printf '[Type]\nBitmap=*.bmp;\nJpg=*.jpeg;*.jpg;\nGif=*.gif;\nIco=*.ico;\n'
  [ "$wide" = wide ] && printf '[Settings]\nMainWidth=24000\nMainHeight=14000\nMainLeft=0\nMainTop=0\nIsaLeft=600\nIsbLeft=23000\n'
} > "$root/config/Pavix/Pavix.ini"

ms() { echo $(( ($(date +%s%N) - start) / 1000000 )); }
peak() { awk '/VmHWM/ {print $2}' "/proc/$pid/status"; }
start=$(date +%s%N)
"$build/src/pavix" "$root/pictures" 2>/dev/null &
pid=$!
seen=" "
main_at=
while [ -d "/proc/$pid" ] && [ -z "$main_at" ]; do
  for id in $(xdotool search --onlyvisible --pid "$pid" . 2>/dev/null || true); do
    case "$seen" in *" $id "*) continue ;; esac
    seen="$seen$id "
    t=$(ms)
    type=$(xprop -id "$id" _NET_WM_WINDOW_TYPE | sed 's/.*= _NET_WM_WINDOW_TYPE_//; s/,.*//')
    geometry=$(xdotool getwindowgeometry "$id" | sed -n 's/.*Geometry: //p')
    echo "${t} ms: $type window $geometry, VmHWM $(peak) KiB"
    case "$type" in
      DIALOG) xdotool windowfocus --sync "$id" key Return 2>/dev/null
              echo "$(ms) ms: message answered" ;;
      NORMAL) main_at=$t ;;
    esac
  done
  [ "$(ms)" -gt 120000 ] && { echo "no main window after two minutes"; break; }
  sleep 0.02
done
sleep 2
echo "$count pictures: main window up after ${main_at:-?} ms; VmHWM $(peak) KiB two seconds later"
kill "$pid"
wait "$pid" || true
