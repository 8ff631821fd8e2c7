#!/usr/bin/env bash
# Installs what the benchmarks need beyond building and testing: the peers they measure against
# (SQLiteCpp, a thin SQLite wrapper, and RapidJSON, a JSON parser; the benchmarks leave a peer out
# when its package is missing), Debian's one-letter-per-key table engine for Quillora through IBus
# (bench/inputmethod/ibus) and gedit for Zelvo's start-up and memory (bench/notes/UI/app). Not part
# of the main or the test command: users never get the peers. Silent when all is present.
set -euo pipefail
exec "$(dirname "$0")/setup.sh" --tests libsqlitecpp-dev rapidjson-dev ibus-table-mongol-bichig gedit
