#!/usr/bin/env bash
# Installs the build under a scratch prefix and starts the installed program on a scratch home:
# it must find its data beside its own folder. Then the launcher, the AppStream entry and the
# Debian package are validated with Debian's own checkers.
set -euo pipefail
build=$1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

cmake --install "$build" --prefix "$scratch/prefix" >/dev/null
mkdir "$scratch/home"
HOME=$scratch/home XDG_DATA_HOME= XDG_CONFIG_HOME= "$scratch/prefix/bin/pellor3" --version
status=0
HOME=$scratch/home XDG_DATA_HOME= XDG_CONFIG_HOME= QT_QPA_PLATFORM=offscreen \
    "$scratch/prefix/bin/pellor3" --check-addresses >/dev/null 2>&1 || status=$?
# Nothing is marked in a fresh book, so the check cannot run (1); the installation must be there.
[ "$status" -eq 1 ]
for laid_out in Data/paper.cfg Data/zip/zip.dat Data/DB/pellor3.db; do
    [ -s "$scratch/home/.local/share/pellor3/$laid_out" ] || { echo "missing $laid_out"; exit 1; }
done
zcat "$scratch/prefix/share/man/man1/pellor3.1.gz" | grep -qF 'print\-addresses'

share=$scratch/prefix/share
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$share/applications/jp.brisko.Pellor3.desktop"
else
    echo "desktop-file-validate not installed: launcher not validated"
fi
if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net "$share/metainfo/jp.brisko.Pellor3.metainfo.xml" >/dev/null
else
    echo "appstreamcli not installed: AppStream entry not validated"
fi
if command -v lintian >/dev/null && command -v dpkg-shlibdeps >/dev/null; then
    (cd "$build" && cpack -G DEB -B "$scratch/package" >/dev/null)
    deb=$(ls "$scratch"/package/pellor3_*.deb)
    # Errors and warnings fail; notes for information do not.
    lintian --fail-on error,warning "$deb"
else
    echo "lintian or dpkg-shlibdeps not installed: package not checked"
fi
