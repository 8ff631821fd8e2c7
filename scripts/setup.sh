#!/usr/bin/env bash
# Installs the Debian packages that building and testing need, and any packages named as arguments
# (scripts/bench-setup.sh names the benchmarks' own); silent when all are present.
set -euo pipefail

PACKAGES=(
  # toolchain and test frameworks
  cmake g++ ninja-build pkg-config libgtest-dev libgmock-dev libbenchmark-dev
  # the test run's formatting check
  clang-format
  # peers the benchmarks measure against: a thin SQLite wrapper, a JSON parser
  libsqlitecpp-dev rapidjson-dev
  # database layer
  libsqlite3-dev sqlite3
  # note archive
  zlib1g-dev libminizip-dev zip unzip python3
  # text layout and drawing
  libglib2.0-dev libpango1.0-dev libcairo2-dev libicu-dev fonts-noto-core fonts-dejavu-core
  # Zelvo's panels and alerts speak Chinese: a font with the Han characters
  fonts-wqy-microhei
  # list images drawn from SVG; the SVG loader of GdkPixbuf for the window's images
  librsvg2-dev librsvg2-common
  # resource files: property lists, JSON, HTML import for export
  libplist-dev nlohmann-json3-dev libxml2-dev
  # desktop: windows, web pages, notices, PDF
  libgtk-3-dev libwebkit2gtk-4.1-dev libnotify-dev libpoppler-glib-dev
  # input method framework
  libibus-1.0-dev ibus ibus-gtk3 dbus dbus-x11
  # packaging, and the checks the package passes: Debian's policy, the AppStream metadata and the
  # desktop entry
  dpkg-dev file lintian appstream desktop-file-utils
  # display-bound tests and what they check with
  xvfb xauth xdotool x11-utils imagemagick poppler-utils unrtf
)
PACKAGES+=("$@")

missing=()
for pkg in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$pkg")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
