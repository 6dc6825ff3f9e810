#!/usr/bin/env bash
# scripts/fuzz.sh [SECONDS]: fuzzes the texture reader for SECONDS (120 unless given) with the fuzz
# preset's texture-fuzz, starting from the sample catalogue and the corpus of earlier runs.
# A crash, leak, timeout or out-of-memory fails the run; its input is kept in tests/fuzz/regressions/.
set -euo pipefail

seconds=${1:-120}
if ! [[ $seconds =~ ^[0-9]+$ ]] || ((seconds == 0)); then
    echo "usage: scripts/fuzz.sh [SECONDS]" >&2
    exit 2
fi

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
# shellcheck source=scripts/common.sh
source scripts/common.sh
# llvm-14 brings the symbolizer that puts function names and lines in the sanitizers' stacks.
need_packages "${BUILD_PACKAGES[@]}" clang libclang-rt-14-dev llvm-14

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

build=build/fuzz
corpus=$build/fuzz/corpus
regressions=tests/fuzz/regressions
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$corpus" "$scratch/seeds" "$scratch/artifacts"

# The seeds: every sample file of the catalogue, good and bad, without the pictures beside them.
"$build/tools/make-samples" "$scratch/samples"
find "$scratch/samples" -type f ! -name '*.ppm' -exec cp -t "$scratch/seeds" {} +

export ASAN_OPTIONS=detect_leaks=1
export UBSAN_OPTIONS=print_stacktrace=1
export ASAN_SYMBOLIZER_PATH=/usr/lib/llvm-14/bin/llvm-symbolizer
log=$scratch/fuzz.log
status=0
"$build/fuzz/texture-fuzz" -max_len=1048576 -rss_limit_mb=2048 -timeout=5 -max_total_time="$seconds" \
    -print_final_stats=1 -dict=fuzz/texture.dict -artifact_prefix="$scratch/artifacts/" \
    "$corpus" "$scratch/seeds" 2>&1 | tee "$log" || status=$?

executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
if [ -z "$executions" ]; then
    # A crash can cut the final statistics short; the last progress line still counts the runs.
    executions=$(sed -n 's/^#\([0-9][0-9]*\)[[:space:]].*/\1/p' "$log" | tail -n 1)
fi
echo "Executions: ${executions:-unknown}"

# The reason a run failed, as a file name part: the kind of error that the sanitizer, libFuzzer or
# the target's own checks reported, and the function of the viewer's code nearest to it.
describe_failure() {
    local pattern reason='' place
    for pattern in 'AddressSanitizer: [a-z-]+' 'LeakSanitizer: [a-z ]+' 'runtime error: [a-z ]+' \
        'texture-fuzz: [^:]+: [^0-9(,]+' 'libFuzzer: [a-z-]+'; do
        reason=$(grep -m 1 -oE "$pattern" "$log" | sed -E 's/^[^:]*: //' || true)
        [ -n "$reason" ] && break
    done
    place=$(grep -m 1 -oE ' in tamsel::[A-Za-z_:]+' "$log" | sed -E 's/.*:://' || true)
    printf '%s %s' "${reason:-failure}" "$place" | tr '[:upper:]' '[:lower:]' | tr -cs 'a-z0-9' '-' |
        sed -E 's/-+$//'
}

# The container the input claims by its first tag.
container_of() {
    case "$(head -c 4 "$1")" in
        PAMB) echo bare ;;
        " BRS") echo srb ;;
        *) echo mip ;;
    esac
}

kept=0
for artifact in "$scratch"/artifacts/*; do
    [ -f "$artifact" ] || continue
    kind=$(basename "$artifact" | cut -d- -f1)
    hash=$(sha1sum "$artifact" | cut -c1-12)
    target="$regressions/$kind-$(container_of "$artifact")-$(describe_failure)-$hash"
    mkdir -p "$regressions"
    cp "$artifact" "$target"
    echo "Kept the failing input as $target: the texture_hostile_files test replays it."
    kept=$((kept + 1))
done

if ((status != 0 || kept != 0)); then
    echo "Fuzzing failed (texture-fuzz exit status $status); the report is above." >&2
    exit 1
fi
echo "No crash, leak, timeout or out-of-memory in $seconds seconds."
