#!/usr/bin/env bash
# Builds the fuzz targets with clang, libFuzzer, AddressSanitizer and UndefinedBehaviorSanitizer
# into build-fuzz/ and runs each for SECONDS (default 60), FUZZ_JOBS of them at a time (default 3).
# Each target starts from its seed corpus in fuzz/corpus/<target> and grows a working corpus in
# build-fuzz/corpus/<target>; a failing input lands in build-fuzz/findings/<target>/, and is mended
# and added to the seed corpus, never excluded. Targets may be named after SECONDS.
set -euo pipefail
cd "$(dirname "$0")/.."
SECONDS_EACH=${1:-60}
shift || true
ALL=(json zip html plist source keys converter database archive)
[ $# -gt 0 ] && TARGETS=("$@") || TARGETS=("${ALL[@]}")
JOBS=${FUZZ_JOBS:-3}
scripts/setup.sh --tests
# Fuzzing alone needs clang and its libFuzzer runtime; the build and the tests do not.
if ! command -v clang++ >/dev/null ||
  ! compgen -G "/usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a" >/dev/null; then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO=sudo
  $SUDO apt-get install -y --no-install-recommends clang libclang-rt-14-dev
fi
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DMW_FUZZ=ON -DMW_BENCHMARKS=OFF >/dev/null
cmake --build build-fuzz --parallel "$JOBS" --target "${TARGETS[@]/#/fuzz_}"

run() {
  local name=$1 work=build-fuzz/corpus/$1 findings=build-fuzz/findings/$1
  mkdir -p "$work" "$findings"
  build-fuzz/fuzz/fuzz_"$name" -max_total_time="$SECONDS_EACH" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$findings/" "$work" "fuzz/corpus/$name" \
    >build-fuzz/fuzz-"$name".log 2>&1
}

status=0
pids=()
for name in "${TARGETS[@]}"; do
  run "$name" &
  pids+=($!)
  if [ ${#pids[@]} -ge "$JOBS" ]; then
    wait "${pids[0]}" || status=1
    pids=("${pids[@]:1}")
  fi
done
for pid in "${pids[@]}"; do wait "$pid" || status=1; done

for name in "${TARGETS[@]}"; do
  log=build-fuzz/fuzz-$name.log
  done_line=$(grep -E '^#[0-9]+[[:space:]]+DONE' "$log" | tail -1 || true)
  found=$(find build-fuzz/findings/"$name" -type f | wc -l)
  echo "$name: ${done_line:-did not finish, see $log}; findings: $found"
done
exit $status
