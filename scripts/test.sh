#!/usr/bin/env bash
# Sets up, builds and runs the whole test suite under Qt's offscreen platform.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build_dir="${CHENFAN_BUILD_DIR:-$root/build}"
bash "$root/scripts/build.sh"
export QT_QPA_PLATFORM=offscreen
# No test may ever power a machine off; the real power-off refuses while this is set.
export CHENFAN_FORBID_POWER_OFF=1
export QTEST_FUNCTION_TIMEOUT="${QTEST_FUNCTION_TIMEOUT:-600000}"
cd "$build_dir"
ctest --output-on-failure --timeout 900 "$@"
