# Shared by run.sh, test.sh and CI: install what is missing (Debian 12),
# then configure and build into the given folder.
# ROVANEL_NO_APT=1 skips apt: the missing packages are named instead.

ROVANEL_PACKAGES=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-svg-dev libgl-dev libftdi1-dev
  libgtest-dev libgmock-dev libbenchmark-dev libfftw3-dev
  xvfb xauth fonts-dejavu-core imagemagick qt6-translations-l10n
)

# What makes and checks the Debian package: dpkg-shlibdeps, the validators,
# udev's pkg-config file (where the rule goes), the MIME database and gio.
ROVANEL_DEB_PACKAGES=(
  dpkg-dev fakeroot file desktop-file-utils appstream lintian
  shared-mime-info libglib2.0-bin udev
)

ensure_packages() {
  local missing=()
  for p in "${ROVANEL_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  if [ "${ROVANEL_NO_APT:-0}" = 1 ]; then
    echo "ROVANEL_NO_APT=1: not installing. Missing Debian packages: ${missing[*]}" >&2
    echo "The build may fail without them." >&2
    return 0
  fi
  echo "Installing: ${missing[*]}"
  local sudo=()
  [ "$(id -u)" -ne 0 ] && sudo=(sudo)
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq "${missing[@]}"
}

build_into() {
  local dir=$1
  shift
  cmake -S . -B "$dir" -G Ninja "$@"
  cmake --build "$dir" -j "$(nproc)"
}
