#!/usr/bin/env bash
# Installs what the benchmarks need beyond building and testing: the table engine Quillora is
# measured against through IBus (bench/inputmethod/ibus). Not part of the main command: users of
# Quillora never get the peer. Silent when all is present.
set -euo pipefail
exec "$(dirname "$0")/setup.sh" ibus-table-mongol-bichig
