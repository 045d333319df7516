#!/usr/bin/env bash
# Draws every picture of the user guide anew into docs/images, from the real
# program running headless. Builds only the picture generator, in the given
# build folder (default: build/default, configured with the default preset if
# it does not exist yet).
#
#   tools/screenshots/regenerate.sh [build folder]
set -euo pipefail
cd "$(dirname "$0")/../.."

build=${1:-build/default}
if [ ! -f "$build/CMakeCache.txt" ]; then
    if [ "$build" = build/default ]; then
        cmake --preset default
    else
        cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
    fi
fi
cmake --build "$build" --target velmora_screenshots --parallel "$(nproc 2>/dev/null || echo 2)"

# Pictures that the generator no longer draws must not linger.
rm -f docs/images/*.png
"$build/tools/screenshots/velmora_screenshots" docs/images
