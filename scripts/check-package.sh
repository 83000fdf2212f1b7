#!/usr/bin/env bash
# Checks the Debian package that scripts/package.sh made:
#
#   bash scripts/check-package.sh [DEB]     (default build/package/tarvolin_VERSION_amd64.deb)
#
# - its control fields, and the run-time dependencies dpkg-shlibdeps found
#   (Qt's and the system's libraries, each with its least version);
# - its file list: every file it must hold, nothing outside /usr;
# - the desktop entry, the AppStream metadata and the MIME types, with the
#   freedesktop tools;
# - the manual pages and the bash completion, against the packaged program;
# - the programs themselves, unpacked into a folder and run from there and
#   from a copy (tests/packaging/installed_test.sh).
# Each failure prints a line; the status is 1 when any check fails.
set -uo pipefail
cd "$(dirname "$0")/.." || exit 1

version=$(sed -n 's/^project(Tarvolin VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
deb=${1:-build/package/tarvolin_${version}_amd64.deb}
[ -f "$deb" ] || { echo "FAIL: there is no package $deb (make it with scripts/package.sh)"; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# Control fields.
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = tarvolin ] || fail "Package is $(field Package)"
[ "$(field Version)" = "$version" ] || fail "Version is $(field Version), the project's is $version"
[ "$(field Architecture)" = amd64 ] || fail "Architecture is $(field Architecture)"
[ "$(field Section)" = science ] || fail "Section is $(field Section)"
[ -n "$(field Maintainer)" ] || fail "no Maintainer"
field Recommends | tr ',' '\n' | sed 's/^ *//' | grep -qx bash-completion ||
  fail "Recommends lacks bash-completion, which the Tab completion needs: $(field Recommends)"
depends=$(field Depends)
for library in libqt6core6 libqt6gui6 libqt6widgets6 libqt6svg6 libc6 libstdc++6 libgcc-s1; do
  echo "$depends" | tr ',' '\n' | sed 's/^ *//' | grep -qF "$library (>= " ||
    fail "Depends lacks $library with its version: $depends"
done

# The file list.
dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./|/|' >"$work/files"
outside=$(grep -v '^/usr/' "$work/files" | grep -v '^/$')
[ -z "$outside" ] || fail "files outside /usr: $outside"
for f in /usr/bin/tarvolin /usr/bin/tarvolin-cli /usr/lib/tarvolin/tarvolin-picture.so \
  /usr/share/tarvolin/figures/Tarvolin.fig /usr/share/tarvolin/figures/Tarvolin2D.fig \
  /usr/share/tarvolin/org.tarvolin.Tarvolin.svg \
  /usr/share/tarvolin/examples/skulls_zor.txt /usr/share/tarvolin/examples/session3d.txt \
  /usr/share/applications/org.tarvolin.Tarvolin.desktop \
  /usr/share/icons/hicolor/scalable/apps/org.tarvolin.Tarvolin.svg \
  /usr/share/metainfo/org.tarvolin.Tarvolin.metainfo.xml \
  /usr/share/mime/packages/org.tarvolin.Tarvolin.xml \
  /usr/share/man/man1/tarvolin.1.gz /usr/share/man/man1/tarvolin-cli.1.gz \
  /usr/share/bash-completion/completions/tarvolin-cli \
  /usr/share/doc/tarvolin/copyright /usr/share/doc/tarvolin/guide.md \
  /usr/share/doc/tarvolin/reference.md \
  /usr/share/doc/tarvolin/CHANGELOG.md /usr/share/doc/tarvolin/screenshots/main-window.png; do
  grep -qx "$f" "$work/files" || fail "the package lacks $f"
done
grep -Eq '(CMakeLists\.txt|\.cpp|/build/)' "$work/files" && fail "the package holds build files"

dpkg-deb -x "$deb" "$work/root"
usr=$work/root/usr

# Desktop entry, AppStream metadata, MIME types.
desktop-file-validate "$usr/share/applications/org.tarvolin.Tarvolin.desktop" >"$work/desktop.log" 2>&1 ||
  fail "desktop-file-validate: $(cat "$work/desktop.log")"
grep -q "error:\|warning:" "$work/desktop.log" && fail "desktop-file-validate: $(cat "$work/desktop.log")"
appstreamcli validate --no-net "$usr/share/metainfo/org.tarvolin.Tarvolin.metainfo.xml" \
  >"$work/appstream.log" 2>&1 || fail "appstreamcli validate: $(cat "$work/appstream.log")"
grep -q "release version=\"$version\"" "$usr/share/metainfo/org.tarvolin.Tarvolin.metainfo.xml" ||
  fail "the AppStream metadata does not name release $version"
mkdir -p "$work/mime/packages"
cp "$usr/share/mime/packages/org.tarvolin.Tarvolin.xml" /usr/share/mime/packages/freedesktop.org.xml \
  "$work/mime/packages/"
update-mime-database "$work/mime" >"$work/mime.log" 2>&1 || fail "update-mime-database: $(cat "$work/mime.log")"
[ -s "$work/mime/text/x-tps-landmarks.xml" ] || fail "the MIME type text/x-tps-landmarks is not made"
for type in $(sed -n 's/^MimeType=//p' "$usr/share/applications/org.tarvolin.Tarvolin.desktop" | tr ';' ' '); do
  [ -s "$work/mime/$type.xml" ] || fail "the desktop entry names the unknown MIME type $type"
  case $type in
  text/plain | text/csv) fail "the desktop entry offers Tarvolin for every $type file" ;;
  esac
done
main=$(sed -n 's/^Categories=//p' "$usr/share/applications/org.tarvolin.Tarvolin.desktop" | tr ';' '\n' |
  grep -cxE 'AudioVideo|Audio|Video|Development|Education|Game|Graphics|Network|Office|Science|Settings|System|Utility')
[ "$main" -eq 1 ] || fail "the desktop entry has $main main categories, not one"

# Manual pages and completion, against the packaged program.
mkdir -p "$work/man"
for page in tarvolin tarvolin-cli; do
  gzip -dc "$usr/share/man/man1/$page.1.gz" >"$work/man/$page.1" || fail "$page.1.gz does not unpack"
done
bash tests/packaging/manpages_test.sh "$work/man" "$usr/bin/tarvolin-cli" || fail "the manual pages"
bash tests/packaging/completion_test.sh "$usr/share/bash-completion/completions/tarvolin-cli" \
  "$usr/bin/tarvolin-cli" || fail "the bash completion"

# The programs.
bash tests/packaging/installed_test.sh "$usr" "$version" || fail "the packaged programs"

if [ "$failures" -eq 0 ]; then
  echo "$deb: every check passed"
  exit 0
fi
exit 1
