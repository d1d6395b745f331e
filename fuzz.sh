#!/usr/bin/env bash
# Builds every fuzz target with clang's libFuzzer (and AddressSanitizer and UBSan) and fuzzes each
# for the given number of seconds (default 60), one after the other. New inputs that reach new
# code are merged into the target's corpus under fuzz/corpus/<name>/; a crash stops the run with
# the crashing input left in build-fuzz/<name>-artifacts/. Usage: ./fuzz.sh [seconds] [target...]
set -euo pipefail
cd "$(dirname "$0")"
seconds=${1:-60}
shift || true

./scripts/deps.sh
need=()
for p in clang libclang-rt-14-dev; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || need+=("$p")
done
if ((${#need[@]})); then
  sudo=""
  [[ $(id -u) -eq 0 ]] || sudo="sudo"
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${need[@]}"
fi

cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKELVANE_FUZZ=ON \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
targets=("$@")
if ((${#targets[@]} == 0)); then
  for f in fuzz/*.cpp; do targets+=("$(basename "$f" .cpp)"); done
fi
cmake --build build-fuzz -j "${JOBS:-2}" --target "${targets[@]/#/fuzz_}"

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
for t in "${targets[@]}"; do
  corpus=fuzz/corpus/$t
  fresh=build-fuzz/$t-new
  artifacts=build-fuzz/$t-artifacts
  mkdir -p "$corpus" "$fresh" "$artifacts"
  dict=()
  [[ -f fuzz/$t.dict ]] && dict=("-dict=fuzz/$t.dict")
  echo "== $t: ${seconds}s"
  ./build-fuzz/fuzz_"$t" "${dict[@]}" -max_total_time="$seconds" -print_final_stats=1 \
    -artifact_prefix="$artifacts/" "$fresh" "$corpus" 2>&1 | tail -n 12
  # Keep only what adds coverage to the checked-in corpus.
  ./build-fuzz/fuzz_"$t" "${dict[@]}" -merge=1 "$corpus" "$fresh" >/dev/null 2>&1
  rm -rf "$fresh"
done
