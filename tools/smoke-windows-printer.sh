# Sourced by tools/smoke-windows.sh before the Wine prefix is made: a private
# CUPS (tests/printout/private_cups.sh) with two queues for an Epson 24-pin
# printer (Debian's foomatic PPD), writing to a file: once with the
# continuous forms in its PPD, and once as shipped, without them. Wine lists
# them as Windows printers (port CUPS:NAME, driver wineps.drv); it asks CUPS
# once, when the first program of the prefix loads the print spooler, so the
# queues stand before the program starts. Then printer_cases, with the worked
# example in the window, prints as an operator does (Ctrl+P, the printer and
# the paper picked by keys in the preview, Return on 打印, Return on Windows'
# print dialog). Each job must reach its queue on the chosen form, by the
# form's name and size, with the bill's total in it (ps2ascii); where the
# printer has no such form, the operator must be told so, and nothing
# printed. Skipped without the prints (CUBRIX_SMOKE_PRINTS=0) and when not
# root (the private cupsd's filters need it). Uses the smoke test's wid,
# click, keys, typed, cell, at, check, shown, read_box, read_message,
# visible_windows, home and root.

# queue, paper, the form a job must name ("none": the printer has no such
# paper, and the operator must be told so instead). Where the PPD lists the
# form, the job must come on it, or the operator be told: under Wine, Qt
# hands a driver's own form over as a size of the user's own (DMPAPER_USER),
# which Wine's driver reads as its first form of its own.
readonly printer_rows=(
    "LQForms 241-2 FanFold241x140"
    "LQ570 241-2 none"
    "LQ570 a4 A4"
)

printer_cups=""
# The private cupsd runs while a holder waits; it ends with the holder.
printer_cups_start() {
    local marker=$home/cups-scratch
    cups_log_level=debug cups_files_extra="FileDevice Yes" cups_conf_extra=$'PreserveJobFiles Yes\nMaxLogSize 0' \
        "$root/tests/printout/private_cups.sh" bash -c \
        'echo "$CUPS_SCRATCH" >"$0"; while [ ! -e "$0.done" ] && kill -0 "$1" 2>/dev/null; do sleep 0.5; done' \
        "$marker" "$$" >"$home/cups.log" 2>&1 &
    printer_holder=$!
    for _ in $(seq 100); do [ -s "$marker" ] && break; sleep 0.1; done
    printer_cups=$(cat "$marker" 2>/dev/null || true)
    [ -n "$printer_cups" ] || { cat "$home/cups.log"; return 1; }
    python3 "$root/tests/printout/dot_matrix_print_test.py" --write-ppds "$printer_cups"
    for queue in LQ570:stock LQForms:yard; do
        CUPS_SERVER=$printer_cups/cups.sock lpadmin -p "${queue%:*}" -E \
            -v "file:$printer_cups/${queue%:*}.prn" -P "$printer_cups/${queue#*:}.ppd" 2>/dev/null
    done
}
printer_cups_stop() {
    touch "$home/cups-scratch.done"
    wait "$printer_holder" 2>/dev/null || true
}
lp_done() {  # QUEUE -> the ids of its completed jobs
    CUPS_SERVER=$printer_cups/cups.sock lpstat -W completed -o "$1" 2>/dev/null |
        awk '{ sub(/.*-/, "", $1); print $1 }'
}
# The size in points that the queue's PPD gives a form.
ppd_dimension() {  # QUEUE FORM
    sed -n "s/^\*PaperDimension $2[/:].*\"\([0-9.]*\) \([0-9.]*\)\".*/\1 \2/p" \
        "$printer_cups/ppd/$1.ppd"
}

# In the preview, from its default 打印: Tab to the printer list, the
# queue's name typed; Tab to the paper list, the paper's key typed (both
# lists find an item by its first letters); back to 打印.
pick_in_preview() {  # QUEUE PAPER
    keys Tab
    xdotool type --delay 100 "$1"
    sleep 0.5
    keys Tab
    xdotool type --delay 100 "$2"
    sleep 0.5
    keys shift+Tab shift+Tab
}

