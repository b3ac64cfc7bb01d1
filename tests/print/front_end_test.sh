#!/bin/bash
# The window-less front end as a user calls it: every failure is exit status
# 1 with a message on stderr, and 0 only when the PDF file was written.
#   front_end_test.sh NAKAMA_CHO NAKAMA_SAMPLE
set -u
app=$1
sample=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen
failures=0
check() { # description expected-status command...
    local what=$1 want=$2
    shift 2
    "$@" >"$work/out" 2>"$work/err"
    local got=$?
    if [ "$got" != "$want" ]; then
        echo "FAIL: $what: exit $got, expected $want"; cat "$work/err"; failures=$((failures + 1))
    elif [ "$want" = 1 ] && ! grep -q 'nakama-cho: ' "$work/err"; then
        echo "FAIL: $what: no message on stderr"; failures=$((failures + 1))
    fi
}
written() { # description file
    if [ ! -s "$2" ]; then echo "FAIL: $1: $2 not written"; failures=$((failures + 1)); fi
}

"$sample" --schools 12 --staff 20 "$work/data" >/dev/null || exit 1
run() { "$app" --data "$work/data" --year 38 "$@"; }

check "help" 0 "$app" --help
grep -q -- '--network' "$work/out" || { echo "FAIL: help lists no --network"; failures=$((failures + 1)); }
grep -q -- '--pages' "$work/out" || { echo "FAIL: help lists no --pages"; failures=$((failures + 1)); }
check "version" 0 "$app" --version
check "unknown option" 1 run --print 10 --pdf "$work/a.pdf" --no-such-option
check "no destination" 1 run --print 10
check "a job that does not exist" 1 run --print 77 --pdf "$work/b.pdf"
check "a folder that does not exist" 1 run --print 10 --pdf "$work/no/such/folder/x.pdf"
[ -e "$work/no/such/folder/x.pdf" ] && { echo "FAIL: a file appeared"; failures=$((failures + 1)); }
check "a year without a roster" 1 "$app" --data "$work/data" --year 37 --print 10 --pdf "$work/c.pdf"
check "network sheet without a file" 1 run --print 15 --pdf "$work/d.pdf"
check "network sheet from a missing file" 1 run --print 45 --network "$work/none.TN2" --pdf "$work/d.pdf"
check "labels without a layout" 1 run --print 80 --pdf "$work/e.pdf"
check "labels from a layout file that is missing" 1 run --print 80 --layout 封筒 --pdf "$work/e.pdf"
check "a tally sheet that does not exist" 1 run --print 30 --sheet pie --pdf "$work/f.pdf"
check "copies out of 16 bits" 1 run --print 10 --copies 99999 --pdf "$work/g.pdf"

check "survey forms when no school is marked" 1 run --print 16 --pdf "$work/i.pdf"
for job in 10 11 12 13 14 20 21 30 40 99; do
    check "job $job" 0 run --print "$job" --pdf "$work/job$job.pdf"
    written "job $job" "$work/job$job.pdf"
done
for sheet in summary title-grade age experience graph1 graph2 graph3; do
    check "sheet $sheet" 0 run --print 30 --sheet "$sheet" --pdf "$work/$sheet.pdf"
    written "sheet $sheet" "$work/$sheet.pdf"
done
check "blank survey form" 0 run --print 16 --blank --pdf "$work/blank.pdf"
written "blank survey form" "$work/blank.pdf"

# A page range: the sheets printed carry the numbers they had in the full
# print; a malformed, reversed or unreachable range is refused.
for bad in 4-3 0-2 x 3-y -2 1-2-3; do
    check "page range $bad" 1 run --print 13 --pages "$bad" --pdf "$work/bad.pdf"
