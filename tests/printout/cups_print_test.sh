#!/usr/bin/env bash
# A real print of the worked example through a real CUPS: a cupsd of this
# test's own (private socket, folders and queue; ended on every exit) with a
# CUPS-PDF queue, the page handed over as the print dialog's OK hands it, to
# the printer chosen by name; and the same page saved as PDF.
#   tests/printout/cups_print_test.sh PRINTOUT_PROBE
# The saved PDF is read back with pdftotext -layout: every text in its row
# and place. CUPS-PDF turns the job into PostScript and back through
# Ghostscript, which keeps the look but not the text's Unicode, so the
# printed PDF is held to the saved one by its picture instead.
# Exit 77 (skipped) when not run as root: the CUPS-PDF backend needs root.
set -euo pipefail
probe=$(realpath "$1")
[ "$(id -u)" -eq 0 ] || { echo "skipped: CUPS-PDF prints only for root"; exit 77; }
for tool in cupsd lpadmin lpstat pdftotext pdftoppm pdfinfo /usr/bin/compare \
            /usr/lib/cups/backend/cups-pdf; do
    command -v "$tool" >/dev/null || { echo "missing: $tool (tools/install-deps.sh)"; exit 1; }
done
ppd=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd

printed=""
private_cups_cleanup() { [ -z "$printed" ] || rm -f "$printed"; }
source "$(dirname "$0")/private_cups.sh"

queue="CubrixTest$$"
lpadmin -p "$queue" -E -v cups-pdf:/ -P "$ppd" 2>/dev/null
mkdir -m 700 "$scratch/runtime"
export QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$scratch/runtime"
failed=0
fail() { echo "FAILED: $*"; failed=1; }

# Today's date, on either side of a midnight the test might cross.
day_before=$(date +%Y年%m月%d日)
"$probe" --printer "$queue" || fail "the page was not handed to $queue"
"$probe" --pdf "$scratch/saved.pdf" || fail "the PDF was not written"
"$probe" --pdf "$scratch/empty.pdf" --bill empty
day_after=$(date +%Y年%m月%d日)

# The job, done; CUPS-PDF writes into the owner's ~/PDF as <title>-job_<id>.pdf.
out_dir="$(getent passwd "$(id -un)" | cut -d: -f6)/PDF"
job=""
for _ in $(seq 600); do
    if [ -z "$(lpstat -o "$queue")" ]; then
        job=$(lpstat -W completed -o "$queue" | awk 'NR == 1 { sub(/.*-/, "", $1); print $1 }')
        # Written by this run (a killed earlier run may have left its job 1).
        printed=$(find "$out_dir" -maxdepth 1 -name "*-job_${job:-none}.pdf" \
                       -newer "$scratch/cupsd.conf" 2>/dev/null | head -1)
        [ -n "$printed" ] && break
    fi
    sleep 0.1
done
[ -n "$job" ] && [ -f "$printed" ] || { fail "no printed PDF for job ${job:-?} in $out_dir";
                                         tail -20 "$scratch/log/error_log"; }

