#!/usr/bin/env bash
# Runs every fuzz target for a bounded time: run.sh BUILD_DIR SECONDS [TARGET...]
# Each target grows its corpus in BUILD_DIR/corpus/NAME, starting from the
# seeds in fuzz/corpus/NAME; a crashing input is saved in BUILD_DIR/findings/.
set -uo pipefail
build=${1:?build folder}
seconds=${2:?seconds per target}
shift 2
targets=("$@")
[[ ${#targets[@]} -eq 0 ]] && targets=(detector detector_large hysteresis picture_reader)
seeds=$(cd "$(dirname "$0")" && pwd)/corpus

status=0
for name in "${targets[@]}"; do
  # The largest input a target reads: its header and a 64 x 64 picture (the
  # hysteresis plane with border, four bytes a cell).
  case $name in
    detector | detector_large) max_len=$((15 + 64 * 64)) ;;
    hysteresis) max_len=$((11 + 66 * 66 * 4)) ;;
    *) max_len=20000 ;;
  esac
  seed=${name%_large}  # the large detector reads the same inputs, scaled up
  [[ $name == picture_reader ]] && seed=pictures
  mkdir -p "$build/corpus/$name" "$build/findings"
  echo "== fuzz_$name for ${seconds}s"
  if ! "$build/fuzz/fuzz_$name" "$build/corpus/$name" "$seeds/$seed" \
      -max_total_time="$seconds" -timeout=10 -max_len=$max_len -print_final_stats=1 \
      -artifact_prefix="$build/findings/$name-"; then
    echo "== fuzz_$name found a problem; the input is in $build/findings/" >&2
    status=1
  fi
done
exit $status
