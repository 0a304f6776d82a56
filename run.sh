#!/usr/bin/env bash
# Builds kelt in Release and starts it; an optional argument is a .klt file to open.
set -euo pipefail
cd "$(dirname "$0")"
tools/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j"$(nproc)"
exec build/src/kelt "$@"
