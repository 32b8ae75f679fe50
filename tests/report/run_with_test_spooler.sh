#!/bin/sh
# Runs a test program against a private CUPS scheduler: its own configuration,
# spool and socket in a temporary folder, pointed at by CUPS_SERVER, stopped
# and removed at the end. The machine's own scheduler and printers are never
# touched, and test programs running at once do not see each other's queues.
#
# Two queues:
#   CardTest  a file queue whose driver reports margins (0.25 inch left and
#             right, 0.5 inch top and bottom on Letter); CARDORA_TEST_QUEUE
#   CardPDF   the cups-pdf queue, when cups-pdf is installed; CARDORA_TEST_PDF_QUEUE
#
#   usage: tests/report/run_with_test_spooler.sh [--default QUEUE] test-binary [gtest args]
set -e
default_queue=
if [ "$1" = "--default" ]; then
    default_queue=$2
    shift 2
fi
test_binary=$1
shift

if [ ! -x /usr/sbin/cupsd ] || ! command -v lpadmin >/dev/null 2>&1; then
    echo "run_with_test_spooler: CUPS is not installed; running without a spooler" >&2
    exec "$test_binary" "$@"
fi

dir=$(mktemp -d /tmp/cardora-spooler-XXXXXX)
# Filters run as the scheduler's user, not as root: they must reach the spool.
chmod 755 "$dir"
mkdir -p "$dir/conf/ppd" "$dir/spool/tmp" "$dir/cache" "$dir/state" "$dir/log" "$dir/run" "$dir/out"
chmod 777 "$dir/out"
chmod 1777 "$dir/spool/tmp"
cat > "$dir/conf/cupsd.conf" <<CONF
Listen $dir/run/cups.sock
LogLevel warn
WebInterface No
Browsing Off
DefaultAuthType None
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
    Allow all
  </Limit>
</Policy>
CONF
cat > "$dir/conf/cups-files.conf" <<CONF
ServerRoot $dir/conf
RequestRoot $dir/spool
CacheDir $dir/cache
StateDir $dir/state
TempDir $dir/spool/tmp
Printcap $dir/run/printcap
ErrorLog $dir/log/error_log
AccessLog $dir/log/access_log
PageLog $dir/log/page_log
FileDevice Yes
SystemGroup root
CONF
sed -e 's|^\*ImageableArea AnsiA/ANSI A: .*|*ImageableArea AnsiA/ANSI A: "18 36 594 756"|' \
    -e 's|^\*ImageableArea Letter/US Letter: .*|*ImageableArea Letter/US Letter: "18 36 594 756"|' \
    /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd > "$dir/margins.ppd"
/usr/sbin/cupsd -f -c "$dir/conf/cupsd.conf" -s "$dir/conf/cups-files.conf" &
cupsd_pid=$!
cleanup() {
    set +e
    kill $cupsd_pid 2>/dev/null
    wait $cupsd_pid 2>/dev/null
    rm -rf "$dir"
}
trap cleanup EXIT
trap 'exit 130' INT TERM
export CUPS_SERVER="$dir/run/cups.sock"
for i in $(seq 1 50); do
    lpstat -r 2>/dev/null | grep -q "scheduler is running" && break
    sleep 0.1
done
lpadmin -p CardTest -E -v "file://$dir/out/job.out" -P "$dir/margins.ppd" 2>/dev/null
export CARDORA_TEST_QUEUE=CardTest
if [ -x /usr/lib/cups/backend/cups-pdf ]; then
    lpadmin -p CardPDF -E -v cups-pdf:/ -P /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd 2>/dev/null &&
        export CARDORA_TEST_PDF_QUEUE=CardPDF
fi
if [ -n "$default_queue" ]; then
    lpadmin -d "$default_queue"
fi
QT_QPA_PLATFORM=offscreen "$test_binary" "$@"
