#!/usr/bin/env bash
# Builds the program and runs the engine benchmark against the ffmpeg program.
# Arguments go to the benchmark: --rounds N (default 3), --work DIR (default /tmp/chenfan-bench).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build_dir="${CHENFAN_BUILD_DIR:-$root/build}"
CMAKE_BUILD_TYPE="${CMAKE_BUILD_TYPE:-Release}" bash "$root/scripts/build.sh"
"$build_dir/chenfan_bench" "$@"
