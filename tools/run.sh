#!/usr/bin/env bash
# Installs what is missing, builds Tarnis and starts it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/install-deps.sh"
cmake -S "$root" -B "$root/build/release" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DTARNIS_BUILD_TESTS=OFF >/dev/null
cmake --build "$root/build/release" --target tarnis
exec "$root/build/release/tarnis"