done
[ -e "$work/bad.pdf" ] && { echo "FAIL: a refused range wrote a file"; failures=$((failures + 1)); }
"$sample" --schools 80 --staff 120 "$work/big" >/dev/null || exit 1
big() { "$app" --data "$work/big" --year 38 "$@"; }
check "the whole wide roster" 0 big --print 13 --pdf "$work/whole13.pdf"
whole=$(pdfinfo "$work/whole13.pdf" | awk '/^Pages:/ {print $2}')
if [ "${whole:-0}" -lt 3 ]; then
    echo "FAIL: job 13 has ${whole:-no} pages, too few for a range"; failures=$((failures + 1))
else
    pages() { pdfinfo "$1" | awk '/^Pages:/ {print $2}'; }
    number() { # pdf sheet: the page number printed on that sheet
        pdftotext -f "$2" -l "$2" -layout "$1" - | grep -oE '(^| )7-[0-9]+( |$)' | tr -d ' ' | head -1
    }
    check "pages 2-3" 0 big --print 13 --start-page 1 --page-prefix 7 --pages 2-3 --pdf "$work/p23.pdf"
    [ "$(pages "$work/p23.pdf")" = 2 ] || { echo "FAIL: --pages 2-3 gave $(pages "$work/p23.pdf") pages"; failures=$((failures + 1)); }
    [ "$(number "$work/p23.pdf" 1)" = 7-2 ] && [ "$(number "$work/p23.pdf" 2)" = 7-3 ] ||
        { echo "FAIL: --pages 2-3 numbered $(number "$work/p23.pdf" 1) $(number "$work/p23.pdf" 2)"; failures=$((failures + 1)); }
    # Digits typed in full width at a Japanese terminal, as --start takes them.
    check "pages ２-３ in full width" 0 big --print 13 --start-page 1 --page-prefix 7 --pages ２-３ --pdf "$work/pw.pdf"
    [ "$(pages "$work/pw.pdf")" = 2 ] && [ "$(number "$work/pw.pdf" 1)" = 7-2 ] ||
        { echo "FAIL: --pages ２-３ gave $(pages "$work/pw.pdf") pages"; failures=$((failures + 1)); }
    check "page 2" 0 big --print 13 --start-page 1 --page-prefix 7 --pages 2 --pdf "$work/p2.pdf"
    [ "$(pages "$work/p2.pdf")" = 1 ] && [ "$(number "$work/p2.pdf" 1)" = 7-2 ] ||
        { echo "FAIL: --pages 2"; failures=$((failures + 1)); }
    check "pages 2- to the end" 0 big --print 13 --pages 2- --copies 2 --pdf "$work/p2e.pdf"
    [ "$(pages "$work/p2e.pdf")" = $((2 * (whole - 1))) ] ||
        { echo "FAIL: --pages 2- with 2 copies gave $(pages "$work/p2e.pdf") pages"; failures=$((failures + 1)); }
    check "a range past the last page" 1 big --print 13 --pages $((whole + 1))- --pdf "$work/past.pdf"
    grep -q '指定のページがありません' "$work/err" || { echo "FAIL: no message for a range past the end"; failures=$((failures + 1)); }
    [ -e "$work/past.pdf" ] && { echo "FAIL: a range past the end wrote a file"; failures=$((failures + 1)); }
fi

