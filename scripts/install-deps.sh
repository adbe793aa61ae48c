#!/usr/bin/env bash
# Installs the Debian packages Pavix needs to build, test, package and run, when any is
# missing (--bench adds what the benchmarks compare with).
# As root it runs apt-get itself; otherwise it prints the one line to run.
set -euo pipefail

packages=(
  cmake make g++ pkg-config python3 clang-format clang-tidy
  qt6-base-dev qt6-base-dev-tools libgl-dev qt6-image-formats-plugins qt6-qpa-plugins qt6-wayland
  qt6-tools-dev qt6-l10n-tools qt6-translations-l10n
  libgtest-dev libbenchmark-dev
  adwaita-icon-theme hicolor-icon-theme shared-mime-info fonts-dejavu-core
  xvfb xauth xdotool x11-utils imagemagick sway
  libxcb1-dev libwebp-dev xclip dbus-daemon dbus-session-bus-common libglib2.0-bin gsettings-desktop-schemas
  librsvg2-bin desktop-file-utils appstream dpkg-dev lintian
)
if [ "${1:-}" = "--bench" ]; then
  packages+=(libvips-tools)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

if [ "$(id -u)" -eq 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
else
  echo "Pavix needs these Debian packages. Run:"
  echo "  sudo apt-get install -y ${missing[*]}"
  exit 1
fi
