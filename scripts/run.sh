#!/usr/bin/env bash
# Sets up, builds and starts 晨帆FLV视频转换器. Files named here are added to the list.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
bash "$root/scripts/build.sh"
exec "${CHENFAN_BUILD_DIR:-$root/build}/chenfan" "$@"
