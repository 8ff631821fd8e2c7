#!/usr/bin/env bash
# Installs the Debian packages that only the benchmarks need (peers measured side by side); never
# part of setup.sh. Silent when all are present.
set -euo pipefail

PACKAGES=(
  # Zelvo's start-up and memory peer (bench/notes/UI/app)
  gedit
)

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
