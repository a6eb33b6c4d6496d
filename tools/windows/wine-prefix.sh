# Sourced by the setup program's scripts: a Wine prefix of their own in a
# fresh folder $home, removed with its wineserver on exit; no debug chatter,
# no offers to install Mono or Gecko, and no menu entries on this desktop
# from the shortcuts a setup makes.
home=$(mktemp -d)
cleanup() {
    WINEPREFIX=$home/prefix wineserver -k 2>/dev/null || true
    rm -rf "$home"
}
trap cleanup EXIT
export WINEPREFIX=$home/prefix WINEDEBUG=-all \
    WINEDLLOVERRIDES="mscoree,mshtml=d;winemenubuilder.exe=d"
wine wineboot --init >/dev/null 2>&1
