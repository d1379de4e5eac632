#!/usr/bin/env bash
# Builds the libFuzzer targets with clang under AddressSanitizer and UndefinedBehaviorSanitizer
# (into build-fuzz; the program itself is built by GCC as always) and runs each one for a set
# time, starting from its checked-in corpus under tests/fuzz/corpus/TARGET.
#
#   FUZZ_SECONDS=60   time per target (default 60 s)
#   FUZZ_RUNS=N       a number of executions per target instead of a time
#   FUZZ_TARGETS=".." the targets to run (default: all)
#   FUZZ_TIMEOUT=10   seconds one input may take before it counts as a hang
#   FUZZ_TOGETHER=1   every target at the same time (each its own process, at the lowest
#                     priority), instead of one after the other
#
# New inputs that reach new code go to build-fuzz/corpus/TARGET, never into the checked-in
# corpus. An input that breaks a rule is kept as build-fuzz/artifacts/TARGET/crash-* (or
# timeout-*, leak-*): copy it to tests/fuzz/regressions/TARGET/ under a name that says what it
# showed, where `make test` replays it, and mend the fault.
set -uo pipefail
cd "$(dirname "$0")/.."

FUZZ_DIR=${FUZZ_DIR:-build-fuzz}
SECONDS_EACH=${FUZZ_SECONDS:-60}
TARGETS=${FUZZ_TARGETS:-formula document_lines document_open settings number_line color_text table_file save_name recent_list}

# The longest input worth trying per target: a formula or a document of a few kilobytes reaches
# every rule, and longer ones only slow each execution.
max_len() {
  case "$1" in
    document_lines | document_open | table_file) echo 4096 ;;
    formula | settings) echo 1024 ;;
    save_name) echo 256 ;;
    recent_list) echo 2048 ;;
    number_line) echo 512 ;;
    *) echo 64 ;;
  esac
}

CC=clang CXX=clang++ cmake -S . -B "$FUZZ_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DKURVANT_FUZZ=ON -DKURVANT_TESTS=OFF -DKURVANT_BENCH=OFF \
  -DKURVANT_SKIP_DIRS="view;widgets;app;cli" >/dev/null || exit 1
targets=()
for t in $TARGETS; do targets+=("fuzz_$t"); done
cmake --build "$FUZZ_DIR" -j "${JOBS:-$(nproc)}" --target "${targets[@]}" || exit 1

if [ -n "${FUZZ_RUNS:-}" ]; then
  limit=(-runs="$FUZZ_RUNS")
else
  limit=(-max_total_time="$SECONDS_EACH")
fi

# Allocation stacks are what slows a sanitized run most; a report is reproduced in full by running
# the target on the input it left.
export ASAN_OPTIONS=${ASAN_OPTIONS:-malloc_context_size=0}

# One target's run; its log is $FUZZ_DIR/fuzz_TARGET.log, its status the fuzzer's.
run_target() {
  local t=$1
  mkdir -p "$FUZZ_DIR/corpus/$t" "$FUZZ_DIR/artifacts/$t"
  "$FUZZ_DIR/bin/fuzz_$t" "$FUZZ_DIR/corpus/$t" "tests/fuzz/corpus/$t" "${limit[@]}" \
    -max_len="$(max_len "$t")" -timeout="${FUZZ_TIMEOUT:-10}" -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$FUZZ_DIR/artifacts/$t/" 2>"$FUZZ_DIR/fuzz_$t.log"
}

declare -A statuses
if [ -n "${FUZZ_TOGETHER:-}" ]; then
  declare -A pids
  for t in $TARGETS; do
    nice -n 19 bash -c "$(declare -f max_len run_target); FUZZ_DIR='$FUZZ_DIR'; limit=(${limit[*]}); run_target $t" &
    pids[$t]=$!
  done
  for t in $TARGETS; do
    wait "${pids[$t]}"
    statuses[$t]=$?
  done
else
  for t in $TARGETS; do
    run_target "$t"
    statuses[$t]=$?
  done
fi

failed=()
for t in $TARGETS; do
  echo "== fuzz_$t"
  grep -E '^(stat::number_of_executed_units|stat::average_exec_per_sec)' "$FUZZ_DIR/fuzz_$t.log"
  if [ "${statuses[$t]}" -ne 0 ]; then
    failed+=("$t")
    grep -E 'rule broken|ERROR: |SUMMARY' "$FUZZ_DIR/fuzz_$t.log" | head -5
  fi
done

if [ ${#failed[@]} -ne 0 ]; then
  echo "fuzzing found faults in: ${failed[*]} (inputs under $FUZZ_DIR/artifacts/)"
  exit 1
fi
echo "fuzzing: every target ran clean"
