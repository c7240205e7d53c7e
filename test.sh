#!/usr/bin/env bash
# Installs what is missing, builds into build/ and runs the whole suite.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/common.sh
# The tests read the printed page back with Poppler's tools, and drive the
# real USB backend against an FTDI chip emulated in user space (umockdev);
# clang-tidy checks the sources; rsvg-convert renders the SVG export.
ROVANEL_PACKAGES+=(poppler-utils umockdev libumockdev-dev clang-tidy librsvg2-bin)
# LibreOffice reads the CSV export back in a French and an English locale
# (about half a minute); its install is large, so it is asked for with
# ROVANEL_WITH_LIBREOFFICE=1, and the test skips without it.
[ "${ROVANEL_WITH_LIBREOFFICE:-0}" = 1 ] && ROVANEL_PACKAGES+=(libreoffice-calc-nogui)
# ROVANEL_DEB=1 also builds the Debian package and checks it (the tests of
# label "package"), with the tools a packager uses.
labels=(-LE package)
if [ "${ROVANEL_DEB:-0}" = 1 ]; then
  ROVANEL_PACKAGES+=("${ROVANEL_DEB_PACKAGES[@]}")
  labels=()
fi
ensure_packages
build_into build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DROVANEL_WERROR=ON
(cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$(nproc)" "${labels[@]}")
# The checks of .clang-tidy over the program's own sources, when the tool is there.
if command -v run-clang-tidy >/dev/null 2>&1; then
  echo "clang-tidy: checking src/"
  run-clang-tidy -p build -j "$(nproc)" -quiet "$PWD/src/" >build/clang-tidy.log 2>&1 ||
    { grep -E "(warning|error):" build/clang-tidy.log | sort -u; exit 1; }
  echo "clang-tidy: no finding"
fi
