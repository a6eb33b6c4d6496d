#!/usr/bin/env bash
# Sourced by the print tests, or run as `private_cups.sh COMMAND...` to run
# COMMAND with it (its folder in $CUPS_SCRATCH): a cupsd of the test's own (private socket,
# folders and queues; ended on every exit), with CUPS_SERVER pointing at it.
# Sets $scratch (the test's folder, removed on exit unless KEEP_SCRATCH is
# set) and $cupsd_pid. Optional, set before sourcing:
#   cups_log_level     cupsd's LogLevel, default info
#   cups_conf_extra    more lines for cupsd.conf
#   cups_files_extra   more lines for cups-files.conf (FileDevice Yes, say)
#   private_cups_cleanup  a function run on exit before the cupsd ends
scratch=$(mktemp -d /tmp/cubrix-cups-XXXXXX)
chmod 755 "$scratch"  # the filters run as lp
cupsd_pid=""
finish() {
    if declare -F private_cups_cleanup >/dev/null; then private_cups_cleanup || true; fi
    if [ -n "$cupsd_pid" ]; then
        kill "$cupsd_pid" 2>/dev/null || true
        wait "$cupsd_pid" 2>/dev/null || true
    fi
    [ -n "${KEEP_SCRATCH:-}" ] || rm -rf "$scratch"
}
trap finish EXIT

mkdir -p "$scratch"/{spool/tmp,cache,state,log}
cat > "$scratch/cupsd.conf" <<CONF
Listen $scratch/cups.sock
Browsing No
WebInterface No
LogLevel ${cups_log_level:-info}
<Location />
  Order allow,deny
  Allow all
</Location>
${cups_conf_extra:-}
CONF
cat > "$scratch/cups-files.conf" <<CONF
ServerRoot $scratch
RequestRoot $scratch/spool
TempDir $scratch/spool/tmp
CacheDir $scratch/cache
StateDir $scratch/state
AccessLog $scratch/log/access_log
ErrorLog $scratch/log/error_log
PageLog $scratch/log/page_log
Printcap $scratch/printcap
ServerBin /usr/lib/cups
DataDir /usr/share/cups
SystemGroup root
${cups_files_extra:-}
CONF
cupsd -f -c "$scratch/cupsd.conf" -s "$scratch/cups-files.conf" &
cupsd_pid=$!
export CUPS_SERVER="$scratch/cups.sock"
for _ in $(seq 100); do lpstat -r >/dev/null 2>&1 && break; sleep 0.1; done
lpstat -r >/dev/null || { echo "cupsd did not start"; cat "$scratch/log/error_log"; exit 1; }

if [ "${BASH_SOURCE[0]}" = "$0" ] && [ $# -gt 0 ]; then
    export CUPS_SCRATCH=$scratch
    status=0
    "$@" || status=$?
    exit "$status"
fi
