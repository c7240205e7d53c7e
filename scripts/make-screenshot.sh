#!/usr/bin/env bash
# Makes the README's picture again from the program as it is: the English
# window on the simulated box, the spectrometer on its mercury lamp with
# the spectral colours under the curve. Needs a build in build/ and Xvfb.
# Usage: scripts/make-screenshot.sh [OUTPUT.png]   (default docs/screenshot.png)
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-docs/screenshot.png}
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
# A home of its own: no configuration of the user's is read or written.
ROVANEL_HOME=$home xvfb-run -a -s "-screen 0 1280x800x24" \
  build/bin/rovanel --box sim --scene lamp --lang 2 --screenshot "$out" \
  click:spectro click:acquisition click:spColor set:PeakProminence=5 click:pics click:picd click:picd
echo "$out"
