# The print cases of tools/smoke-windows.sh, sourced by it: the window shows
# the worked example with its party texts, and its helpers (check, click,
# keys, read_box, read_message, wait_windows, at), the facts of
# tools/facts.sh and the bill's cases ($worked, $parties) are defined. The office is
# tests/windows/office_standin, an automation server in its own process,
# registered under the ProgIDs the program tries; it logs every call and, on
# Save, writes the cells it received beside the workbook.
standin_dir=$WINEPREFIX/drive_c/standin
standin_log=$standin_dir/standin.log
standin_exe='C:\standin\office_standin.exe'
cells_table="$home/d/Tarnel账单.xls.cells.txt"
macro_marker="$home/d/Tarnel账单.xls.macro-ran.txt"
readonly kStandinTitle='Tarnel账单.xls - Office stand-in'

standin_setup() {
    local build=$root/build-win-standin
    cmake -S "$root/tests/windows/office_standin" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" >/dev/null
    cmake --build "$build" >/dev/null
    mkdir -p "$standin_dir"
    cp "$build/office_standin.exe" "$standin_dir/"
    # Windows runs its COM service from boot. Wine starts it on the first
    # activation; a program that started before it never finds a class
    # object: the server starts, registers, and is never asked. A new prefix
    # keeps its service database locked for a while after wineboot.
    local end=$(($(date +%s) + 30))
    until wine sc query RpcSs 2>/dev/null | grep -q RUNNING; do
        [ "$(date +%s)" -lt "$end" ] || { echo "FAIL Wine's RpcSs service did not start"; exit 1; }
        wine sc start RpcSs >/dev/null 2>&1 || sleep 1
    done
}

# Wine 8 looks ProgIDs up in HKEY_CLASSES_ROOT without the per-user classes
# (HKCU\Software\Classes), so the stand-in is registered for the machine.
readonly kProgIds=$(office_progids)
standin_register() {  # PROGID [SWITCHES...]: that ProgID alone
    local id
    for id in $kProgIds; do wine "$standin_exe" /unregserver "$id" --machine; done
    wine "$standin_exe" /regserver "$1" --machine --log 'C:\standin\standin.log' "${@:2}"
}

# How many stand-in processes of this prefix run.
standin_running() {
    local p n=0
    for p in $(pgrep -f 'office_standin\.exe' || true); do
        grep -qzx "WINEPREFIX=$WINEPREFIX" "/proc/$p/environ" 2>/dev/null && n=$((n + 1))
    done
    echo "$n"
}
# The operator closes every stand-in window; each such process ends with it.
standin_close_all() {
    local end=$(($(date +%s) + 10))
    wine taskkill /IM office_standin.exe >/dev/null 2>&1 || true
    while [ "$(standin_running)" -gt 0 ] && [ "$(date +%s)" -lt "$end" ]; do sleep 0.5; done
    [ "$(standin_running)" -eq 0 ] || wine taskkill /F /IM office_standin.exe >/dev/null 2>&1 || true
}
log_mark=0
log_since_mark() { tail -n +$((log_mark + 1)) "$standin_log" 2>/dev/null || true; }
# The stand-in's log of the last case, for a look after a failed check.
keep_log() { log_since_mark >"$root/build-win-standin/last-case.log"; }
mark_log() { log_mark=$(wc -l <"$standin_log" 2>/dev/null || echo 0); rm -f "$cells_table"; }
# The processes of the lines since the mark that did NAME, in order.
pids_that() { log_since_mark | { grep -F "$1" || true; } | awk '{print $2}' | uniq | xargs; }
members_of() {  # PID: its calls' object.member, in order
    log_since_mark | awk -v p="$1" '$2 == p && $3 == "call" && $5 != "failed" {print $5}' |
        sed 's/(.*//' | xargs
}
shown_standin() { xdotool search --onlyvisible --name "^$kStandinTitle\$" 2>/dev/null | wc -l; }
# Whether the log since the mark has the line, waiting up to SECONDS for it.
logged() {  # LINE SECONDS
    local end=$(($(date +%s) + $2))
    until log_since_mark | grep -qxF "$1"; do
        [ "$(date +%s)" -lt "$end" ] || { echo no; return; }
        sleep 0.3
    done
    echo yes
}

