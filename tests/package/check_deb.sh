#!/usr/bin/env bash
# Builds the Debian package from a built tree and checks it as a packager
# would: the desktop entry, the AppStream data, lintian, the contents, and
# the programs run from the unpacked tree (and, with ROVANEL_DEB_INSTALL=1 on
# a disposable machine, from a real installation).
#   check_deb.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
work=$build/package-check
rm -rf "$work"
mkdir -p "$work"
fail() { echo "FAIL: $*" >&2; exit 1; }
step() { echo "== $*"; }

step "cpack -G DEB"
(cd "$build" && cpack -G DEB -B "$work/out" >"$work/cpack.log" 2>&1) || { cat "$work/cpack.log"; fail "cpack"; }
deb=$(ls "$work"/out/rovanel_*.deb)
echo "$deb"
dpkg-deb -f "$deb" Package Version Architecture Maintainer Depends Recommends Section

step "contents"
dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./|/|' | grep -v '/$' | tee "$work/contents.txt"
udev_rules=$(awk -F'ROVANEL_UDEV_RULES_DIR:PATH=' 'NF>1{print $2}' "$build/CMakeCache.txt")
for f in /usr/bin/rovanel /usr/bin/rovanel-cli /usr/share/rovanel/RESC0002.UO /usr/share/rovanel/resc0001.uo \
    /usr/share/rovanel/lamp_lines_nm.csv /usr/share/rovanel/cie1931_2deg_5nm.csv \
    /usr/share/applications/org.rovanel.Rovanel.desktop /usr/share/metainfo/org.rovanel.Rovanel.metainfo.xml \
    /usr/share/mime/packages/org.rovanel.Rovanel.xml /usr/share/icons/hicolor/scalable/apps/org.rovanel.Rovanel.svg \
    /usr/share/icons/hicolor/48x48/apps/org.rovanel.Rovanel.png /usr/share/icons/hicolor/256x256/apps/org.rovanel.Rovanel.png \
    /usr/share/icons/hicolor/scalable/mimetypes/application-x-rovanel-profile.svg \
    /usr/share/icons/hicolor/scalable/mimetypes/application-x-rovanel-series.svg \
    /usr/share/man/man1/rovanel.1.gz /usr/share/man/man1/rovanel-cli.1.gz \
    /usr/share/doc/rovanel/copyright /usr/share/doc/rovanel/changelog.gz \
    "$udev_rules/60-rovanel-box.rules"; do
  grep -qx -- "$f" "$work/contents.txt" || fail "the package lacks $f"
done
grep -q '^/usr/share/rovanel/help/' "$work/contents.txt" || fail "the package lacks the help pages"
n=$(basename "$udev_rules/60-rovanel-box.rules" | cut -c1-2)
[ "$n" -lt 73 ] || fail "the udev rule's number $n comes after 73-seat-late.rules: uaccess would be missed"
dpkg-deb -I "$deb" postinst | grep -q "udevadm trigger" || fail "the postinst does not trigger udev"

step "unpacked into a throw-away root"
root=$work/root
dpkg -x "$deb" "$root"
touch "$work/stamp"
sleep 1
desktop-file-validate "$root/usr/share/applications/org.rovanel.Rovanel.desktop"
appstreamcli validate --no-net "$root/usr/share/metainfo/org.rovanel.Rovanel.metainfo.xml"
grep -q '^Exec=rovanel %f$' "$root/usr/share/applications/org.rovanel.Rovanel.desktop" || fail "Exec"

# The programs as installed: their resources from ../share/rovanel, the
# user's files in the XDG data folder, nothing written below usr/.
home=$work/home
mkdir -p "$home"
run() { env -u ROVANEL_HOME -u ROVANEL_BOX HOME="$home" XDG_DATA_HOME="$home/data" QT_QPA_PLATFORM=offscreen "$@"; }
version=$(run "$root/usr/bin/rovanel-cli" --version)
[ "$version" = "rovanel-cli $(dpkg-deb -f "$deb" Version)" ] || fail "rovanel-cli --version said '$version'"
echo "$version"
run "$root/usr/bin/rovanel-cli" --box sim click:acquisition dump:RawBuf >"$work/raw.txt" 2>"$work/raw.err" ||
  { cat "$work/raw.err"; fail "the unpacked rovanel-cli failed"; }
[ "$(wc -l <"$work/raw.txt")" -eq 2048 ] || fail "dump:RawBuf gave $(wc -l <"$work/raw.txt") lines, not 2048"
if grep -E "missing|manque|fehlt|ID_MES_ERR" "$work/raw.err"; then fail "a shipped file was not found"; fi
run "$root/usr/bin/rovanel-cli" --box sim --lang 2 click:acquisition save:"$home/slit.CCD" 2>/dev/null
run "$root/usr/bin/rovanel-cli" --box none "$home/slit.CCD" dump:FileNom | grep -qx "$home/slit.CCD" ||
  fail "rovanel-cli FILE did not open the file"
changed=$(find "$root" -newer "$work/stamp" ! -type d)
[ -z "$changed" ] || fail "written below the installed tree: $changed"

# The MIME types as a desktop reads them: by extension in any case, and by
# the magic bytes of a file without one.
if command -v update-mime-database >/dev/null && command -v gio >/dev/null; then
  mime=$work/mime
  mkdir -p "$mime/mime/packages"
  cp "$root/usr/share/mime/packages/org.rovanel.Rovanel.xml" "$mime/mime/packages/"
  XDG_DATA_HOME="$mime" update-mime-database "$mime/mime"
  cp "$home/slit.CCD" "$home/lower.ccd"
  cp "$home/slit.CCD" "$home/noext"
  run "$root/usr/bin/rovanel-cli" --box sim --scene michelson click:mi set:InterAcc=1 click:startmi \
    save:"$home/series.Cct" 2>/dev/null
  for f in slit.CCD:profile lower.ccd:profile series.Cct:series noext:; do
    file=${f%%:*} want=${f#*:}
    got=$(XDG_DATA_HOME="$mime" XDG_DATA_DIRS="$mime:/usr/share" gio info -a standard::content-type "$home/$file" |
      sed -n 's/.*standard::content-type: //p')
    echo "$file: $got"
    case "$got" in application/x-rovanel-${want}*) ;; *) fail "$file is '$got'" ;; esac
  done
fi

step "lintian"
# Errors fail; the warnings are printed for the record.
lintian --fail-on error --tag-display-limit 0 "$deb" | tee "$work/lintian.txt" ||
  fail "lintian found errors"

if [ "${ROVANEL_DEB_INSTALL:-0}" = 1 ]; then
  step "dpkg -i (disposable machine)"
  sudo=()
  [ "$(id -u)" -ne 0 ] && sudo=(sudo)
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq "$deb" >/dev/null
  run /usr/bin/rovanel-cli --version
  run rovanel-cli --box sim click:acquisition dump:RawBuf | wc -l | grep -qx 2048 || fail "installed rovanel-cli"
  [ -f "$udev_rules/60-rovanel-box.rules" ] || fail "the udev rule is not installed"
  # dpkg's trigger has updated the system's MIME database.
  if command -v gio >/dev/null; then
    gio info -a standard::content-type "$home/lower.ccd" | grep -q "application/x-rovanel-profile" ||
      fail "the installed MIME types do not name a .ccd"
  fi
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get purge -y -qq rovanel >/dev/null
  [ ! -e /usr/bin/rovanel ] || fail "rovanel is left after the purge"
fi
echo "package: all checks passed"