# Name labels on label sheets: a stored layout written as the window writes it.
labelitems='"",8,3,5,40,4,0,0,"","",3,3,4,20,4,0,0,"","",13,3,4,40,0,0,0,"","",15,5,8,40,4,0,0,"","",0,0,0,0,4,0,0,"","",0,0,0,0,4,0,0,"","",0,0,0,0,4,0,0,""'
printf '"宛名ラベル","自由サイズ",25,48,"ＭＳ 明朝",0,0,0,0,"","","",%s\r\n' "$labelitems" | iconv -f UTF-8 -t CP932 >"$work/data/PRT_S.PRS"
check "labels on a sheet" 0 run --print 80 --layout 宛名ラベル --sheet "A4 44面" --start 3,2 --pdf "$work/sheet.pdf"
written "labels on a sheet" "$work/sheet.pdf"
# The first label in row 3, column 2: 8.4 + 48.3 + 3 mm from the left, 8.8 + 2 × 25.4 + 3 mm from the top.
pdftotext -bbox "$work/sheet.pdf" - | awk -F'"' '/<word/ { printf "%.0f %.0f\n", $2 * 25.4 / 72, $4 * 25.4 / 72; exit }' >"$work/first"
grep -qx '60 63' "$work/first" || { echo "FAIL: first label at $(cat "$work/first") mm, expected 60 63"; failures=$((failures + 1)); }
# A design off the label would print blank labels: refused, nothing written;
# one cut by the label's edge is printed with a warning.
printf '"A4の宛名","Ａ４",297,210,"ＭＳ 明朝",0,0,0,0,"","","",%s\r\n' '"",65,20,12,125,4,0,0,"","",20,70,10,55,4,0,0,"","",40,20,10,125,4,0,0,"","",100,30,10,80,4,0,0,"","",0,0,0,0,4,0,0,"","",0,0,0,0,4,0,0,"","",0,0,0,0,4,0,0,""' | iconv -f UTF-8 -t CP932 >>"$work/data/PRT_S.PRS"
check "a design off the label" 1 run --print 80 --layout A4の宛名 --sheet "A4 44面" --pdf "$work/offlabel.pdf"
grep -q 'ラベルの外' "$work/err" || { echo "FAIL: no message for a design off the label"; failures=$((failures + 1)); }
[ -e "$work/offlabel.pdf" ] && { echo "FAIL: blank labels were printed"; failures=$((failures + 1)); }
printf '"はみ出し","自由サイズ",25,48,"ＭＳ 明朝",0,0,0,0,"","","",%s\r\n' "${labelitems/15,5,8,40/15,5,8,60}" | iconv -f UTF-8 -t CP932 >>"$work/data/PRT_S.PRS"
check "a design cut by the label" 0 run --print 80 --layout はみ出し --sheet "A4 44面" --pdf "$work/cut.pdf"
written "a design cut by the label" "$work/cut.pdf"
grep -q 'はみ出す' "$work/err" || { echo "FAIL: no warning for a design cut by the label"; failures=$((failures + 1)); }
check "labels one to a page by default" 0 run --print 80 --layout 宛名ラベル --pdf "$work/onepage.pdf"
check "a label sheet that does not exist" 1 run --print 80 --layout 宛名ラベル --sheet "A4 45面" --pdf "$work/j.pdf"
check "a start outside the sheet" 1 run --print 80 --layout 宛名ラベル --sheet "A4 10面" --start 6,1 --pdf "$work/j.pdf"
check "a start for a job without label sheets" 1 run --print 10 --start 2,1 --pdf "$work/j.pdf"
grep -q -- '--start' "$work/err" || { echo "FAIL: --start for job 10 not named"; failures=$((failures + 1)); }
check "a start that is not row,column" 1 run --print 80 --layout 宛名ラベル --sheet "A4 10面" --start 2 --pdf "$work/j.pdf"
check "the user's sheet before it is stored" 1 run --print 80 --layout 宛名ラベル --sheet ユーザー定義 --pdf "$work/j.pdf"
printf 'rows=two\r\n' >"$work/data/PRT_S.SHT"
check "the user's sheet from a broken file" 1 run --print 80 --layout 宛名ラベル --sheet ユーザー定義 --pdf "$work/j.pdf"
[ -e "$work/j.pdf" ] && { echo "FAIL: labels printed from a refused sheet"; failures=$((failures + 1)); }
printf 'paper_width=210\r\npaper_height=297\r\nrows=2\r\ncolumns=2\r\ntop=10\r\nleft=10\r\npitch_x=100\r\npitch_y=140\r\nlabel_width=90\r\nlabel_height=130\r\n' >"$work/data/PRT_S.SHT"
check "the user's sheet" 0 run --print 80 --layout 宛名ラベル --sheet ユーザー定義 --start 2,2 --pdf "$work/user.pdf"
written "the user's sheet" "$work/user.pdf"