# The bill's texts, line by line as the page stands, exactly as typed (the
# characters, not look-alike radicals): blanks between the texts of a row,
# nothing else between them. Held for the saved PDF and for the PDF that the
# print queue received (CUPS keeps the job's file after printing).
shown=$(dirname "$0")/../probe/cases/worked_example.out
field() { awk -F'\t' -v name="$1" '$1 == name { print $2 }' "$shown"; }
page_texts() {  # WHAT PDF
    local what=$1 text texts line column t total_amount between words
    [ -f "$2" ] || { fail "$what: no file"; return; }
    text=$(pdftotext -layout "$2" -)
    # The Chinese face drawn with, when the test limits the fonts to one.
    if [ -n "${CUBRIX_TEST_FACE:-}" ]; then
        pdffonts "$2" | grep -q "$CUBRIX_TEST_FACE" || fail "$what: not drawn with $CUBRIX_TEST_FACE"
    fi
    row() {  # the texts of one row, in order
        local pattern="^ *$1" all="$*"; shift
        for t in "$@"; do pattern+=" +${t//./\\.}"; done
        grep -Eq "$pattern *\$" <<<"$text" || fail "$what: no row: $all"
    }
    row 木材销售清单
    grep -Eq "日期 +($day_before|$day_after) *\$" <<<"$text" || fail "$what: no date $day_before"
    # The figures as the probe's worked example gives them after a pass.
    row 购货单位 建阳区鑫源木业有限公司 "$(field Combo2)"
    row "长\(米\)" "宽\(毫米\)" "厚\(毫米\)" 件数 "材积\(立方米\)" "单价\(元/立方米\)" "金额\(元\)"
    for line in 0 1 2 3; do
        texts=()
        for column in 1 2 3 4 5 6 7; do
            t=$(field "Text$column($line)")
            if [ -n "$t" ]; then texts+=("$t"); fi
        done
        row "${texts[@]}"
    done
    total_amount=$(field Text9)
    row 检尺员 王师傅 合计 "$(field Text8)" "${total_amount%??}"  # two decimals on the page
    row 出货单位 联系人
    row 大写金额 人民币柒佰陆拾伍元捌角贰分
    row 经手人 收货人
    # The four empty lines are empty: nothing between the fourth line and 检尺员.
    between=$(sed -n '/ 0\.0450 *$/,/检尺员/p' <<<"$text" | sed '1d;$d' | tr -d ' \n')
    [ -z "$between" ] || fail "$what: text among the empty lines: $between"
    # Nothing else: 51 texts in all (the 65 fields less the 26 that are empty
    # in the example, and the page's own captions, title and date).
    words=$(grep -o '[^ ]\+' <<<"$text" | wc -l)
    [ "$words" -eq 51 ] || fail "$what: $words texts on the page, 51 expected"
}
page_texts "saved PDF" "$scratch/saved.pdf"
page_texts "print job" "$scratch/spool/d$(printf %05d "${job:-0}")-001"
"$probe" --print-to-file "$scratch/to-file.pdf" || fail "not printed to a file"
page_texts "printed to a file" "$scratch/to-file.pdf"

# The printed page: one A4 page that looks like the saved one (and not like
# an empty bill's).
if [ -f "$printed" ]; then
    [ "$(pdfinfo "$printed" | awk '/^Pages:/ { print $2 }')" = 1 ] || fail "not one page"
    pdfinfo "$printed" | grep -q '595 x 842 pts' || fail "not A4: $(pdfinfo "$printed" | grep size)"
    for f in printed saved empty; do
        src=$scratch/$f.pdf
        [ "$f" = printed ] && src=$printed
        pdftoppm -gray -r 50 -singlefile "$src" "$scratch/$f" 2>/dev/null
        # Ghostscript's glyphs are drawn a little otherwise: blurred, only
        # what is written where counts.
        /usr/bin/convert "$scratch/$f.pgm" -blur 0x2 "$scratch/$f.pgm"
    done
    distance() {  # compare answers 1 for pictures that differ at all
        { /usr/bin/compare -metric RMSE "$scratch/$1.pgm" "$scratch/$2.pgm" null: 2>&1 || true; } |
            sed 's/.*(\(.*\))/\1/'
    }
    to_saved=$(distance printed saved)
    to_empty=$(distance printed empty)
    echo "printed page: distance $to_saved to the saved page, $to_empty to an empty bill"
    awk -v s="$to_saved" -v e="$to_empty" 'BEGIN { exit !(s < 0.012 && s * 2 < e) }' ||
        fail "the printed page does not look like the saved one"
fi
[ "$failed" -eq 0 ] && echo "printed through CUPS (job $job) and saved: the worked example in place"
exit "$failed"
