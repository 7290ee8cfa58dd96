#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package from a built tree and checks it as Debian's tools would:
#   check_package.sh CPACK BUILD_DIR WORK_DIR EXPECTED_FILES VERSION
# the file list against EXPECTED_FILES, the control fields, no search path in the
# programs, lintian without errors, the metainfo and desktop entry, both manual pages.
# Exits with 77 (the test is skipped) where one of the tools is missing.
set -euo pipefail
cpack=$1 build=$2 work=$3 expected=$4 version=$5

missing=()
for tool in dpkg-deb dpkg-shlibdeps file readelf lintian appstreamcli desktop-file-validate \
            man gzip rsvg-convert; do
  command -v "$tool" >/dev/null || missing+=("$tool")
done
if [ ${#missing[@]} -ne 0 ]; then
  echo "skipped: the package check needs ${missing[*]}" \
       "(Debian: dpkg-dev file lintian appstream desktop-file-utils man-db librsvg2-bin)"
  exit 77
fi

failures=0
fail() {
  echo "FAILED: $*"
  failures=$((failures + 1))
}

rm -rf "$work"
mkdir -p "$work"
if ! "$cpack" --config "$build/CPackConfig.cmake" -G DEB -B "$work" >"$work/cpack.log" 2>&1; then
  cat "$work/cpack.log"
  echo "FAILED: cpack could not build the package"
  exit 1
fi
debs=("$work"/zentu_"$version"_*.deb)
deb=${debs[0]}
if [ ! -f "$deb" ]; then
  cat "$work/cpack.log"
  echo "FAILED: no zentu_${version}_*.deb in $work"
  exit 1
fi
echo "== $(basename "$deb"): $(stat -c %s "$deb") bytes"

echo "== files"
dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $6 }' | LC_ALL=C sort >"$work/files.txt"
diff -u "$expected" "$work/files.txt" || fail "the package's files differ from $expected"

echo "== control fields"
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = zentu ] || fail "Package is '$(field Package)'"
[ "$(field Version)" = "$version" ] || fail "Version is '$(field Version)', not $version"
[ "$(field Section)" = math ] || fail "Section is '$(field Section)'"
depends=$(field Depends)
echo "Depends: $depends"
# The fonts and translations are named by hand; the Qt and C++ libraries come from
# dpkg-shlibdeps, so their presence shows that it ran.
for dep in fonts-dejavu-core fonts-liberation2 fonts-comfortaa \
           qt6-translations-l10n libqt6widgets6 libstdc++6 libc6; do
  grep -qF ", $dep " <<<", ${depends//,/ ,} " || fail "Depends lacks $dep"
done

dpkg-deb -x "$deb" "$work/root"
root=$work/root

echo "== programs"
for program in zentu zentu-cli; do
  if readelf -d "$root/usr/bin/$program" | grep -E 'RPATH|RUNPATH'; then
    fail "$program carries a library search path"
  fi
done
answer=$(printf '2+sin(0)\n' | "$root/usr/bin/zentu-cli")
[ "$answer" = "2+sin(0)=2" ] || fail "the packaged zentu-cli answered '$answer'"

echo "== lintian"
# Lintian exits non-zero when it finds an error; warnings are shown and pass.
lintian --display-info "$deb" || fail "lintian reports errors"

echo "== AppStream"
appstreamcli validate --no-net "$root"/usr/share/metainfo/*.metainfo.xml ||
  fail "the metainfo does not validate"
# The tree as software centres read it: metainfo, launchable desktop entry and icon.
appstreamcli validate-tree --no-net "$root" || fail "the installed tree does not validate"
grep -q "<release version=\"$version\"" "$root"/usr/share/metainfo/*.metainfo.xml ||
  fail "the metainfo has no release $version"

echo "== desktop entry"
for entry in "$root"/usr/share/applications/*.desktop; do
  report=$(desktop-file-validate "$entry" 2>&1)
  [ -z "$report" ] || fail "desktop-file-validate: $report"
done

echo "== manual pages"
for page in zentu zentu-cli; do
  file=$root/usr/share/man/man1/$page.1.gz
  if [ ! -f "$file" ]; then
    fail "no manual page $page.1.gz"
    continue
  fi
  # The same formatting run as lintian's: any message from groff is a fault of the page.
  messages=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 \
             man --warnings -E UTF-8 -l -Tutf8 -Z "$file" 2>&1 >/dev/null)
  [ -z "$messages" ] || fail "man -l $page.1.gz: $messages"
  text=$(LC_ALL=C MANWIDTH=80 man -l "$file" 2>/dev/null)
  grep -qE "^ +$page +- " <<<"$text" || fail "$page.1.gz has no NAME line for $page"
done

echo "== changelog"
top=$(gzip -dc "$root/usr/share/doc/zentu/changelog.gz" | head -n 1)
[[ "$top" == "zentu ($version) "* ]] ||
  fail "the changelog's newest entry is '$top', not version $version"

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed"
  exit 1
fi
echo "the package passes"
