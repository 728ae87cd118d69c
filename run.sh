#!/usr/bin/env bash
# Builds the suite and renders the built-in demo through the Tolvar unit.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
scripts/build.sh build -DCMAKE_BUILD_TYPE=Release
mkdir -p build/out
build/bin/kelvo-render --json tolvar build/out/tolvar-demo.wav
echo "Rendered the demo through KelvoTolvar: $(pwd)/build/out/tolvar-demo.wav"
