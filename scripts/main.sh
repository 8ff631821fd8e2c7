#!/usr/bin/env bash
# Sets the machine up, builds the Debian package of Quillora and Zelvo, installs it with apt, and
# says how to start typing. A running IBus daemon of the user is asked to read its components
# again, so Quillora shows up without logging out. Each step says what it does, and the long ones
# (installing packages, building) show apt's and ninja's own progress.
set -euo pipefail
cd "$(dirname "$0")/.."
step() { echo "== $* =="; }

step "Checking the packages building needs"
scripts/setup.sh
BUILD_DIR=${BUILD_DIR:-build-package}
step "Configuring the Release build in $BUILD_DIR/"
cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
  -DBUILD_TESTING=OFF -DMW_BENCHMARKS=OFF >/dev/null
step "Building Quillora and Zelvo ($(nproc) jobs; a few minutes the first time)"
cmake --build "$BUILD_DIR" --parallel "$(nproc)"
step "Making the Debian package"
(cd "$BUILD_DIR" && cpack -G DEB >/dev/null)
package=$(ls -t "$BUILD_DIR"/mongolian-writing_*.deb | head -n 1)

step "Installing $(basename "$package") with what it needs at run time"
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
if [ -t 1 ]; then progress=(-o Dpkg::Progress-Fancy=1); else progress=(-q); fi
$SUDO apt-get install -y --reinstall "${progress[@]}" "$(realpath "$package")"
echo "Installed $(basename "$package")."

# The user's own daemon, when one runs for this user on this session, reads its components again.
if command -v ibus >/dev/null && ibus address >/dev/null 2>&1 && [ -n "$(ibus address)" ] \
   && [ "$(ibus address)" != "(null)" ] && ibus list-engine >/dev/null 2>&1; then
  ibus restart >/dev/null 2>&1 && echo "IBus restarted to pick up Quillora."
fi

echo "To type Mongolian: Settings → Keyboard → Input Sources → + → Mongolian → Quillora (or run: ibus engine quillora)."
echo "Type romanised letters, pick a word with Space or 1–9; a lone Shift switches English on and off."

# Zelvo, the notes application, starts when there is a display to show it on.
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  echo "Starting Zelvo."
  nohup zelvo >/dev/null 2>&1 &
else
  echo "No display here: on a desktop, start Zelvo from the applications menu or with: zelvo"
fi
