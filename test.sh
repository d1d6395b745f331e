#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test:
# first a normal build, then the same suite under AddressSanitizer and UBSan in a Debug build, so
# the assertions on programmer mistakes fire as well, then the suite under ThreadSanitizer.
#   ./test.sh        all three stages
#   ./test.sh tsan   the ThreadSanitizer stage only
# KELVANE_SKIP_SANITIZERS=1 skips the ASan/UBSan stage, KELVANE_SKIP_TSAN=1 the ThreadSanitizer one.
set -euo pipefail
cd "$(dirname "$0")"
root=$PWD

stage=${1:-all}
case "$stage" in
  all | tsan) ;;
  *) echo "usage: $0 [tsan]" >&2; exit 2 ;;
esac

./scripts/deps.sh

export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
jobs=${JOBS:-2}

build() {  # build dir, build type, extra cmake args...
  local dir=$1 type=$2; shift 2
  cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE="$type" -DKELVANE_WERROR=ON "$@" >/dev/null
  cmake --build "$dir" -j "$jobs"
}

if [[ "$stage" == all ]]; then
  build build RelWithDebInfo
  (cd build && ctest --output-on-failure --timeout 600 -j "$jobs")

  if [[ "${KELVANE_SKIP_SANITIZERS:-0}" != 1 ]]; then
    build build-asan Debug -DKELVANE_SANITIZE=ON
    (cd build-asan && ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
       ctest --output-on-failure --timeout 600 -j "$jobs")
  fi
fi

if [[ "$stage" == tsan || "${KELVANE_SKIP_TSAN:-0}" != 1 ]]; then
  # The whole suite once more under ThreadSanitizer: it covers the loading and cursor threads,
  # SDL's audio thread feeding the mixer, the single-copy guard between processes and the
  # end-to-end runs of the built game (each instrumented program carries the same options).
  # ThreadSanitizer needs its fixed memory layout, which the address randomisation of some
  # kernels breaks ("unexpected memory mapping"); without randomisation the layout always fits.
  # The build runs instrumented programs too (the data generator), so it goes without as well.
  norandom=()
  if setarch "$(uname -m)" -R true 2>/dev/null; then norandom=(setarch "$(uname -m)" -R); fi
  # (The benchmarks measure speed, which means nothing under the sanitizer: left out.)
  cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKELVANE_WERROR=ON \
    -DKELVANE_TSAN=ON -DCMAKE_DISABLE_FIND_PACKAGE_benchmark=ON >/dev/null
  "${norandom[@]}" cmake --build build-tsan -j "$jobs"
  (cd build-tsan && TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1:suppressions=$root/tests/tsan.supp" \
     "${norandom[@]}" ctest --output-on-failure --timeout 900 -j "$jobs")
fi
