#!/usr/bin/env bash
# Builds the Debian package, validates its desktop entry and AppStream metadata, runs lintian, and,
# when it may install packages (root), installs it with dpkg, checks the installed files and
# permissions, runs the installed programs (a report through pqdesk-cli, pqdesk up to its login
# window under Xvfb), removes it (the user database stays) and purges it (the database goes).
# Leaves the machine without the package.
# Usage: scripts/package-test.sh [--built | scripts/package.sh's arguments]
#   --built  tests the package an earlier scripts/package.sh left in build-pkg/ (scripts/test.sh)
set -euo pipefail
cd "$(dirname "$0")/.."
fail() { echo "package-test: FAILED: $*" >&2; exit 1; }
check() { local what=$1; shift; "$@" || fail "$what"; }

desktop-file-validate packaging/org.pqdesk.PQDesk.desktop
appstreamcli validate --no-net packaging/org.pqdesk.PQDesk.metainfo.xml >/dev/null

if [ "${1:-}" = --built ]; then
  shift
else
  bash scripts/package.sh "$@" >/dev/null
fi
deb=$(ls build-pkg/pqdesk_*-1_amd64.deb)
echo "package-test: built $deb"
dpkg-deb --contents "$deb" | grep -q 'build-pkg\|/work/' && fail "the package holds files from the build folder"
depends=$(dpkg-deb --field "$deb" Depends)
for needed in fonts-noto-cjk fonts-liberation2 libqt6widgets6 libsqlite3-0 libisal2; do
  [[ $depends == *"$needed"* ]] || fail "Depends lacks $needed: $depends"
done
lintian_out=$(lintian --tag-display-limit 0 "$deb" 2>&1 || true)
echo "$lintian_out" | sed 's/^/lintian: /'
echo "$lintian_out" | grep -q '^E:' && fail "lintian reports errors"

if [ "$(id -u)" -ne 0 ]; then
  echo "package-test: installing skipped (not root)"
  exit 0
fi

work=$(mktemp -d)
cleanup() {
  dpkg -P pqdesk >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap cleanup EXIT
dpkg -P pqdesk >/dev/null 2>&1 || true

dpkg -i "$deb" >/dev/null
check "programs under /opt/pqdesk/bin" test -x /opt/pqdesk/bin/pqdesk -a -x /opt/pqdesk/bin/pqdesk-cli \
  -a -x /opt/pqdesk/bin/pqdesk-cli-render -a -x /opt/pqdesk/bin/pqdesk-sim
check "Pass.mdb link" test "$(readlink /opt/pqdesk/bin/Pass.mdb)" = /var/lib/pqdesk/Pass.mdb
check "ports link" test "$(readlink /opt/pqdesk/bin/ports)" = /var/lib/pqdesk/ports
check "group pqdesk" getent group pqdesk >/dev/null
check "/var/lib/pqdesk owner and mode" test "$(stat -c '%U:%G %a' /var/lib/pqdesk)" = "root:pqdesk 2775"
check "ports owner and mode" test "$(stat -c '%U:%G %a' /var/lib/pqdesk/ports)" = "root:pqdesk 2775"
check "Pass.mdb owner and mode" test "$(stat -c '%U:%G %a' /var/lib/pqdesk/Pass.mdb)" = "root:pqdesk 664"
check "desktop entry" test -f /usr/share/applications/org.pqdesk.PQDesk.desktop
check "icon" test -f /usr/share/icons/hicolor/48x48/apps/org.pqdesk.PQDesk.png
check "manual pages" test -f /usr/share/man/man1/pqdesk-cli.1.gz -a -f /usr/share/man/man1/pqdesk-sim.1.gz
check "report file type" grep -q 'application/x-pqdesk-report' /usr/share/mime/packages/pqdesk.xml

check "pqdesk-cli --version" test "$(pqdesk-cli --version)" = "pqdesk-cli $(dpkg-deb --field "$deb" Version | cut -d- -f1)"
check "pqdesk --version without a display" env -u DISPLAY pqdesk --version >/dev/null
check "pqdesk-sim --help" pqdesk-sim --help >/dev/null
check "empty user database" test -z "$(pqdesk-cli users list)"
echo admin123 | pqdesk-cli users add admin --role Administrator >/dev/null
check "administrator added" test "$(pqdesk-cli users list)" = "$(printf 'admin\tAdministrator')"

pqdesk-cli generate "$work/day.bin" --records 1440 >/dev/null
pqdesk-cli report "$work/day.bin" --phase Ua --json "$work/ua.json" --png "$work/ua.png" >/dev/null
check "report from the installed programs" test -s "$work/ua.json" -a -s "$work/ua.png"

# The program from the menu's command, up to its login window.
# The test command runs the window tests offscreen; the program here must show a real window.
env -u QT_QPA_PLATFORM xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
  pqdesk & program=$!
  for _ in $(seq 1 60); do
    if xdotool search --onlyvisible --name "登录" >/dev/null 2>&1; then
      import -window root "$1/login.png"; kill $program; exit 0
    fi
    sleep 0.5
  done
  kill $program; exit 1' _ "$work" || fail "pqdesk shows no login window"
check "login screenshot" test -s "$work/login.png"

# Reinstalling keeps the users; removing keeps the database; purging removes it.
dpkg -i "$deb" >/dev/null
check "database kept on reinstall" test "$(pqdesk-cli users list | cut -f1)" = admin
dpkg -r pqdesk >/dev/null
check "database kept on removal" test -f /var/lib/pqdesk/Pass.mdb
check "programs removed" test ! -e /opt/pqdesk/bin/pqdesk
dpkg -P pqdesk >/dev/null
check "database removed on purge" test ! -e /var/lib/pqdesk
echo "package-test: all checks passed"