# 导出表格, then waits until the stand-in shows the workbook or a message box
# opens; a message's text goes to $message and the box is answered.
message=
print_bill() {  # SECONDS
    local end=$(($(date +%s) + $1))
    message=
    click ${at[Command4]}
    while [ "$(date +%s)" -lt "$end" ]; do
        if [ "$(visible_windows)" -ge 2 ]; then
            sleep 0.5
            message=$(read_message)
            keys Return
            wait_windows 1 5
            return
        fi
        [ "$(shown_standin)" -ge 1 ] && { sleep 1; return; }
        sleep 0.3
    done
}

# The 65 cells of the bill on screen (the worked example's figures, the party
# texts and the captions as a pass leaves them), at the places the cell map
# gives, as the stand-in records them by row and column: a bill number that
# is a plain decimal as VT_R8, any other text behind Excel's literal-text
# mark, an empty one empty.
expected_cells() {
    local row column field kind text
    printf 'row\tcolumn\ttype\tvalue\n'
    while IFS=$'\t' read -r row column field kind; do
        case $field in
        Text1\(* | Text2\(* | Text3\(* | Text4\(* | Text5\(* | Text6\(* | Text7\(* | Text8 | Text9)
            text=$(case_text "$worked.out" "$field") ;;
        *) text=$(case_text "$parties.out" "$field") ;;
        esac
        if [ "$kind" = number ] && [[ $text =~ ^[+-]?([0-9]+\.?[0-9]*|\.[0-9]+)$ ]]; then
            printf '%s\t%s\tVT_R8\t%s\n' "$row" "$column" "$(awk -v t="$text" 'BEGIN { printf "%.15g", t }')"
        elif [ -z "$text" ]; then
            printf '%s\t%s\tVT_BSTR\t\n' "$row" "$column"
        else
            printf "%s\t%s\tVT_BSTR\t'%s\n" "$row" "$column" "$text"
        fi
    done < <(awk -F'\t' '$1 == "cell" { print $2 "\t" $3 "\t" $4 "\t" $5 }' <<<"$facts") | sort -n -k1,1 -k2,2
}

# One print that lands: the table, the first instance told Save, Close,
# Quit and gone, the second showing d:\Tarnel账单.xls and running.
check_landed() {  # CASE
    local first second
    check "$1: the 65 cells landed" "$(expected_cells)" "$(cat "$cells_table" 2>/dev/null)"
    first=$(pids_that "saved 65 cells")
    second=$(pids_that "visible true")
    check "$1: first instance's last calls" "Workbook.Save Workbooks.Close Application.Quit" \
        "$(members_of "$first" | awk '{print $(NF-2), $(NF-1), $NF}')"
    check "$1: first instance ended after Quit" yes \
        "$(log_since_mark | grep -qxF "pid $first end after Quit" && echo yes || echo no)"
    check "$1: second instance opened the workbook" yes \
        "$(log_since_mark | grep -E "^pid $second call [0-9]+: " |
            grep -qF 'Workbooks.Open(VT_BSTR "d:\\Tarnel账单.xls")' && echo yes || echo no)"
    check "$1: second instance shown and running, alone" "1 1 no" \
        "$(standin_running) $(shown_standin) $(log_since_mark | grep -qF "pid $second end" && echo yes || echo no)"
    check "$1: no message" "" "$message"
    # The stand-in shows itself without taking the foreground, as an office
    # in the background must: the program brings it there.
    check "$1: the shown workbook came to the front" yes \
        "$(logged "pid $second foreground: its window" 5)"
    keep_log
}

# The calls that decide whether a workbook's macros run, in order:
# AutomationSecurity read (bare) or set (=VALUE), and Workbooks.Open.
macro_steps() {
    log_since_mark |
        grep -oE ': (Application\.AutomationSecurity put\(VT_I4 [0-9]+|Application\.AutomationSecurity\(|Workbooks\.Open\()' |
        sed 's/^: //; s/($//; s/ put(VT_I4 /=/' | xargs
}

bill_unchanged() {  # CASE
    check "$1: bill kept, Text7(1)" "$(case_text "$worked.out" "Text7(1)")" "$(read_box $(cell 7 1))"
    check "$1: bill kept, Text10" "$(case_text "$parties.in" Text10)" "$(read_box ${at[Text10]})"
    check "$1: window answers" "yes 1" "$(alive) $(visible_windows)"
}

# A line of the report: case, the message's first line, stand-ins left,
# cells saved, and where the operator's office served: its workbook kept.
summary() {  # CASE [OPERATORS-WORKBOOK]
    local cells=0 text
    [ -f "$cells_table" ] && cells=$(($(wc -l <"$cells_table") - 1))
    # The message box as copied: its title, text and button between dashes.
    text=$(tr -d '\r' <<<"$message" | sed 's/[[:space:]]*$//' |
        grep -vxE -e '-+' -e 'Cubrix' -e '确定' -e '' | paste -sd ' ' || true)
    local kept=
    [ -z "${2:-}" ] || kept=" | operator's workbook $2"
    printf 'case | %s | %s | %s stand-in(s) left | %s cells saved%s\n' "$1" "${text:-none}" \
        "$(standin_running)" "$cells" "$kept" >>"$print_summary"
}
print_summary=$home/print-summary.txt

told() {  # TEXT: whether the last message holds it
    grep -qF "$1" <<<"$message" && echo yes || echo no
}

# A print that the office fails: the message, the bill kept, the window
# answering, and no stand-in left (none had been shown).
check_refused() {  # CASE TEXT [STAND-INS-LEFT]
    check "$1: the operator is told" yes "$(told "$2")"
    [ "$(told "$2")" = yes ] || echo "     the message: $message"
    bill_unchanged "$1"
    check "$1: stand-ins left" "${3:-0}" "$(standin_running)"
    summary "$1"
    keep_log
}

print_landing() {  # CASE PROGID [SWITCHES...]
    standin_close_all
    standin_register "${@:2}"
    mark_log
    print_bill 60
    check_landed "$1"
    summary "$1"
}

print_failing() {  # CASE SECONDS PROGID [SWITCHES...]: registered, printed, timed
    standin_close_all
    standin_register "${@:3}"
    mark_log
    local started=$(date +%s)
    print_bill "$2"
    elapsed=$(($(date +%s) - started))
}

# The operator's own office, started by hand before the print: one process
# serving every caller, holding a workbook of the operator's not yet saved.
shared_pid=
start_shared() {  # PROGID [SWITCHES...]
    standin_close_all
    standin_register "$@"
    mark_log
    wine "$standin_exe" --progid "$1" --shared --log 'C:\standin\standin.log' "${@:2}" &
    local end=$(($(date +%s) + 20))
    until log_since_mark | grep -q " start $1 CoRegisterClassObject 0x00000000"; do
        [ "$(date +%s)" -lt "$end" ] || break
        sleep 0.3
    done
    shared_pid=$(pids_that " start $1 ")
}
# Whatever the print did, the operator's office runs on with its workbook:
# never Workbooks.Close, never Quit, never ended. Closed by the operator at
# the end, it still holds the workbook.
check_shared_survived() {  # CASE
    check "$1: every call went to the operator's office" "$shared_pid" \
        "$(log_since_mark | awk '$3 == "call" {print $2}' | sort -u | xargs)"
    check "$1: the operator's office was never told to close all or quit" 0 \
        "$(members_of "$shared_pid" | tr ' ' '\n' | grep -cxE 'Workbooks.Close|Application.Quit' || true)"
    check "$1: the operator's office still runs" "1 no" \
        "$(standin_running) $(log_since_mark | grep -qF "pid $shared_pid end" && echo yes || echo no)"
    local intact=kept
    log_since_mark | grep -qE "the operator's workbook closed|Quit with the operator's|pid $shared_pid end" &&
        intact=lost
    summary "$1" "$intact"
    wine taskkill /PID "$shared_pid" >/dev/null 2>&1 || true
    check "$1: the operator's workbook intact when the operator closes the office" yes \
        "$(logged "pid $shared_pid the operator's workbook intact at the end" 10)"
    keep_log
    standin_close_all
}

print_cases() {
    local first second
    standin_register Excel.Application
    mark_log
    click ${at[Command4]}
    wait_windows 2 20
    check "print reminder shown" yes \
        "$(grep -qF "$(message_text reminder)" <<<"$(read_message)" && echo yes || echo no)"
    keys Return
    wait_windows 1 5
    local end=$(($(date +%s) + 60))
    while [ "$(shown_standin)" -lt 1 ] && [ "$(visible_windows)" -lt 2 ] &&
        [ "$(date +%s)" -lt "$end" ]; do
        sleep 0.3
    done
    sleep 1
    message=
    [ "$(visible_windows)" -ge 2 ] && { message=$(read_message); keys Return; wait_windows 1 5; }
    check_landed "first print"
    bill_unchanged "first print"
    summary "first print"

    print_landing "second print" Excel.Application
    print_landing "KET.Application only" KET.Application
    check "KET.Application only: both instances are KET's" 2 \
        "$(log_since_mark | grep -c ' start KET.Application ')"
    print_landing "ET.Application only" ET.Application
    check "ET.Application only: both instances are ET's" 2 \
        "$(log_since_mark | grep -c ' start ET.Application ')"

    # Busy for a moment: the refused calls are retried and the print lands.
    # Wine serves a call that the office answered "retry later" at once, so
    # the stand-in refuses the way Wine does pass on.
    print_landing "busy for 3 s" Excel.Application --busy-rejected 3
    check "busy for 3 s: calls were refused" yes \
        "$(log_since_mark | grep -qF 'busy: refusing calls' && echo yes || echo no)"
    # Busy past the program's wait, in both passes.
    print_failing "busy past the wait" 120 Excel.Application --busy-rejected 60
    check_refused "busy past the wait" "$(message_text Unresponsive)"
    echo "busy past the wait: told after $elapsed s"

    # The office dies at its first cell, in both passes; then it is healthy.
    print_failing "office ends at Cells" 60 Excel.Application --die-at Cells
    check_refused "office ends at Cells" "$(message_text OfficeClosed)"
    print_landing "healthy again after it ended" Excel.Application

    # The office hangs at its first cell: each pass is ended at the bound.
    print_failing "office hangs at Cells" 150 Excel.Application --hang-at Cells
    check_refused "office hangs at Cells" "$(message_text TimedOut)"
    check "office hangs at Cells: told within two bounds of 30 s" yes \
        "$([ "$elapsed" -le 75 ] && echo yes || echo no)"
    echo "office hangs at Cells: told after $elapsed s"

    # Open itself hangs, as Excel asking about an Excel 4.0 macro sheet in a
    # hidden instance: each pass is ended at the bound as well.
    print_failing "office hangs at Open" 150 Excel.Application --hang-at Open
    check_refused "office hangs at Open" "$(message_text TimedOut)"
    check "office hangs at Open: each pass hung at Open" 2 \
        "$(log_since_mark | grep -cE 'hangs at call' || true)"
    check "office hangs at Open: told within two bounds of 30 s" yes \
        "$([ "$elapsed" -le 75 ] && echo yes || echo no)"
    echo "office hangs at Open: told after $elapsed s"

    print_failing "workbook read-only" 60 Excel.Application --read-only
    check_refused "workbook read-only" "$(message_text WorkbookLocked)"
    check "workbook read-only: each pass closed it unsaved and quit" \
        "Workbook.Close Application.Quit Workbook.Close Application.Quit" \
        "$(log_since_mark | awk '$3 == "call" {print $5}' | sed 's/(.*//' |
            grep -E '^(Workbook.Close|Application.Quit)$' | xargs)"

    print_failing "Open refused with an office's own error" 60 Excel.Application \
        --open-fails '800A03EC:文件已损坏'
    check_refused "Open refused with an office's own error" "文件已损坏"

    # A file there that is no workbook, or an empty one: the operator is told
    # to put the template in its place, and the file is left as it is.
    mv "$home/d/Tarnel账单.xls" "$home/d/moved.xls"
    printf '这不是账单工作簿\n%.0s' $(seq 800) >"$home/d/Tarnel账单.xls"
    local sum
    sum=$(md5sum <"$home/d/Tarnel账单.xls")
    print_failing "workbook not a workbook" 60 Excel.Application \
        --open-fails '800A03EC:文件格式或文件扩展名无效'
    check_refused "workbook not a workbook" "$(message_text Damaged)"
    check "workbook not a workbook: the file is left as it is" "$sum" \
        "$(md5sum <"$home/d/Tarnel账单.xls")"
    : >"$home/d/Tarnel账单.xls"
    print_failing "workbook empty" 60 Excel.Application
    check_refused "workbook empty" "$(message_text Damaged)"
    check "workbook empty: no office was asked to open it" 0 \
        "$(log_since_mark | grep -c 'Workbooks.Open' || true)"
    rm "$home/d/Tarnel账单.xls"

    print_failing "workbook missing" 60 Excel.Application
    check_refused "workbook missing" "$(message_text FileMissing)"
    check "workbook missing: no office was asked to open it" 0 \
        "$(log_since_mark | grep -c 'Workbooks.Open' || true)"
    mv "$home/d/moved.xls" "$home/d/Tarnel账单.xls"

    # The strict office: what real offices do that the lenient stand-in forgave.
    print_landing "strict lifetime: shown and kept by UserControl" Excel.Application \
        --strict-lifetime
    check "strict lifetime: UserControl set after Visible" "Application.Visible Application.UserControl" \
        "$(members_of "$(pids_that "visible true")" | awk '{print $(NF-1), $NF}')"

    print_landing "Excel busy with a cell in edit from call 10" Excel.Application --busy-at 10
    check "Excel busy from call 10: calls were refused with 0x800AC472" yes \
        "$(log_since_mark | grep -qF 'refused 0x800AC472' && echo yes || echo no)"

    print_landing "compatibility dialog on save" Excel.Application --modal-on-save
    check "compatibility dialog on save: the check turned off before Save" \
        "Workbook.CheckCompatibility Workbook.Save" \
        "$(members_of "$(pids_that "saved 65 cells")" | tr ' ' '\n' |
            grep -E '^Workbook.(CheckCompatibility|Save)$' | xargs)"

    # Told to Quit, the office stays: ended by the program after a while.
    standin_close_all
    standin_register Excel.Application --linger-after-quit
    mark_log
    print_bill 60
    first=$(pids_that "lingers after Quit")
    check "office lingering after Quit: the 65 cells landed" "$(expected_cells)" \
        "$(cat "$cells_table" 2>/dev/null)"
    check "office lingering after Quit: it lingered" yes "$([ -n "$first" ] && echo yes || echo no)"
    check "office lingering after Quit: only the shown one is left" "1 1" \
        "$(standin_running) $(shown_standin)"
    check "office lingering after Quit: no message" "" "$message"
    summary "office lingering after Quit"
    keep_log

    # No Hwnd: the process is unknown, so the office is treated as the
    # operator's: only the bill workbook closed, never Quit, and it ends by
    # itself once released.
    standin_close_all
    standin_register Excel.Application --hwnd-zero
    mark_log
    print_bill 60
    first=$(pids_that "saved 65 cells")
    check "Hwnd answers 0: the 65 cells landed" "$(expected_cells)" \
        "$(cat "$cells_table" 2>/dev/null)"
    check "Hwnd answers 0: the first instance closed only the workbook, never quit" \
        "Workbook.Save Workbook.Close 0" \
        "$(members_of "$first" | tr ' ' '\n' | grep -E '^Workbook.(Save|Close)$' | xargs) $(members_of "$first" | tr ' ' '\n' | grep -cxE 'Workbooks.Close|Application.Quit' || true)"
    check "Hwnd answers 0: the first instance ended by itself" yes \
        "$(logged "pid $first end" 10)"
    check "Hwnd answers 0: only the shown one is left, no message" "1 1 " \
        "$(standin_running) $(shown_standin) $message"
    summary "Hwnd answers 0"
    keep_log

    # A doctored workbook with an opening macro: Excel started through
    # automation would run it at each Open, unseen.
    rm -f "$macro_marker"
    print_landing "workbook with an opening macro" Excel.Application --macros
    check "workbook with an opening macro: macros forced off before each Open" \
        "Application.AutomationSecurity=3 Workbooks.Open Application.AutomationSecurity=3 Workbooks.Open" \
        "$(macro_steps)"
    check "workbook with an opening macro: it ran in neither pass" "0 no" \
        "$(log_since_mark | grep -c 'opening macro ran' || true) $([ -e "$macro_marker" ] && echo yes || echo no)"
    rm -f "$macro_marker"

    print_landing "office without AutomationSecurity" Excel.Application --no-automation-security
    check "office without AutomationSecurity: asked in each pass" 2 \
        "$(log_since_mark | grep -c 'unknown name Application.AutomationSecurity' || true)"

    print_failing "workbook has no sheet Tarnel账单" 60 Excel.Application --sheet Sheet1
    check_refused "workbook has no sheet Tarnel账单" "没有名为“Tarnel账单”的工作表"

    # Another program holds the workbook open for writing; with alerts off
    # the office fails to open it outright.
    standin_close_all
    mark_log
    wine "$standin_exe" /hold 'd:\Tarnel账单.xls' --log 'C:\standin\standin.log' &
    local holder end=$(($(date +%s) + 20))
    until [ -n "$(pids_that ' holds d:')" ] || [ "$(date +%s)" -ge "$end" ]; do sleep 0.3; done
    holder=$(pids_that ' holds d:')
    check "held for writing: the file is held" yes "$([ -n "$holder" ] && echo yes || echo no)"
    standin_register Excel.Application --lock-write
    print_bill 60
    check_refused "workbook held for writing elsewhere" "账单工作簿正在别处打开" 1
    check "held for writing: Open refused in each pass" 2 \
        "$(log_since_mark | grep -c 'failed 0x800A03EC' || true)"
    wine taskkill /F /PID "$holder" >/dev/null 2>&1 || true

    # The operator's own WPS answers KET.Application, hidden and empty as far
    # as the program can see, with a workbook of the operator's unsaved.
    start_shared KET.Application
    print_bill 60
    check "operator's office: the 65 cells landed" "$(expected_cells)" \
        "$(cat "$cells_table" 2>/dev/null)"
    check "operator's office: saved by it" "$shared_pid" "$(pids_that "saved 65 cells")"
    check "operator's office: the bill shown in it, no message" "1 " "$(shown_standin) $message"
    check "operator's office: only the bill workbook closed, alerts back" \
        "Workbook.Close Application.DisplayAlerts=True" \
        "$(log_since_mark | grep -oE ': (Workbook\.Close|Application\.DisplayAlerts put\(VT_BOOL True)' |
            sed 's/^: //; s/ put(VT_BOOL /=/' | tail -n 2 | xargs)"
    check_shared_survived "operator's office"

    # The same doctored workbook in the operator's own office: macros off for
    # each Open, and the operator's setting back right after it.
    rm -f "$macro_marker"
    start_shared KET.Application --macros
    print_bill 60
    check "operator's office, opening macro: the 65 cells landed" "$(expected_cells)" \
        "$(cat "$cells_table" 2>/dev/null)"
    check "operator's office, opening macro: the setting read, forced off, put back at each Open" \
        "Application.AutomationSecurity Application.AutomationSecurity=3 Workbooks.Open Application.AutomationSecurity=1 Application.AutomationSecurity Application.AutomationSecurity=3 Workbooks.Open Application.AutomationSecurity=1" \
        "$(macro_steps)"
    check "operator's office, opening macro: it ran in neither pass" "0 no" \
        "$(log_since_mark | grep -c 'opening macro ran' || true) $([ -e "$macro_marker" ] && echo yes || echo no)"
    check_shared_survived "operator's office, opening macro"
    check "operator's office, opening macro: its AutomationSecurity back at 1" yes \
        "$(logged "pid $shared_pid AutomationSecurity 1 at the end" 10)"
    rm -f "$macro_marker"

    start_shared KET.Application --open-fails '800A03EC:文件已损坏'
    print_bill 60
    check "operator's office, Open refused: the operator is told" yes "$(told "文件已损坏")"
    bill_unchanged "operator's office, Open refused"
    check_shared_survived "operator's office, Open refused"

    start_shared KET.Application --sheet Sheet1
    print_bill 60
    check "operator's office, no such sheet: the operator is told" yes \
        "$(told "没有名为“Tarnel账单”的工作表")"
    bill_unchanged "operator's office, no such sheet"
    check_shared_survived "operator's office, no such sheet"

    standin_close_all
    local id
    for id in $kProgIds; do wine "$standin_exe" /unregserver "$id" --machine; done
    cat "$print_summary"
}
