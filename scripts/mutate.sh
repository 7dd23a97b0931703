#!/usr/bin/env bash
# Mutation testing: changes one operator or constant of the product code at a time, rebuilds,
# runs the chosen tests and counts the mutant killed when they fail (or time out), survived
# when they pass. Mutants that do not build are listed but not counted.
#
# Settings (environment):
#   MUTATE_FILES   source files to mutate, globs allowed      (default: engine/*.cpp engine/*.h)
#   MUTATE_TESTS   test targets: built, then every ctest test that runs one of them
#                                                            (default: engine_tests)
#   MUTATE_CMD     instead of those ctest tests, this command, run in the build folder; it finds
#                  the mutant it is run on described in MUTATE_MUTANT
#   MUTATE_MAX     mutants sampled from all candidates, 0 for all          (default: 60)
#   MUTATE_SEED    seed of the sample: the same seed and files give the same mutants (default: 1)
#   MUTATE_TIMEOUT seconds a test run may take (default: three times the unmutated run + 30)
#   MUTATE_BUILD   build folder of its own              (default: build-mutate)
#   MUTATE_CMAKE_ARGS  extra configure arguments, e.g. -DCANNY_ENGINE_ONLY=ON
# The report goes to the terminal and to $MUTATE_BUILD/mutate-report.txt.
set -euo pipefail
cd "$(dirname "$0")/.."

files_glob=${MUTATE_FILES:-engine/*.cpp engine/*.h}
targets=${MUTATE_TESTS:-engine_tests}
max=${MUTATE_MAX:-60}
seed=${MUTATE_SEED:-1}
build=${MUTATE_BUILD:-build-mutate}
report="$build/mutate-report.txt"
# shellcheck disable=SC2206  # the globs are meant to expand
files=($files_glob)
for f in "${files[@]}"; do
  [[ -f $f ]] || { echo "mutate: no such file: $f" >&2; exit 2; }
done

# The file under mutation, restored on every way out (a failed build, Ctrl-C, a kill).
current=""
backup="$build/mutate-original"
restore() {
  if [[ -n $current ]]; then
    cat "$backup" >"$current"  # a fresh modification time, so that the next build sees it
    current=""
  fi
}
trap restore EXIT
trap 'restore; exit 130' INT TERM

echo "mutate: configuring $build" >&2
# shellcheck disable=SC2086  # the extra arguments are meant to split
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release ${MUTATE_CMAKE_ARGS:-} >/dev/null
build_targets() {
  # shellcheck disable=SC2086
  cmake --build "$build" -j "${MUTATE_JOBS:-2}" --target $targets >"$build/mutate-build.log" 2>&1
}
build_targets || { echo "mutate: the unmutated code does not build, see $build/mutate-build.log" >&2; exit 2; }

if [[ -n ${MUTATE_CMD:-} ]]; then
  test_command=(bash -c "cd '$build' && $MUTATE_CMD")
else
  # The ctest tests whose command runs one of the targets (as program or as argument), by
  # number: names of discovered tests may carry text that changes with every build.
  numbers=$(ctest --test-dir "$build" --show-only=json-v1 | /usr/bin/python3 -c '
import json, os, sys
targets = set(sys.argv[1].split())
tests = json.load(sys.stdin)["tests"]
print(",".join(str(number) for number, t in enumerate(tests, 1)
               if targets & {os.path.basename(part) for part in t.get("command", [])}))' "$targets")
  [[ -n $numbers ]] || { echo "mutate: no ctest test runs any of: $targets" >&2; exit 2; }
  test_command=(ctest --test-dir "$build" -I "0,0,0,$numbers" --no-tests=error --stop-on-failure)
fi
run_tests() { timeout --kill-after=10 "$1" "${test_command[@]}" >"$build/mutate-test.log" 2>&1; }

start=$SECONDS
run_tests 3600 || { echo "mutate: the tests fail without any mutant, see $build/mutate-test.log" >&2; exit 2; }
limit=${MUTATE_TIMEOUT:-$((3 * (SECONDS - start) + 30))}

mapfile -t mutants < <(/usr/bin/python3 scripts/mutants.py list "$seed" "$max" "${files[@]}")
echo "mutate: ${#mutants[@]} mutants of ${#files[@]} files, seed $seed, timeout ${limit}s" >&2
: >"$report"
killed=0 survived=0 unbuilt=0
for m in "${mutants[@]}"; do
  IFS=$'\t' read -r file line column before after <<<"$m"
  export MUTATE_MUTANT="$file:$line:$column $before -> $after"  # for a MUTATE_CMD that keeps notes
  cp "$file" "$backup"
  current=$file
  /usr/bin/python3 scripts/mutants.py apply "$file" "$line" "$column" "$before" "$after"
  status=0
  if ! build_targets; then
    outcome="build-failed"
    unbuilt=$((unbuilt + 1))
  elif run_tests "$limit" || status=$?; ((status == 0)); then
    outcome="SURVIVED"
    survived=$((survived + 1))
  else
    outcome="killed"
    ((status == 124 || status == 137)) && outcome="killed (timeout)"
    killed=$((killed + 1))
  fi
  restore
  printf '%-16s %s:%s:%s  %s  ->  %s\n' "$outcome" "$file" "$line" "$column" "$before" "${after:-(removed)}" |
    tee -a "$report"
done
build_targets || true  # leave the folder built from the unmutated code

counted=$((killed + survived))
rate=$( ((counted > 0)) && echo "$((1000 * killed / counted / 10)).$((1000 * killed / counted % 10))%" || echo "n/a")
summary="killed $killed, survived $survived, build-failed $unbuilt (not counted); kill rate $rate"
echo "$summary" | tee -a "$report"
echo "mutate: report in $report" >&2
