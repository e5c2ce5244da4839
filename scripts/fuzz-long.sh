#!/bin/bash
# The long fuzz run: builds the targets optimised and without sanitizers (build-fuzz-long), runs
# each for a number of executions on its own growing corpus, then replays every corpus through
# the sanitized targets of test.sh (build-fuzz) when those are built. Two targets run at a time.
#
#   scripts/fuzz-long.sh [EXECUTIONS] [TARGET...]     (default: 10000000, every target)
#
# Counts and results go to fuzz-long/status; the corpora and findings stay in fuzz-long/.
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-10000000}
shift || true
cmake -S . -B build-fuzz-long -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_COMPILER=clang++ \
  -DKORVEX_FUZZ=ON -DKORVEX_FUZZ_SANITIZE=OFF -DKORVEX_TESTS=OFF -DKORVEX_GUI=OFF -DKORVEX_BENCH=OFF >/dev/null
cmake --build build-fuzz-long --target fuzz-targets
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for f in fuzz/*_fuzz.cpp; do targets+=("$(basename "$f" .cpp)"); done
fi
out=$PWD/fuzz-long
mkdir -p "$out/artifacts"

run_one() {
  local t=$1 dict extra
  dict=$(sed -n 's#^// Dictionary: *##p' "fuzz/$t.cpp" | head -1)
  # A target may ask for options of its own, e.g. a cap on the input length where the cost of
  # a run grows with it: a line "// Long run: <options>".
  extra=$(sed -n 's#^// Long run: *##p' "fuzz/$t.cpp" | head -1)
  mkdir -p "$out/corpus/$t"
  # shellcheck disable=SC2086
  build-fuzz-long/fuzz/"$t" -runs="$runs" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 $extra \
    ${dict:+-dict=fuzz/$dict} -artifact_prefix="$out/artifacts/$t-" "$out/corpus/$t" "fuzz/corpus/$t" \
    >"$out/$t.log" 2>&1 && rc=0 || rc=$?
  echo "$t rc=$rc executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$out/$t.log")" \
    "per_second=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$out/$t.log")" >>"$out/status"
  if [ -x "build-fuzz/fuzz/$t" ]; then
    build-fuzz/fuzz/"$t" -runs=0 -rss_limit_mb=2048 "$out/corpus/$t" >"$out/$t.replay.log" 2>&1 && rc=0 || rc=$?
    echo "$t replayed under ASan+UBSan rc=$rc" >>"$out/status"
  fi
}

: >"$out/status"
for ((i = 0; i < ${#targets[@]}; i += 2)); do
  run_one "${targets[i]}" &
  [ $((i + 1)) -lt ${#targets[@]} ] && run_one "${targets[i + 1]}" &
  wait
done
cat "$out/status"
