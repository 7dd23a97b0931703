#!/usr/bin/env bash
# Runs the canny tool (a build without sanitizers, on glibc's malloc) over
# picture files, each twice with the heap filled differently, and demands of
# each: an end (no crash, no hang), either an edge map (status 0) or one line
# on standard error and no output (status 1), and the same outcome both
# times: a difference means a read of memory nobody wrote.
#   replay-tool.sh [--valgrind] CANNY (FILE | FOLDER | --list LIST)...
# A LIST names files, one a line, relative to the current folder; lines
# starting with # are skipped.
# --valgrind runs each file once more under valgrind, which names the read.
set -uo pipefail
valgrind=false
[[ ${1:-} == --valgrind ]] && valgrind=true && shift
canny=${1:?canny tool}
shift

files=()
while (($#)); do
  if [[ $1 == --list ]]; then
    while read -r name _; do
      [[ -z $name || $name == \#* ]] || files+=("$name")
    done <"$2"
    shift
  elif [[ -d $1 ]]; then
    files+=("$1"/*)
  else
    files+=("$1")
  fi
  shift
done

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
# One run with the heap filled with byte $2; leaves status, messages and output in $scratch/$2.*
run() {
  rm -f "$scratch/$2.pgm"
  # (in a subshell, whose own report of a crash is not wanted)
  (
    MALLOC_PERTURB_=$2 timeout 60 "$canny" "$1" "$scratch/$2.pgm" 2>"$scratch/$2.err"
    echo $? >"$scratch/$2.status"
  ) 2>/dev/null
}

failed=0
for file in "${files[@]}"; do
  run "$file" 85
  run "$file" 170
  status=$(<"$scratch/85.status")
  why=
  if ((status != 0 && status != 1)); then
    why="ended with status $status (a crash, an abort or a hang)"
  elif ((status == 1)) && [[ $(wc -l <"$scratch/85.err") != 1 || -e $scratch/85.pgm ]]; then
    why="refused without exactly one line, or left an output"
  elif ((status == 0)) && [[ ! -s $scratch/85.pgm ]]; then
    why="succeeded without an edge map"
  elif ! cmp -s "$scratch/85.status" "$scratch/170.status" ||
    ! cmp -s "$scratch/85.err" "$scratch/170.err" ||
    { [[ -e $scratch/85.pgm ]] && ! cmp -s "$scratch/85.pgm" "$scratch/170.pgm"; }; then
    why="differs with the heap filled otherwise (a read of unset memory)"
  elif $valgrind && ! valgrind -q --error-exitcode=99 "$canny" "$file" "$scratch/v.pgm" \
    2>"$scratch/v.err" && grep -q '^==[0-9]*==' "$scratch/v.err"; then
    why="valgrind: $(grep -m1 '^==[0-9]*== [A-Z]' "$scratch/v.err")"
  fi
  if [[ -n $why ]]; then
    echo "FAIL $file: $why: $(head -c 300 "$scratch/85.err")"
    failed=$((failed + 1))
  fi
done
echo "${#files[@]} files replayed through $canny, $failed failed"
((failed == 0))