# A PDF is replaced only by a whole one: a refused print keeps the file that
# was there byte for byte and leaves nothing beside it; a place that is not
# a file (a folder, a pipe, a link to one) is refused and stays as it was.
mkdir "$work/keep"
cp "$work/job99.pdf" "$work/keep/old.pdf"
check "an empty range over an old PDF" 1 run --print 99 --pages 2 --pdf "$work/keep/old.pdf"
grep -q '指定のページがありません' "$work/err" || { echo "FAIL: no message for an empty range"; failures=$((failures + 1)); }
cmp -s "$work/job99.pdf" "$work/keep/old.pdf" || { echo "FAIL: an empty range changed the old PDF"; failures=$((failures + 1)); }
check "an empty range where no PDF was" 1 run --print 99 --pages 2 --pdf "$work/keep/new.pdf"
mkdir "$work/keep/folder.pdf"
mkfifo "$work/keep/pipe.pdf"
ln -s folder.pdf "$work/keep/to-folder.pdf"
ln -s pipe.pdf "$work/keep/to-pipe.pdf"
for place in folder.pdf pipe.pdf to-folder.pdf to-pipe.pdf; do
    # A pipe nobody reads would hold a writer for ever: give up after a while.
    check "a PDF onto $place" 1 timeout 60 "$app" --data "$work/data" --year 38 --print 10 --pdf "$work/keep/$place"
    grep -q "書き込み先がファイルではありません: $work/keep/$place" "$work/err" ||
        { echo "FAIL: no clear message for $place: $(cat "$work/err")"; failures=$((failures + 1)); }
done
[ -d "$work/keep/folder.pdf" ] && [ -z "$(ls -A "$work/keep/folder.pdf")" ] && [ -p "$work/keep/pipe.pdf" ] &&
    [ -L "$work/keep/to-folder.pdf" ] && [ -L "$work/keep/to-pipe.pdf" ] ||
    { echo "FAIL: a place that is not a file was changed"; failures=$((failures + 1)); }
check "a whole PDF over the old one" 0 run --print 10 --pdf "$work/keep/old.pdf"
pdfinfo "$work/keep/old.pdf" >/dev/null 2>&1 && ! cmp -s "$work/job99.pdf" "$work/keep/old.pdf" ||
    { echo "FAIL: the old PDF was not replaced by a whole one"; failures=$((failures + 1)); }
left=$(ls -A "$work/keep" | grep -vxE 'old.pdf|folder.pdf|pipe.pdf|to-folder.pdf|to-pipe.pdf')
[ -z "$left" ] || { echo "FAIL: left beside the PDF: $left"; failures=$((failures + 1)); }

# A forgotten --print is told on the terminal, not answered with the windows;
# no copies is not a print; a roster file named as the PDF is never written over.
check "a PDF without --print" 1 timeout 20 "$app" --data "$work/data" --year 38 --pdf "$work/noprint.pdf"
grep -q -- '--print' "$work/err" || { echo "FAIL: no word of --print"; failures=$((failures + 1)); }
check "no copies" 1 run --print 10 --copies 0 --pdf "$work/nocopies.pdf"
roster=$(ls "$work"/data/*.NKD | head -1)
cp "$roster" "$work/roster.keep"
check "a roster file as the PDF" 1 run --print 10 --pdf "$roster"
cmp -s "$roster" "$work/roster.keep" || { echo "FAIL: the roster file was written over"; failures=$((failures + 1)); }

# A staff file that cannot be read prints nothing and fails.
cp -r "$work/data" "$work/broken"
printf 'garbage\r\n\x81' >"$work/broken/38MEIBO.NKD"
check "an unreadable staff file" 1 "$app" --data "$work/broken" --year 38 --print 10 --pdf "$work/h.pdf"
[ -e "$work/h.pdf" ] && { echo "FAIL: printed from an unreadable roster"; failures=$((failures + 1)); }

[ "$failures" = 0 ] && echo "front end: all checks passed"
exit "$failures"
