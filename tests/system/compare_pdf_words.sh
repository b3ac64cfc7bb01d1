#!/usr/bin/env bash
# Compares the words of two `pdftotext -bbox` files: the same pages, and every
# word read back from ACTUAL stands on its page within TOLERANCE points
# (default 1.0, a third of a millimetre) of the same word in EXPECTED; at least
# MIN_READ (default 0.85) of the expected words must be read back. (A printer
# queue's PostScript step can lose the text of a few glyphs: those words are
# listed, not counted as misplaced.) SHIFT_X and SHIFT_Y (points) move the
# expected words up and left first, as a report moves its layout on a printer
# whose printable area is smaller than the layout.
#
#   compare_pdf_words.sh EXPECTED.html ACTUAL.html LABEL
set -euo pipefail
expected="$1" actual="$2" label="${3:-}"
tolerance="${TOLERANCE:-1.0}"
words() {
    # page number, xMin, yMin, text: one line per word
    awk '
        /<page / { page++ }
        /<word / {
            match($0, /xMin="[^"]*"/); x = substr($0, RSTART + 6, RLENGTH - 7)
            match($0, /yMin="[^"]*"/); y = substr($0, RSTART + 6, RLENGTH - 7)
            match($0, /xMax="[^"]*"/); r = substr($0, RSTART + 6, RLENGTH - 7)
            t = $0; sub(/.*<word [^>]*>/, "", t); sub(/<\/word>.*/, "", t)
            printf "%d\t%s\t%s\t%s\t%s\n", page, x, y, t, r
        }' "$1"
}
words "$expected" > "$expected.words"
words "$actual" > "$actual.words"
pages_e=$(grep -c '<page ' "$expected"); pages_a=$(grep -c '<page ' "$actual")
if [ "$pages_e" -ne "$pages_a" ]; then
    echo "$label: $pages_a pages from the queue, $pages_e expected" >&2
    exit 1
fi
n_e=$(wc -l < "$expected.words"); n_a=$(wc -l < "$actual.words")
if [ "$n_e" -lt 20 ]; then
    echo "$label: only $n_e words in the expected PDF" >&2
    exit 1
fi
awk -F'\t' -v sx="${SHIFT_X:-0}" -v sy="${SHIFT_Y:-0}" -v tol="$tolerance" -v label="$label" -v pages="$pages_e" -v need="${MIN_READ:-0.85}" '
    function abs(v) { return v < 0 ? -v : v }
    function fragment(p, px, py, t,    i) {
        for (i = 1; i <= n; i++)
            if (page[i] == p && index(text[i], t) && abs(y[i] - py) <= 12 && px >= x[i] - tol && px <= right[i] + tol)
                return 1
        return 0
    }
    FNR == NR { n++; page[n] = $1; x[n] = $2 - sx; y[n] = $3 - sy; text[n] = $4; right[n] = $5 - sx; known[$4] = 1; next }
    $4 == "" { next }
    {
        best = 0; bestd = 1e9
        for (i = 1; i <= n; i++) {
            if (used[i] || text[i] != $4 || page[i] != $1) continue
            d = abs(x[i] - $2) + abs(y[i] - $3)
            if (d < bestd) { bestd = d; best = i }
        }
        if (best && abs(x[best] - $2) <= tol && abs(y[best] - $3) <= tol) {
            used[best] = 1; matched++
            if (abs(x[best] - $2) > worst) worst = abs(x[best] - $2)
            if (abs(y[best] - $3) > worst) worst = abs(y[best] - $3)
        } else if (fragment($1, $2, $3, $4)) {
            # Part of a word the queue split where a glyph lost its text:
            # within that word, on its line (the box of such a glyph is
            # measured from the height of another font).
            fragments++
        } else if ($4 in known) {
            printf "%s: \"%s\" on page %s at (%s, %s) is out of place\n", label, $4, $1, $2, $3 > "/dev/stderr"; misplaced++
        } else {
            unreadable++
        }
    }
    END {
        for (i = 1; i <= n; i++) if (!used[i]) missing = missing (missing == "" ? "" : " ") text[i]
        printf "%s: %d of %d words read back in place on %s pages (largest difference %.2f pt)", label, matched, n, pages, worst
        if (missing != "") printf "; not read back: %s", substr(missing, 1, 200)
        printf "\n"
        if (misplaced || matched < need * n) exit 1
    }' "$expected.words" "$actual.words"
