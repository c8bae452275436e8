#!/usr/bin/env bash
# Installs what is missing, builds and runs the whole test suite: a plain build, the same
# suite under AddressSanitizer + UndefinedBehaviorSanitizer, the layers below the windows
# under ThreadSanitizer, then each fuzz target for a bounded time. Exits non-zero on any
# failure.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/install-deps.sh" --test

jobs=$(nproc)
failed=()

suite() { # suite <name> <ctest args...> -- <cmake args...>
    local name=$1; shift
    local ctest_args=()
    while [[ $1 != -- ]]; do ctest_args+=("$1"); shift; done
    shift
    local dir="$root/build/$name"
    echo "=== $name: build"
    cmake -S "$root" -B "$dir" -G Ninja -DTARNIS_WERROR=ON "$@" >/dev/null
    cmake --build "$dir" -j "$jobs"
    echo "=== $name: test"
    if ! ctest --test-dir "$dir" -j "$jobs" --output-on-failure --no-tests=error "${ctest_args[@]}"; then
        failed+=("$name")
    fi
}

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS="suppressions=$root/tests/sanitizer/lsan.supp"
export TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1:suppressions=$root/tests/sanitizer/tsan.supp"

suite plain -- -DCMAKE_BUILD_TYPE=RelWithDebInfo
suite asan -- -DCMAKE_BUILD_TYPE=Debug -DTARNIS_SANITIZE=address
suite tsan -LE ui -- -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARNIS_SANITIZE=thread -DTARNIS_BUILD_UI=OFF

echo "=== fuzz: build"
fuzz_dir="$root/build/fuzz"
cmake -S "$root" -B "$fuzz_dir" -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARNIS_FUZZ=ON -DTARNIS_WERROR=ON >/dev/null
cmake --build "$fuzz_dir" -j "$jobs"
for fuzzer in "$fuzz_dir"/tests/fuzz/fuzz_*; do
    [[ -x "$fuzzer" ]] || continue
    echo "=== fuzz: $(basename "$fuzzer")"
    corpus=$(mktemp -d)
    if ! "$fuzzer" -max_total_time=20 -rss_limit_mb=2048 -print_final_stats=0 "$corpus" 2>"$corpus.log"; then
        tail -n 40 "$corpus.log"
        failed+=("$(basename "$fuzzer")")
    fi
    rm -rf "$corpus" "$corpus.log"
done

if [[ ${#failed[@]} -gt 0 ]]; then
    echo "FAILED: ${failed[*]}"
    exit 1
fi
echo "All suites passed: plain, asan, tsan, fuzz."
