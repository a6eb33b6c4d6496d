#!/usr/bin/env bash
# Runs a command under a private X server that picks a free display itself
# (-displayfd), so that runs side by side (another checkout's tests, CI
# beside a developer) never race for one display number as xvfb-run -a can.
#   xvfb.sh [-s "SERVER ARGUMENTS"] COMMAND...
set -euo pipefail
server_args="-screen 0 1280x1024x24"
if [ "${1:-}" = "-s" ]; then
    server_args=$2
    shift 2
fi
dir=$(mktemp -d)
mkfifo "$dir/display"
# shellcheck disable=SC2086  # the server's arguments are words
Xvfb -displayfd 3 -nolisten tcp $server_args 3>"$dir/display" 2>"$dir/server.log" &
server=$!
cleanup() {
    kill "$server" 2>/dev/null || true
    wait "$server" 2>/dev/null || true
    rm -rf "$dir"
}
trap cleanup EXIT
# The server writes its display number once it accepts clients; a server
# that could not start closes the pipe unwritten.
if ! read -r number <"$dir/display"; then
    echo "Xvfb did not start:" >&2
    cat "$dir/server.log" >&2
    exit 1
fi
export DISPLAY=:$number
"$@"
