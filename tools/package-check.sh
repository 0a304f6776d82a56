#!/usr/bin/env bash
# Builds the Debian package and checks it as an administrator would: lintian clean of errors and
# warnings, the AppStream metadata valid, installed with apt, a .klt known to open in kelt, and
# removed with nothing left behind. Run as root on a Debian 12 machine you may install on.
#   tools/package-check.sh [build-dir]   (default build-package)
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build-package}
"$here/tools/install-deps.sh"
export DEBIAN_FRONTEND=noninteractive
for p in lintian appstream xdg-utils desktop-file-utils shared-mime-info; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" ||
    apt-get install -y -qq --no-install-recommends "$p" >/dev/null
done

cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j"$(nproc)"
(cd "$build" && rm -f kelt_*.deb && cpack -G DEB >/dev/null)
deb=$(realpath "$build"/kelt_*.deb)
echo "== $deb"

echo "== lintian"
lintian --fail-on error,warning "$deb"
echo "== appstreamcli"
appstreamcli validate --no-net "$here"/resources/desktop/*.metainfo.xml

echo "== install"
apt-get install -y -qq --no-install-recommends "$deb" >/dev/null
files=$(dpkg -L kelt | while read -r f; do [ -f "$f" ] && echo "$f"; done)
test -x /usr/bin/kelt
default=$(XDG_DATA_DIRS=/usr/share xdg-mime query default application/x-kelt)
[ "$default" = kelt.desktop ] || { echo "a .klt opens in '$default', not kelt"; exit 1; }
# dpkg's trigger has put *.klt in the desktop's file-type database.
grep -q '^[0-9]*:application/x-kelt:\*\.klt$' /usr/share/mime/globs2 ||
  { echo "*.klt is not known as application/x-kelt"; exit 1; }
dpkg -L kelt | grep '/man1/kelt\.1\.gz$' >/dev/null || { echo "no manual page in the package"; exit 1; }

echo "== remove"
apt-get purge -y -qq kelt >/dev/null
left=$(for f in $files; do [ -e "$f" ] && echo "$f"; done || true)
[ -z "$left" ] || { echo "left behind:"; echo "$left"; exit 1; }
echo "== the package installs, opens .klt files in kelt, and leaves nothing behind"
