#!/usr/bin/env bash
# Sets the machine up, builds, checks the Debian package made from the build, and runs every test;
# exits non-zero when a check or a test fails.
# The database layer's tests run once more under AddressSanitizer first, since bound text and
# statement lifetimes are where memory faults would hide. Tests labelled "gui" need a display:
# they run under a private X server of their own (xvfb-run), never the user's.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh --tests
if [ -d sqdb ] && ls sqdb/*.cpp >/dev/null 2>&1; then
  BUILD_DIR=build-asan TARGETS=sqdb_tests scripts/build.sh -DMW_SANITIZE=ON -DMW_BENCHMARKS=OFF
fi
scripts/build.sh
if [ -x build-asan/tests/sqdb/sqdb_tests ]; then
  echo "== database layer under AddressSanitizer =="
  build-asan/tests/sqdb/sqdb_tests --gtest_brief=1
fi
# The Debian package, made from this same build, checked as Debian checks packages (any lintian
# error or warning fails the run) and as software centres and menus read what it installs.
echo "== Debian package =="
scripts/check-package.sh "${BUILD_DIR:-build}"
cd "${BUILD_DIR:-build}"
# Never the user's display: the run gets a private X server, which only the gui tests touch. One
# ctest run for all, so its closing summary counts every case.
unset DISPLAY WAYLAND_DISPLAY
# The suite runs in no locale at all, as in a fresh root shell, whatever the caller's: a test that
# leans on the caller's LANG fails here first. Tests set the locale the tools they run need.
unset LANG LANGUAGE LC_ALL $(compgen -e LC_)
exec xvfb-run -a -s "-screen 0 1600x1000x24" \
  ctest --output-on-failure --parallel "$(nproc)" --timeout 300
