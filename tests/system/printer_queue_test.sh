#!/usr/bin/env bash
# Prints through a real printer queue: starts a private CUPS server with a
# cups-pdf queue, prints the school roster (job 10) and the staff telephone
# list (job 21) of a sample roster with `nakama-cho --printer`, the same
# QPrinter path a clerk's printer takes, and checks the text and positions of
# the PDF the queue produced against the same job written by the PDF writer.
#
#   printer_queue_test.sh BUILD_DIR
#
# Needs root (the cups-pdf backend and its configuration in /etc/cups).
set -euo pipefail
build="$(cd "${1:?build folder}" && pwd)"
app="$build/app/nakama-cho"
sample="$build/tools/nakama-sample"
here="$(cd "$(dirname "$0")" && pwd)"

if [ "$(id -u)" -ne 0 ]; then
    echo "printer_queue_test: needs root for the cups-pdf backend" >&2
    exit 1
fi
for tool in cupsd lpadmin lpstat pdftotext; do
    command -v "$tool" >/dev/null || { echo "printer_queue_test: $tool is missing (scripts/deps.sh installs it)" >&2; exit 1; }
done
[ -x /usr/lib/cups/backend/cups-pdf ] || { echo "printer_queue_test: the cups-pdf backend is missing" >&2; exit 1; }

work="$(mktemp -d /tmp/nakama-cups.XXXXXX)"
chmod 755 "$work"
queue="nakama-pdf"
instance="nakama$$"
cupsd_pid=""
cleanup() {
    [ -n "$cupsd_pid" ] && kill "$cupsd_pid" 2>/dev/null && wait "$cupsd_pid" 2>/dev/null
    rm -f "/etc/cups/cups-pdf-$instance.conf"
    if [ "${KEEP_WORK:-}" = "" ]; then rm -rf "$work"; else echo "kept $work"; fi
}
trap cleanup EXIT

mkdir -p "$work"/{root/ppd,spool,cache,state,temp,log,out,data}
chmod 1777 "$work/temp" "$work/out"
cat > "$work/root/cupsd.conf" <<CONF
Listen $work/cups.sock
ServerName localhost
ServerAlias *
LogLevel warn
Browsing Off
WebInterface No
DefaultAuthType None
<Location />
  Order allow,deny
  Allow all
</Location>
<Location /admin>
  Order allow,deny
  Allow all
</Location>
CONF
cat > "$work/root/cups-files.conf" <<CONF
ServerRoot $work/root
RequestRoot $work/spool
CacheDir $work/cache
StateDir $work/state
TempDir $work/temp
ErrorLog $work/log/error_log
AccessLog $work/log/access_log
PageLog $work/log/page_log
ServerBin /usr/lib/cups
DataDir /usr/share/cups
FatalErrors none
Sandboxing Relaxed
CONF
# One cups-pdf instance of our own (cups-pdf:/NAME reads cups-pdf-NAME.conf).
cat > "/etc/cups/cups-pdf-$instance.conf" <<CONF
Out $work/out
AnonDirName $work/out
Spool $work/spool-pdf
Log $work/log
Label 1
Grp root
CONF

cupsd -f -c "$work/root/cupsd.conf" -s "$work/root/cups-files.conf" &
cupsd_pid=$!
export CUPS_SERVER="$work/cups.sock"
for _ in $(seq 1 100); do
    lpstat -r >/dev/null 2>&1 && break
    sleep 0.1
done
lpstat -r >/dev/null || { echo "printer_queue_test: cupsd did not start" >&2; cat "$work/log/error_log" >&2 || true; exit 1; }
# The PostScript the queue's driver takes is made with poppler's cairo back
# end, which keeps the text readable in the PDF cups-pdf distills from it.
lpadmin -p "$queue" -E -v "cups-pdf:/$instance" -P /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd -o PageSize=A4 \
    -o pdftops-renderer-default=pdftocairo
cupsenable "$queue" 2>/dev/null || true
cupsaccept "$queue" 2>/dev/null || true

# A sample roster of the fiscal year 2026 (roster year 38).
"$sample" --schools 12 --staff 20 --year 38 "$work/data" >/dev/null
fail=0
for job in 10 21; do
    before=$(ls "$work/out" | wc -l)
    said="$("$app" --data "$work/data" --year 38 --print "$job" --printer "$queue")"
    echo "$said"
    # The queue's PDF appears when the backend has finished.
    for _ in $(seq 1 600); do
        [ "$(ls "$work/out"/*.pdf 2>/dev/null | wc -l)" -gt "$before" ] && [ -z "$(lpstat -o "$queue" 2>/dev/null)" ] && break
        sleep 0.1
    done
    produced="$(ls -t "$work/out"/*.pdf 2>/dev/null | head -1 || true)"
    if [ -z "$produced" ] || [ "$(ls "$work/out"/*.pdf | wc -l)" -le "$before" ]; then
        echo "printer_queue_test: job $job left no PDF in the queue's folder" >&2
        tail -20 "$work/log/error_log" >&2 || true
        fail=1
        continue
    fi
    mv "$produced" "$work/queue-$job.pdf"
    "$app" --data "$work/data" --year 38 --print "$job" --pdf "$work/writer-$job.pdf" >/dev/null
    pdftotext -bbox "$work/queue-$job.pdf" "$work/queue-$job.html"
    pdftotext -bbox "$work/writer-$job.pdf" "$work/writer-$job.html"
    # The layout's design extent (job 10: 198 x 290 mm, job 21: the A4 sheet)
    # moves up and left by what the queue's printable area lacks of it.
    read -r area_w area_h <<<"$(echo "$said" | awk '/印刷範囲/ { print $(NF-2), $(NF-1) }')"
    if [ -z "${area_w:-}" ]; then echo "printer_queue_test: job $job: no printable area reported" >&2; fail=1; continue; fi
    case "$job" in 10) design="198 290" ;; *) design="210 297" ;; esac
    read -r shift_x shift_y <<<"$(echo "$design $area_w $area_h" |
        awk '{ dx = $1 - $3; dy = $2 - $4; printf "%.3f %.3f", (dx > 0 ? dx : 0) * 72 / 25.4, (dy > 0 ? dy : 0) * 72 / 25.4 }')"
    if ! SHIFT_X="$shift_x" SHIFT_Y="$shift_y" "$here/compare_pdf_words.sh" "$work/writer-$job.html" "$work/queue-$job.html" "job $job"; then
        fail=1
    fi
done
# A queue told to refuse jobs: the print is a failure, never reported as done.
cupsreject "$queue"
if "$app" --data "$work/data" --year 38 --print 21 --printer "$queue" >/dev/null 2>&1; then
    echo "printer_queue_test: a print onto a queue that refuses jobs was reported as done" >&2
    fail=1
fi
cupsaccept "$queue"
[ "$fail" -eq 0 ] && echo "printer_queue_test: jobs 10 and 21 printed through CUPS queue $queue match the PDF writer"
exit "$fail"
