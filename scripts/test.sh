#!/usr/bin/env bash
# Installs what is missing, builds with AddressSanitizer and UndefinedBehaviorSanitizer,
# and runs every test (the tree's layering and formatting checks among them); then runs
# the task component's and the player's tests under ThreadSanitizer, and every test once
# more in the configuration scripts/run.sh ships (optimized, with debug information),
# built with clang.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh --tests
jobs=$(nproc)
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTARVIK_SANITIZE=ON -DTARVIK_TESTS=ON \
      -DTARVIK_BENCH=ON
cmake --build build-asan -j "$jobs"
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
(cd build-asan && ctest --output-on-failure -j "$jobs" "$@")
# The task component's and the player's threads once more under ThreadSanitizer: only the media
# library and those tests are built.
cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTARVIK_TSAN=ON -DTARVIK_TESTS=ON
cmake --build build-tsan -j "$jobs"
export TSAN_OPTIONS=${TSAN_OPTIONS:-halt_on_error=1:second_deadlock_stack=1}
(cd build-tsan && ctest --output-on-failure -j "$jobs" "$@")
# What users run: optimized with debug information, as scripts/run.sh builds it, and with
# clang (gcc accepts some code clang refuses).  Faults that only optimization shows (and
# that the sanitizers' slower, instrumented code hides) fail here.  The benchmarks are
# left to the first build, and so are the checks over the source tree.
cmake -S . -B build-clang -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
      -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARVIK_TESTS=ON -DTARVIK_BENCH=OFF -DTARVIK_TREE_CHECKS=OFF
cmake --build build-clang -j "$jobs"
(cd build-clang && ctest --output-on-failure -j "$jobs" "$@")
