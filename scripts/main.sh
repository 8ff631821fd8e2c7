#!/usr/bin/env bash
# Sets the machine up, builds the Debian package of Quillora and Zelvo, installs it with apt, and
# says how to start typing. A running IBus daemon of the user is asked to read its components
# again, so Quillora shows up without logging out.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
BUILD_DIR=${BUILD_DIR:-build-package}
cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
  -DBUILD_TESTING=OFF -DMW_BENCHMARKS=OFF >/dev/null
cmake --build "$BUILD_DIR" --parallel "$(nproc)"
(cd "$BUILD_DIR" && cpack -G DEB >/dev/null)
package=$(ls -t "$BUILD_DIR"/mongolian-writing_*.deb | head -n 1)

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get install -y -qq --reinstall "$(realpath "$package")" >/dev/null
echo "Installed $(basename "$package")."

# The user's own daemon, when one runs for this user on this session, reads its components again.
if command -v ibus >/dev/null && ibus address >/dev/null 2>&1 && [ -n "$(ibus address)" ] \
   && [ "$(ibus address)" != "(null)" ] && ibus list-engine >/dev/null 2>&1; then
  ibus restart >/dev/null 2>&1 && echo "IBus restarted to pick up Quillora."
fi

echo "To type Mongolian: Settings → Keyboard → Input Sources → + → Mongolian → Quillora (or run: ibus engine quillora)."
echo "Type romanised letters, pick a word with Space or 1–9; a lone Shift switches English on and off."
