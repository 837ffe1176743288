#!/usr/bin/env bash
# Runs every fuzz target of a fuzz build for a number of seconds each, one
# after the other, starting from its seed corpus and dictionary here.
#   tests/fuzz/run.sh <fuzz build folder> <seconds> [target ...]
# What a run adds to the corpus stays in <build>/fuzz/corpus/<target>; an
# input that crashes is saved as <build>/fuzz/artifacts/<target>/crash-...,
# the run goes on with the other targets and ends with status 1. Once the
# fault is fixed, the input belongs in corpus/<target>/ here, so that every
# later run replays it first.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=${1:?fuzz build folder}
seconds=${2:?seconds per target}
shift 2
targets=("$@")
if ((${#targets[@]} == 0)); then
    for seeds in "$here"/corpus/*/; do targets+=("$(basename "$seeds")"); done
fi

# The targets' scratch files go below the build folder, where a crashed
# target's leftovers do no harm.
mkdir -p "$build/fuzz/tmp"
export TMPDIR
TMPDIR=$(cd "$build/fuzz/tmp" && pwd)

failed=()
for target in "${targets[@]}"; do
    binary="$build/bin/fuzz_$target"
    work="$build/fuzz/corpus/$target"
    artifacts="$build/fuzz/artifacts/$target"
    log="$build/fuzz/$target.log"
    mkdir -p "$work" "$artifacts"
    dict=()
    [ -f "$here/dict/$target.dict" ] && dict=(-dict="$here/dict/$target.dict")
    "$binary" "$work" "$here/corpus/$target" "${dict[@]}" \
        -max_total_time="$seconds" -timeout=30 -print_final_stats=1 \
        -artifact_prefix="$artifacts/" >"$log" 2>&1
    status=$?
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    last=$(grep -E '^#[0-9]+.*cov: ' "$log" | tail -1 | grep -oE 'cov: [0-9]+ ft: [0-9]+')
    printf 'fuzz %-10s %3ss  runs %-9s %s\n' "$target" "$seconds" "${runs:-?}" "${last:-}"
    if ((status != 0)); then
        failed+=("$target")
        echo "fuzz $target FAILED (status $status); log $log:"
        grep -E 'ERROR|SUMMARY|broken|Test unit written' "$log" | head -20
    fi
done
if ((${#failed[@]})); then
    echo "fuzz: failed: ${failed[*]}"
    exit 1
fi