printer_row() {  # QUEUE PAPER FORM
    local queue=$1 paper=$2 form=$3 before job="" windows message doc media told text total
    local what="printer $queue, $paper"
    before=$(lp_done "$queue" | wc -l)
    click $(cell 1 0)
    keys ctrl+p
    for _ in $(seq 40); do
        xdotool search --onlyvisible --name '^打印预览 - 木材销售清单' >/dev/null 2>&1 && break
        sleep 0.5
    done
    sleep 2
    pick_in_preview "$queue" "$paper"
    windows=$(xdotool search --onlyvisible --name . 2>/dev/null | wc -l)
    keys Return  # 打印, the preview's default
    for _ in $(seq 40); do
        [ "$(xdotool search --onlyvisible --name . 2>/dev/null | wc -l)" -gt "$windows" ] && break
        sleep 0.5
    done
    sleep 2
    keys Return  # the print dialog's OK
    # The job, done; or a message over the window.
    message=""
    for _ in $(seq 120); do
        if [ "$(lp_done "$queue" | wc -l)" -gt "$before" ]; then
            job=$(lp_done "$queue" | sort -n | tail -1)
            break
        fi
        if [ "$(visible_windows)" -ge 2 ]; then  # over the window and its preview
            message=$(read_message)
            keys Return
            sleep 1
            keys Escape  # the preview stays after a refused print
            break
        fi
        sleep 0.5
    done
    for _ in $(seq 20); do
        xdotool search --onlyvisible --name '^打印预览' >/dev/null 2>&1 || break
        sleep 0.5
    done
    told=$(grep -qF '打印服务器属性' <<<"$message" && echo yes || echo no)
    if [ "$form" = none ] || [ -z "$job" ]; then
        # Refused: the sentence that says how to add the form, no job, and
        # the bill still in the window.
        check "$what: no job" "" "$job"
        check "$what: the operator is told the printer has no such paper" yes "$told"
        check "$what: the bill stays" "$(shown Text9)" "$(read_box ${at[Text9]})"
        [ "$form" = none ] || echo "note $what: refused although the PPD lists $form"
    else
        media=$(awk -v j="$job" '$3 == j { print $(NF - 1) }' "$printer_cups/log/page_log")
        check "$what: the job's media is the queue's own form" "$form" "$media"
        # Wine's PostScript driver sets the page by the PPD's own form.
        doc=$printer_cups/spool/$(printf 'd%05d-001' "$job")
        check "$what: the page's size in the document" "$form $(ppd_dimension "$queue" "$form")" \
            "$(sed -n 's/^%%BeginFeature: \*PageSize \([^ ]*\).*/\1/p' "$doc" | head -1 |
               while read -r name; do echo "$name $(ppd_dimension "$queue" "$name")"; done)"
        text=$(ps2ascii "$doc" 2>/dev/null | tr -s ' ' || true)
        total=$(shown Text9)
        check "$what: the total in the job" yes \
            "$(grep -qF "${total%??}" <<<"$text" && echo yes || echo no)"
        check "$what: the amount in capitals in the job" yes \
            "$(grep -qF 人民币柒佰陆拾伍元捌角贰分 <<<"$text" && echo yes || echo no)"
        check "$what: no message" "" "$message"
    fi
}

printer_cases() {
    [ -n "$printer_cups" ] || return 0
    local row
    for row in "${printer_rows[@]}"; do
        # shellcheck disable=SC2086  # the row's words
        printer_row $row
    done
    printer_cups_stop
}

if [ "${CUBRIX_SMOKE_PRINTS:-1}" = 0 ]; then
    :
elif [ "$(id -u)" -ne 0 ]; then
    echo "skipped: the printer cases need root for the private cupsd"
else
    printer_cups_start || { echo "FAIL the private cupsd did not start"; exit 1; }
    export CUPS_SERVER=$printer_cups/cups.sock
fi
