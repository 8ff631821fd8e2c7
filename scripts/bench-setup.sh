#!/usr/bin/env bash
# Installs what the benchmarks need beyond building and testing: the peers they measure against,
# Debian's one-letter-per-key table engine for Quillora through IBus (bench/inputmethod/ibus) and
# gedit for Zelvo's start-up and memory (bench/notes/UI/app). Not part of the main command: users
# never get the peers. Silent when all is present.
set -euo pipefail
exec "$(dirname "$0")/setup.sh" ibus-table-mongol-bichig gedit
