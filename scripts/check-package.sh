#!/usr/bin/env bash
# Makes the Debian package from a build folder (default build/) and checks it: lintian with no
# error or warning allowed, then the AppStream metadata and the desktop entry as installed.
set -euo pipefail
# The checkers' reports are UTF-8 in any caller's locale (in the C locale appstreamcli would print
# its marks as "?").
export LC_ALL=C.UTF-8
cd "$(dirname "$0")/.."
BUILD_DIR=${1:-build}
rm -f "$BUILD_DIR"/mongolian-writing_*.deb
if ! made=$(cd "$BUILD_DIR" && cpack -G DEB 2>&1); then
  echo "$made" >&2
  exit 1
fi
package=$(ls "$BUILD_DIR"/mongolian-writing_*.deb)

# Lintian only remarks that it runs as root (as CI does); that line is no finding.
if ! report=$(lintian --fail-on error,warning "$package" 2>&1); then
  echo "$report"
  echo "lintian: $(basename "$package") has errors or warnings" >&2
  exit 1
fi
grep -v 'running with root privileges' <<<"$report" || true

unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
dpkg-deb -x "$package" "$unpacked"
appstreamcli validate --no-net --explain "$unpacked"/usr/share/metainfo/*.metainfo.xml
desktop-file-validate --no-hints "$unpacked"/usr/share/applications/*.desktop
echo "$(basename "$package"): lintian, AppStream and desktop entry checks passed"
