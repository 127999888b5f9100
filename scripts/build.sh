#!/usr/bin/env bash
# Configures and builds one build tree: build/ (normal) or build-asan/ (--sanitize).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/deps.sh"
dir="$root/build"; flags=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
if [ "${1:-}" = "--sanitize" ]; then
  dir="$root/build-asan"; flags=(-DCMAKE_BUILD_TYPE=Debug -DTZ4_SANITIZE=ON -DTZ4_BUILD_BENCH=OFF)
fi
# ccache, where installed, lets several work trees share one compile cache.
command -v ccache >/dev/null && flags+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S "$root" -B "$dir" -G Ninja "${flags[@]}" >/dev/null
cmake --build "$dir" -j"$(nproc)"
echo "$dir"
