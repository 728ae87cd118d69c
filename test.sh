#!/usr/bin/env bash
# Builds the suite and runs every test with CTest.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
scripts/build.sh build -DCMAKE_BUILD_TYPE=Release -DKELVO_WERROR=ON
cd build && ctest --output-on-failure --parallel "$(nproc)" "$@"
