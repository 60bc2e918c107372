#!/usr/bin/env bash
# Set-up and build only: installs missing Debian packages, configures and builds in build/.
# Leaves build/chenfan (the window program) and build/chenfan-cli (the command-line converter).
# Extra arguments are passed to CMake's configure step (e.g. -DCHENFAN_SANITIZE=address).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build_dir="${CHENFAN_BUILD_DIR:-$root/build}"

bash "$root/scripts/deps.sh"

if [ ! -f "$build_dir/CMakeCache.txt" ] || [ $# -gt 0 ]; then
    cmake -S "$root" -B "$build_dir" -DCMAKE_BUILD_TYPE="${CMAKE_BUILD_TYPE:-RelWithDebInfo}" "$@"
fi
cmake --build "$build_dir" --parallel "$(nproc)"
