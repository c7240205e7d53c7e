#!/usr/bin/env bash
# Installs what is missing, builds into build/ and runs the whole suite.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/common.sh
# The tests read the printed page back with Poppler's tools, and drive the
# real USB backend against an FTDI chip emulated in user space (umockdev).
ROVANEL_PACKAGES+=(poppler-utils umockdev libumockdev-dev)
ensure_packages
build_into build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DROVANEL_WERROR=ON
cd build
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$(nproc)"
