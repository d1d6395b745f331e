#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test:
# first a normal build, then the same suite under AddressSanitizer and UBSan in a Debug build, so
# the assertions on programmer mistakes fire as well.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/deps.sh

export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
jobs=${JOBS:-2}

build() {  # build dir, build type, extra cmake args...
  local dir=$1 type=$2; shift 2
  cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE="$type" -DKELVANE_WERROR=ON "$@" >/dev/null
  cmake --build "$dir" -j "$jobs"
}

build build RelWithDebInfo
(cd build && ctest --output-on-failure --timeout 600 -j "$jobs")

if [[ "${KELVANE_SKIP_SANITIZERS:-0}" != 1 ]]; then
  build build-asan Debug -DKELVANE_SANITIZE=ON
  (cd build-asan && ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
     ctest --output-on-failure --timeout 600 -j "$jobs")
fi
