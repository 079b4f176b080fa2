#!/usr/bin/env bash
# Runs every fuzzer of a fuzz build for a while and prints how many inputs each ran.
#   run-fuzzers.sh <fuzz build folder> <seconds per fuzzer>
# Each fuzzer starts from its committed seeds (fuzz/corpus/<name>/, only read) and keeps
# what it finds in <build>/corpus/<name>/. A crash, a leak or a broken check fails the run,
# with the fuzzer's log and the input left in <build>/artifacts/.
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "$1")
seconds=$2
# A single input that runs this long is a hang, not a slow file.
timeout_seconds=60
# libFuzzer would otherwise grow no input beyond its largest seed (47 bytes of switches).
min_max_len=4096

mkdir -p "$build/artifacts" "$build/logs"
status=0
for seeds in fuzz/corpus/*/; do
  name=$(basename "$seeds")
  mkdir -p "$build/corpus/$name"
  log="$build/logs/$name.log"
  largest=$(find "$seeds" -type f -printf '%s\n' | sort -n | tail -n 1)
  max_len=$((largest > min_max_len ? largest : min_max_len))
  if "$build/fuzz/$name" -max_total_time="$seconds" -timeout="$timeout_seconds" -max_len="$max_len" -print_final_stats=1 \
       -artifact_prefix="$build/artifacts/$name-" "$build/corpus/$name" "$seeds" >"$log" 2>&1; then
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    printf '%-16s %12s executions\n' "$name" "$runs"
  else
    printf '%-16s FAILED, see %s\n' "$name" "$log"
    tail -n 40 "$log"
    status=1
  fi
done
exit $status
