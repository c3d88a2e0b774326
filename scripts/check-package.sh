#!/usr/bin/env bash
# Builds the Debian package, unpacks it into a temporary root and checks what
# it installs: the files, the desktop file, the AppStream metainfo, the man
# pages, the completion script, and the installed zmp318t-cli running with the
# installed language file.
#   scripts/check-package.sh [BUILD_DIR]
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
deb="$("$here/scripts/build-package.sh" "${1:-build/release}")"
deb="$(cd "$here" && realpath "$deb")"
root="$(mktemp -d)"
trap 'rm -rf "$root"' EXIT
fail() { echo "check-package: $*" >&2; exit 1; }

depends="$(dpkg-deb -f "$deb" Depends)"
echo "Depends: $depends"
for lib in libc6 libstdc++6 libqt6widgets6 libqt6svg6; do
  [[ "$depends" == *"$lib"* ]] || fail "the package does not depend on $lib"
done

dpkg -x "$deb" "$root"
for f in usr/bin/zmp318t usr/bin/zmp318t-cli usr/bin/zmp318t-sim \
         usr/share/zmp318t/zmp318t.lng \
         usr/share/zmp318t/help/en/index.html \
         usr/share/zmp318t/help/en/reference/channel-edit.html \
         usr/share/zmp318t/help/en/reference/channel-information.html \
         usr/share/applications/com.velmora.zmp318t.desktop \
         usr/share/metainfo/com.velmora.zmp318t.metainfo.xml \
         usr/share/icons/hicolor/scalable/apps/zmp318t.svg \
         usr/share/man/man1/zmp318t.1.gz usr/share/man/man1/zmp318t-cli.1.gz usr/share/man/man1/zmp318t-sim.1.gz \
         usr/lib/udev/rules.d/60-zmp318t.rules \
         usr/share/bash-completion/completions/zmp318t-cli; do
  [ -e "$root/$f" ] || fail "the package does not install /$f"
done
[ -z "$(find "$root" -name '.stamp')" ] || fail "the package carries a build stamp"

desktop-file-validate "$root/usr/share/applications/com.velmora.zmp318t.desktop"
appstreamcli validate --no-net "$root/usr/share/metainfo/com.velmora.zmp318t.metainfo.xml" >/dev/null
for page in "$root"/usr/share/man/man1/*.1.gz; do
  warnings="$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)"
  [ -z "$warnings" ] || fail "$(basename "$page"): $warnings"
done
bash -n "$root/usr/share/bash-completion/completions/zmp318t-cli"

# The installed tool finds the installed language file (../share/zmp318t from itself).
work="$root/work"
mkdir "$work"
"$root/usr/bin/zmp318t-cli" new --model 2 -o "$work/site.dat" >/dev/null
info="$("$root/usr/bin/zmp318t-cli" info "$work/site.dat")"
echo "$info"
[[ "$info" == *"The checksum is correct."* ]] || fail "zmp318t-cli info did not read the installed language file"
mv "$root/usr/share/zmp318t/zmp318t.lng" "$root/usr/share/zmp318t/moved.lng"
if [ ! -e /usr/share/zmp318t/zmp318t.lng ] && "$root/usr/bin/zmp318t-cli" info "$work/site.dat" >/dev/null 2>&1; then
  fail "zmp318t-cli ran without its language file"
fi
echo "check-package: $(basename "$deb") installs $(dpkg-deb -c "$deb" | grep -vc '/$') files; all checks passed"
