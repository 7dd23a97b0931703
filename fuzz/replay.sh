#!/usr/bin/env bash
# Replays the seeds and a grown corpus through the GCC-built targets:
# replay.sh GCC_BUILD_DIR CORPUS_ROOT (CORPUS_ROOT/NAME as run.sh grows it).
set -uo pipefail
build=${1:?GCC build folder}
grown=${2:?corpus root}
seeds=$(cd "$(dirname "$0")" && pwd)/corpus

status=0
for name in detector detector_large hysteresis; do
  dirs=("$seeds/${name%_large}")
  [[ -d "$grown/$name" ]] && dirs+=("$grown/$name")
  "$build/fuzz/fuzz_$name" "${dirs[@]}" || status=1
done
exit $status
