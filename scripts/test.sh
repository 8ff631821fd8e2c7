#!/usr/bin/env bash
# Sets the machine up, builds, checks the Debian package made from the build, and runs every test;
# exits non-zero when a check or a test fails.
# Warnings are errors here (a build of one's own keeps them as warnings), and every C++ file must
# be as clang-format writes it. The whole suite runs twice: once under AddressSanitizer and
# UndefinedBehaviorSanitizer (build-asan/, the programs that gui and IBus cases start included),
# then as built for the package. Tests labelled "gui" need a display: they run under a private X
# server of their own (xvfb-run), never the user's.
set -euo pipefail
cd "$(dirname "$0")/.."
# A fresh system installs some 700 packages first: the run says so, and keeps apt's lines out of
# its report.
scripts/setup.sh --tests --quiet

# ---- Formatting: the tree's C++ files as clang-format 14 writes them ----
echo "== clang-format =="
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  git ls-files -z '*.cpp' '*.h'
else
  find . -path './build*' -prune -o \( -name '*.cpp' -o -name '*.h' \) -print0
fi | xargs -0 clang-format --dry-run --Werror

# ---- Sanitizers: what they may not report, and where their reports go ----
# Reports go to files as well as failing the process, so that one from a program a test started
# (zelvo, the IBus engine), whose exit status the test may not see, still fails the run. Stacks are
# unwound in full on every allocation: the system libraries have no frame pointers, and a leak
# suppression must see the library function it names. The IBus cases preload a stand-in for the
# system log into the daemon and the engine, ahead of the sanitizer's runtime; that order is
# theirs on purpose.
sanitizer_reports=$PWD/build-asan/sanitizer-reports
export ASAN_OPTIONS="detect_leaks=1:check_initialization_order=1:strict_init_order=1:detect_stack_use_after_return=0:fast_unwind_on_malloc=0:verify_asan_link_order=0:log_path=$sanitizer_reports/asan"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1:suppressions=$PWD/scripts/sanitizers/undefined.supp:log_path=$sanitizer_reports/ubsan"
export LSAN_OPTIONS="suppressions=$PWD/scripts/sanitizers/leaks.supp:print_suppressions=0"
rm -rf "$sanitizer_reports"
mkdir -p "$sanitizer_reports"

# ---- Builds: the package's build, then the same tree under the sanitizers ----
# Line tables are all a failing test or a sanitizer report needs of the debugging information, and
# the full one is what makes the builds slow. The package's files are stripped, so they are the
# same either way.
line_tables=("-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O2 -g1 -DNDEBUG" "-DCMAKE_C_FLAGS_RELWITHDEBINFO=-O2 -g1 -DNDEBUG")
scripts/build.sh -DMW_WERROR=ON "${line_tables[@]}"
BUILD_DIR=build-asan scripts/build.sh -DMW_SANITIZE=ON -DMW_BENCHMARKS=OFF -DMW_WERROR=ON "${line_tables[@]}"

# The Debian package, made from this same build, checked as Debian checks packages (any lintian
# error or warning fails the run) and as software centres and menus read what it installs.
echo "== Debian package =="
scripts/check-package.sh "${BUILD_DIR:-build}"

# Never the user's display: the run gets a private X server, which only the gui tests touch. One
# ctest run per build, so each closing summary counts every case.
unset DISPLAY WAYLAND_DISPLAY
# The suite runs in no locale at all, as in a fresh root shell, whatever the caller's: a test that
# leans on the caller's LANG fails here first. Tests set the locale the tools they run need.
unset LANG LANGUAGE LC_ALL $(compgen -e LC_)
run_suite() {
  (cd "$1" && xvfb-run -a -s "-screen 0 1600x1000x24" \
    ctest --output-on-failure --parallel "$(nproc)" --timeout "$2")
}

# ---- The suite under the sanitizers ----
echo "== every test under AddressSanitizer and UndefinedBehaviorSanitizer =="
status=0
run_suite build-asan 600 || status=1
if compgen -G "$sanitizer_reports/*" >/dev/null; then
  echo "sanitizer reports:"
  cat "$sanitizer_reports"/*
  status=1
fi
unset ASAN_OPTIONS UBSAN_OPTIONS LSAN_OPTIONS

# ---- The suite as the package builds it ----
echo "== every test =="
run_suite "${BUILD_DIR:-build}" 300 || status=1
exit $status
