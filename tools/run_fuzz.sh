#!/usr/bin/env bash
# Builds one libFuzzer target (fuzz/NAME.cpp) with clang in a build folder of
# its own and runs it for a bounded time.
#   tools/run_fuzz.sh NAME [SECONDS] [BUILD_DIR]
# Exit 77 (skipped) when clang or libFuzzer is not available. Findings are
# written to BUILD_DIR/NAME-artifacts/, the run's log to BUILD_DIR/NAME.log.
set -uo pipefail
cd "$(dirname "$0")/.."
name=${1:?usage: run_fuzz.sh NAME [SECONDS] [BUILD_DIR]}
seconds=${2:-20}
dir=${3:-build/fuzz}

clangxx=$(command -v clang++ || true)
clangc=$(command -v clang || true)
if [ -z "$clangxx" ] || [ -z "$clangc" ]; then
    echo "clang not found: fuzzing skipped"
    exit 77
fi
probe=$(mktemp -d)
trap 'rm -rf "$probe"' EXIT
echo 'extern "C" int LLVMFuzzerTestOneInput(const unsigned char*, unsigned long) { return 0; }' > "$probe/p.cpp"
if ! "$clangxx" -fsanitize=fuzzer,address "$probe/p.cpp" -o "$probe/p" >/dev/null 2>&1; then
    echo "libFuzzer not available with $clangxx: fuzzing skipped"
    exit 77
fi

mkdir -p "$dir"
# ctest runs several fuzz tests at once and they share this build folder:
# configure and build one at a time.
exec 9>"$dir/.build.lock"
flock 9
if [ ! -f "$dir/CMakeCache.txt" ]; then
    # -O1 without debug info: the usual level for sanitizer builds, and quick to compile.
    cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE=-O1 -DCMAKE_C_FLAGS_RELEASE=-O1 \
        -DCMAKE_C_COMPILER="$clangc" \
        -DCMAKE_CXX_COMPILER="$clangxx" -DGROMBAT_FUZZ=ON -DGROMBAT_TESTS=OFF -DGROMBAT_BENCH=OFF >/dev/null || exit 1
else
    # A target added since the folder was configured needs a new glob.
    cmake "$dir" >/dev/null || exit 1
fi
# Two jobs: the fuzz build shares the machine with the rest of the tests.
cmake --build "$dir" --target "$name" -j 2 >"$dir/$name.build.log" 2>&1 || {
    tail -n 40 "$dir/$name.build.log"
    exit 1
}
flock -u 9

artifacts="$dir/$name-artifacts"
corpus="$dir/$name-corpus"
mkdir -p "$artifacts" "$corpus"
# New inputs go to the build's corpus; fuzz/corpus/NAME holds the seeds.
seeds=()
[ -d "fuzz/corpus/$name" ] && seeds=("fuzz/corpus/$name")
# The target reports every refused pack on stderr; keep that out of the test
# output and show the end of the log only when something was found.
ASAN_OPTIONS=detect_leaks=0 "$dir/$name" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 \
    -artifact_prefix="$artifacts/" "$corpus" "${seeds[@]}" >"$dir/$name.log" 2>&1
status=$?
if [ $status -ne 0 ]; then
    tail -n 60 "$dir/$name.log"
    echo "fuzzing $name failed (status $status); inputs in $artifacts"
    exit 1
fi
grep -E "^#[0-9]+.*DONE|Done [0-9]+ runs" "$dir/$name.log" | tail -n 1
exit 0
