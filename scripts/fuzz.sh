#!/usr/bin/env bash
# Builds the libFuzzer targets of the platform-free rules (tests/fuzz, with
# clang, AddressSanitizer and UBSan, into build/fuzz) and runs them.
#
#   scripts/fuzz.sh build                only build
#   scripts/fuzz.sh smoke                every target for a fixed number of
#                                        runs from its seed corpus; fails on
#                                        any finding
#   scripts/fuzz.sh long SECONDS [RUNS]  every target in turn for SECONDS (or
#                                        until RUNS executions), growing its
#                                        corpus in build/fuzz/corpus; prints
#                                        executions and findings per target
#
# FUZZ_TARGETS="fuzz_text fuzz_duration" limits a run to those targets.
# Findings are kept in build/fuzz/findings; replay one with
# build/fuzz/<target> <file>.
set -euo pipefail
cd "$(dirname "$0")/.."

mode=${1:-build}
buildDir=build/fuzz
seedDir=tests/fuzz/corpus
smokeRuns=20000

usage() {
    sed -n '2,16p' "$0" | sed 's/^# \{0,1\}//' >&2
    exit 2
}

# The longest input each target is given: command texts reach past every
# buffer of the program; durations are typed into a 10-character edit.
maxLength() {
    case $1 in
        fuzz_open_command) echo 30000 ;;
        fuzz_duration) echo 512 ;;
        *) echo 4096 ;;
    esac
}

toolchainWorks() {
    command -v clang++ >/dev/null 2>&1 && command -v cmake >/dev/null 2>&1 || return 1
    local probe status=0
    probe=$(mktemp -d)
    echo 'extern "C" int LLVMFuzzerTestOneInput(const unsigned char*, unsigned long) { return 0; }' >"$probe/probe.cpp"
    clang++ -fsanitize=fuzzer,address,undefined "$probe/probe.cpp" -o "$probe/probe" >/dev/null 2>&1 || status=1
    rm -rf "$probe"
    return $status
}

ensureToolchain() {
    toolchainWorks && return 0
    echo "fuzz.sh: installing clang and the fuzzer runtime" >&2
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    export DEBIAN_FRONTEND=noninteractive
    $sudo apt-get install -y clang libclang-rt-14-dev cmake >/dev/null \
        || { $sudo apt-get update >/dev/null && $sudo apt-get install -y clang libclang-rt-14-dev cmake >/dev/null; }
    toolchainWorks || { echo "fuzz.sh: clang cannot build a fuzz target" >&2; exit 1; }
}

build() {
    ensureToolchain
    # The same lock as scripts/build.sh: one build at a time on this machine.
    (
        flock 9
        [ -f "$buildDir/CMakeCache.txt" ] || cmake -S tests/fuzz -B "$buildDir" -DCMAKE_CXX_COMPILER=clang++ >/dev/null
        cmake --build "$buildDir" -j "$(nproc 2>/dev/null || echo 2)" >/dev/null
    ) 9>"${TMPDIR:-/tmp}/kelvaro-build.lock"
}

targets() {
    local all=() name
    for source in tests/fuzz/fuzz_*.cpp; do
        name=$(basename "$source" .cpp)
        if [ -z "${FUZZ_TARGETS:-}" ] || [[ " $FUZZ_TARGETS " == *" $name "* ]]; then
            all+=("$name")
        fi
    done
    [ ${#all[@]} -gt 0 ] || { echo "fuzz.sh: no target matches FUZZ_TARGETS" >&2; exit 2; }
    echo "${all[@]}"
}

# Executions from a libFuzzer log: the final statistics, or the last status
# line when the run stopped at a finding.
executions() {
    local count
    count=$(sed -n 's/^stat::number_of_executed_units: \([0-9]*\)$/\1/p' "$1" | tail -n 1)
    [ -n "$count" ] || count=$(sed -n 's/^#\([0-9][0-9]*\).*/\1/p' "$1" | tail -n 1)
    echo "${count:-0}"
}

# Runs one target: target, log file, working corpus, then libFuzzer options.
# Returns libFuzzer's status; findings land in build/fuzz/findings/<target>.
runTarget() {
    local target=$1 log=$2 corpus=$3
    shift 3
    local findings="$buildDir/findings/$target"
    mkdir -p "$findings" "$corpus"
    local status=0
    "$buildDir/$target" -max_len="$(maxLength "$target")" -timeout=30 -rss_limit_mb=2560 \
        -print_final_stats=1 -artifact_prefix="$findings/" "$@" "$corpus" "$seedDir/$target" >"$log" 2>&1 \
        || status=$?
    return $status
}

findingCount() {
    find "$buildDir/findings/$1" -type f -newer "$2" 2>/dev/null | wc -l
}

reportFindings() {
    local target=$1 log=$2 since=$3
    echo "  $target: finding; log $log" >&2
    grep -E 'check failed|ERROR: |SUMMARY|runtime error' "$log" | head -n 5 | sed 's/^/    /' >&2
    find "$buildDir/findings/$target" -type f -newer "$since" | sed "s|^|    reproduce: $buildDir/$target |" >&2
}

smoke() {
    build
    local failed=0 target log work since
    mkdir -p "$buildDir/logs"
    since=$(mktemp)
    for target in $(targets); do
        log="$buildDir/logs/$target.smoke.log"
        # New inputs go to a scratch corpus, never into the seeds.
        work=$(mktemp -d)
        if runTarget "$target" "$log" "$work" -runs="$smokeRuns" -seed=1; then
            printf '  %-20s %8s runs, no finding\n' "$target" "$(executions "$log")"
        else
            failed=1
            reportFindings "$target" "$log" "$since"
        fi
        rm -rf "$work"
    done
    rm -f "$since"
    return $failed
}

long() {
    local seconds=$1 runs=${2:-}
    [[ $seconds =~ ^[0-9]+$ ]] && [ "$seconds" -gt 0 ] || usage
    [ -z "$runs" ] || [[ $runs =~ ^[0-9]+$ ]] || usage
    build
    mkdir -p "$buildDir/logs"
    local rows=() failed=0 target log since start elapsed count found
    for target in $(targets); do
        log="$buildDir/logs/$target.long.log"
        since=$(mktemp)
        start=$(date +%s)
        echo "fuzz.sh: $target for up to $seconds s${runs:+ or $runs runs}" >&2
        local limits=(-max_total_time="$seconds")
        [ -z "$runs" ] || limits+=(-runs="$runs")
        runTarget "$target" "$log" "$buildDir/corpus/$target" "${limits[@]}" || true
        elapsed=$(($(date +%s) - start))
        count=$(executions "$log")
        found=$(findingCount "$target" "$since")
        if [ "$found" -gt 0 ] || ! grep -q '^Done ' "$log"; then
            [ "$found" -gt 0 ] || found=1
            failed=1
            reportFindings "$target" "$log" "$since"
        fi
        rm -f "$since"
        rows+=("$(printf '%-20s %8s %14s %10s %9s' "$target" "$elapsed" "$count" "$((count / (elapsed > 0 ? elapsed : 1)))" "$found")")
    done
    printf '%-20s %8s %14s %10s %9s\n' target seconds executions exec/s findings
    printf '%s\n' "${rows[@]}"
    return $failed
}

case $mode in
    build) build ;;
    smoke) smoke ;;
    long) [ $# -ge 2 ] || usage; long "$2" "${3:-}" ;;
    *) usage ;;
esac
