#!/bin/sh
# Times the whole window-less program printing the full roster (1500 schools,
# seven posts each, 10,500 rows) as the 25-row roster into a PDF: start-up,
# reading the roster, drawing and writing the file. Gives the best wall time
# and, where /usr/bin/time is installed, the best user+system CPU time, which
# other work on the machine disturbs less. Figures so far: bench/README.md.
#   bench/roster_pdf.sh [BUILD_DIR] [RUNS]
set -eu
build=${1:-build}
runs=${2:-5}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/tools/nakama-sample" --schools 1500 --staff 1500 --full "$work/data" >/dev/null
best=""
bestcpu=""
i=0
while [ "$i" -lt "$runs" ]; do
    start=$(date +%s%N)
    if [ -x /usr/bin/time ]; then
        QT_QPA_PLATFORM=offscreen /usr/bin/time -o "$work/time" -f '%U %S' \
            "${NAKAMA_CHO:-$build/app/nakama-cho}" --data "$work/data" --year 38 --print 10 \
            --pdf "$work/roster.pdf" >/dev/null 2>&1
        cpu=$(awk '{ printf "%d", ($1 + $2) * 1000 }' "$work/time")
        if [ -z "$bestcpu" ] || [ "$cpu" -lt "$bestcpu" ]; then bestcpu=$cpu; fi
    else
        QT_QPA_PLATFORM=offscreen "${NAKAMA_CHO:-$build/app/nakama-cho}" --data "$work/data" --year 38 --print 10 \
            --pdf "$work/roster.pdf" >/dev/null 2>&1
    fi
    end=$(date +%s%N)
    ms=$(( (end - start) / 1000000 ))
    if [ -z "$best" ] || [ "$ms" -lt "$best" ]; then best=$ms; fi
    i=$((i + 1))
done
pages=$(pdfinfo "$work/roster.pdf" 2>/dev/null | awk '/^Pages:/ {print $2}')
echo "job 10, 1500 schools x 7 posts, to PDF as a whole process: best of $runs ${best} ms wall${bestcpu:+, ${bestcpu} ms user+sys}, ${pages:-?} pages, $(stat -c %s "$work/roster.pdf") bytes; $(cut -d' ' -f1-3 /proc/loadavg) load"
