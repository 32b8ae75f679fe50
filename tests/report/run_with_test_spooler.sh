#!/bin/sh
# Runs test_report against a private CUPS spooler with one file queue whose
# driver reports margins (0.25 inch left and right, 0.5 inch top and bottom
# on Letter). Nothing touches the machine's own spooler or printers.
#   usage: tests/report/run_with_test_spooler.sh build-folder/bin/test_report [gtest args]
set -e
test_binary=$1
shift
dir=$(mktemp -d /tmp/cardora-spooler-XXXXXX)
mkdir -p "$dir/conf/ppd" "$dir/spool/tmp" "$dir/cache" "$dir/state" "$dir/log" "$dir/run" "$dir/out"
chmod 777 "$dir/out" "$dir/spool/tmp"
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
trap 'kill $cupsd_pid 2>/dev/null; wait $cupsd_pid 2>/dev/null; rm -rf "$dir"' EXIT
export CUPS_SERVER="$dir/run/cups.sock"
for i in 1 2 3 4 5 6 7 8 9 10; do
    lpstat -r 2>/dev/null | grep -q "scheduler is running" && break
    sleep 0.2
done
lpadmin -p CardTest -E -v "file://$dir/out/job.out" -P "$dir/margins.ppd" 2>/dev/null
lpadmin -d CardTest
CARDORA_TEST_QUEUE=CardTest QT_QPA_PLATFORM=offscreen "$test_binary" "$@"
