#!/usr/bin/env bash
# Installs the Debian packages that building the package needs; with --tests also what the tests
# use, and any packages named as arguments (scripts/bench-setup.sh names the benchmarks' own).
# Silent when all are present. Otherwise it says what it installs and shows apt's own progress;
# with --quiet only the first of these. What the package needs at run time comes with it, by its
# Depends.
set -euo pipefail

BUILD_PACKAGES=(
  # toolchain
  cmake g++ ninja-build pkg-config
  # database layer
  libsqlite3-dev
  # note archive
  zlib1g-dev libminizip-dev
  # text layout and drawing; list images drawn from SVG
  libglib2.0-dev libpango1.0-dev libcairo2-dev libicu-dev librsvg2-dev
  # resource files: property lists, JSON, HTML import for export
  libplist-dev nlohmann-json3-dev libxml2-dev
  # desktop: windows, web pages, notices, PDF
  libgtk-3-dev libwebkit2gtk-4.1-dev libnotify-dev libpoppler-glib-dev
  # input method framework
  libibus-1.0-dev
  # CPack's Debian packages: the libraries' package names, found from the programs
  dpkg-dev file
)

TEST_PACKAGES=(
  # test and benchmark frameworks
  libgtest-dev libgmock-dev libbenchmark-dev
  # the test run's formatting check
  clang-format
  # what the tests read the note archives with: Info-ZIP, 7-Zip, Python's zipfile
  zip unzip p7zip-full python3
  # what the package brings at run time: the fonts, the SVG loader of GdkPixbuf, IBus and a bus
  fonts-noto-core fonts-dejavu-core fonts-wqy-microhei librsvg2-common
  ibus ibus-gtk3 dbus dbus-x11
  # the checks the package passes: Debian's policy, the AppStream metadata and the desktop entry
  lintian appstream desktop-file-utils
  # display-bound tests and what they check with
  xvfb xauth xdotool x11-utils imagemagick poppler-utils unrtf
  # a window manager for the display-bound tests of window frames and placement, as users meet them
  openbox
)

PACKAGES=("${BUILD_PACKAGES[@]}")
quiet=false
for argument in "$@"; do
  case $argument in
    --tests) PACKAGES+=("${TEST_PACKAGES[@]}") ;;
    --quiet) quiet=true ;;
    *) PACKAGES+=("$argument") ;;
  esac
done

missing=()
for pkg in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$pkg")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
echo "Installing ${#missing[@]} packages with what they need (a few minutes on a fresh system): ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
if $quiet; then
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
  exit 0
fi
# apt's progress bar on a terminal; written to a file, its lines without the bar.
if [ -t 1 ]; then progress=(-o Dpkg::Progress-Fancy=1); else progress=(-q); fi
$SUDO apt-get update "${progress[@]}"
$SUDO apt-get install -y --no-install-recommends "${progress[@]}" "${missing[@]}"
