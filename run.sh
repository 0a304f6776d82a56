#!/usr/bin/env bash
# Builds kelt in Release and starts it; an optional argument is a .klt file to open.
# The caller's folder stays the current one, so a relative path names the file meant.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
"$here/tools/install-deps.sh"
cmake -S "$here" -B "$here/build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$here/build" -j"$(nproc)"
exec "$here/build/src/kelt" "$@"
