#!/usr/bin/env bash
# Installs what is missing, builds into build/ and runs the whole suite.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/common.sh
ensure_packages
build_into build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DROVANEL_WERROR=ON
cd build
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$(nproc)"
