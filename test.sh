#!/usr/bin/env bash
# Builds the tests with AddressSanitizer and UndefinedBehaviorSanitizer and runs them all, headless.
set -euo pipefail
cd "$(dirname "$0")"
tools/install-deps.sh
# Unformatted code fails the run; `clang-format -i FILE` (Debian's clang-format 14) mends it.
find src tests bench fuzz \( -name '*.cpp' -o -name '*.h' \) -print0 |
  xargs -0 clang-format --dry-run --Werror || { echo "Format the files above."; exit 1; }
cmake -S . -B build-tests -DCMAKE_BUILD_TYPE=Debug -DKELT_TESTS=ON -DKELT_BENCH=ON -DKELT_SANITIZE=ON >/dev/null
cmake --build build-tests -j"$(nproc)"
# So do the faults clang-tidy finds in the program's sources (.clang-tidy says which checks).
tidy_log=$(mktemp)
if ! find src -name '*.cpp' -print0 |
  xargs -0 -P"$(nproc)" -n1 clang-tidy -p build-tests --quiet >"$tidy_log" 2>&1; then
  grep -v "warnings generated" "$tidy_log"
  echo "Mend the clang-tidy findings above."
  exit 1
fi
rm -f "$tidy_log"
export QT_QPA_PLATFORM=offscreen
# GCC 12's LeakSanitizer misreads the thread-local blocks of libraries loaded later (the printing
# plugin's) when it follows __tls_get_addr, and its tracer crashes after all tests have passed.
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:intercept_tls_get_addr=0}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
cd build-tests
ctest --output-on-failure -j"$(nproc)"
# In CI, as root on a machine of its own, the Debian package is built, checked, installed and
# removed too (tools/package-check.sh).
if [ "${CI:-}" = true ] && [ "$(id -u)" -eq 0 ]; then
  cd .. && tools/package-check.sh
fi
