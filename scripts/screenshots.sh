#!/usr/bin/env bash
# Remakes the README's screenshots: runs the built Pavix under a virtual X server on real
# pictures (a copy of the test corpus's good pictures), drives it with xdotool and saves
# each window with ImageMagick's import into docs/screenshots/. Shots of windows this build
# does not have (the font toolbox) are skipped with a note. The README's list of pictures,
# between its "screenshots" markers, is rewritten to the shots that exist.
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
root=$(cd "$(dirname "$0")/.." && pwd)
out="$root/docs/screenshots"
pavix="$build/src/pavix"
corpus=$(sed -n 's/^PAVIX_CORPUS_DIR:PATH=//p' "$build/CMakeCache.txt")
[ -x "$pavix" ] || { echo "no $pavix: build first" >&2; exit 1; }
[ -d "$corpus/good" ] || { echo "no pictures in $corpus/good" >&2; exit 1; }

# Under /var/tmp, so the folder tree shows few neighbours of the pictures' folder.
scratch=$(mktemp -d /var/tmp/pavix-screenshots.XXXXXX)
xvfb_pid=
app_pid=
cleanup() {
    [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$scratch"
}
trap cleanup EXIT

# A home of its own, with a folder of pictures and settings for a roomy window showing
# all four picture types.
export HOME="$scratch/home" XDG_CONFIG_HOME="$scratch/home/.config" XDG_DATA_HOME="$scratch/home/.local/share"
export XDG_CACHE_HOME="$scratch/home/.cache" XDG_RUNTIME_DIR="$scratch/home/.runtime"
mkdir -p "$HOME/Pictures" "$XDG_CONFIG_HOME/Pavix" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
pictures="$HOME/Pictures/Samples"
cp -r "$corpus/good" "$pictures"
settings="$XDG_CONFIG_HOME/Pavix/Pavix.ini"
write_settings() { # view mode (0 large icons ... 3 details)
    cat >"$settings" <<EOF
[Settings]
MainLeft=300
MainTop=300
MainWidth=14400
MainHeight=9000
IsaLeft=3000
IsbLeft=9600
PrvLeft=600
PrvTop=600
PrvWidth=9000
PrvHeight=6600
TlsLeft=10200
TlsTop=600
ViewMode=$1
Folder=$pictures

[Type]
Bitmap=*.bmp;
Jpg=*.jpeg;*.jpg;
Gif=*.gif;
Ico=*.ico;
EOF
}

# A virtual screen on a free display number.
exec 3>"$scratch/display"
Xvfb -displayfd 3 -screen 0 1280x900x24 -nolisten tcp >"$scratch/xvfb.log" 2>&1 &
xvfb_pid=$!
exec 3>&-
for _ in $(seq 100); do
    [ -s "$scratch/display" ] && break
    sleep 0.1
done
[ -s "$scratch/display" ] || { echo "Xvfb did not start" >&2; cat "$scratch/xvfb.log" >&2; exit 1; }
export DISPLAY=":$(head -1 "$scratch/display")"
unset WAYLAND_DISPLAY QT_QPA_PLATFORM

# The id of the visible window titled exactly `title`, waiting up to 10 seconds.
window_named() {
    local id
    for _ in $(seq 100); do
        id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1) || true
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.1
    done
    return 1
}

# Lets the program finish painting (thumbnails are made on worker threads): waits until two
# pictures of the window taken half a second apart are the same.
settle() {
    local previous="" current
    for _ in $(seq 40); do
        sleep 0.5
        current=$(import -window "$1" rgb:- 2>/dev/null | md5sum)
        [ "$current" = "$previous" ] && return 0
        previous=$current
    done
}

shoot() { # window id, file name, what it shows
    settle "$1"
    import -window "$1" "$scratch/$2"
    mv "$scratch/$2" "$out/$2"
    shots+=("$2|$3")
    echo "saved docs/screenshots/$2"
}

start_pavix() {
    "$pavix" "$@" >"$scratch/pavix.log" 2>&1 &
    app_pid=$!
    main=$(window_named Pavix) || { echo "Pavix did not open its window" >&2; cat "$scratch/pavix.log" >&2; exit 1; }
    xdotool windowfocus --sync "$main"
}

stop_pavix() {
    kill "$app_pid" 2>/dev/null || true
    wait "$app_pid" 2>/dev/null || true
    app_pid=
}

mkdir -p "$out"
rm -f "$out"/*.png
shots=()

# 1. The main window in details, a photo selected and previewed.
write_settings 3
start_pavix "$pictures/flower.jpg"
shoot "$main" main-window.png "The main window: folder tree, the pictures of a folder in details, the selected picture previewed"

# 2. The same folder as thumbnails.
xdotool windowfocus --sync "$main" key F4
shoot "$main" thumbnails.png "Thumbnails of the folder"
stop_pavix

# 3. The tiled preview of a small picture: Enter on its thumbnail opens it.
write_settings 0
start_pavix "$pictures/treescap-interlaced.gif"
xdotool windowfocus --sync "$main" key F4
settle "$main"
xdotool key Return
preview=$(window_named Preview) || { echo "the tiled preview did not open" >&2; exit 1; }
shoot "$preview" tiled-preview.png "The tiled preview: the picture repeated edge to edge"

# 4. The font toolbox and the sample it lays over the tiles, when this build has them.
xdotool windowfocus --sync "$preview"
xdotool key F2
if toolbox=$(window_named Toolbox); then
    shoot "$preview" tiled-preview-sample.png "The tiled preview with a line of sample text"
    shoot "$toolbox" toolbox.png "The font toolbox"
else
    echo "note: this build has no font toolbox window; the sample and toolbox shots are skipped"
fi
stop_pavix

# The README lists the shots that exist.
list="$scratch/list"
for shot in "${shots[@]}"; do
    printf '![%s](docs/screenshots/%s)\n\n' "${shot#*|}" "${shot%%|*}" >>"$list"
done
awk -v list="$list" '
    /<!-- screenshots -->/ { print; while ((getline line < list) > 0) print line; skip = 1; next }
    /<!-- \/screenshots -->/ { skip = 0 }
    !skip { print }
' "$root/README.md" >"$scratch/README.md"
cp "$scratch/README.md" "$root/README.md"
echo "README.md lists ${#shots[@]} screenshots"
