# Sourced by tools/smoke-windows.sh: the bill drawn by the program itself,
# saved as PDF from the real cubrix.exe under Wine the way an operator does it
# (Ctrl+S, the file dialog, Enter on the suggested name), then read back with
# pdftotext. Uses the smoke test's wid, keys, check, wait_windows, shown and
# keyed_rows; call printout_cases with the worked example in the window.

# The prefix's Documents folder is a link to the real home: pointed into the
# test's own folder instead, so that nothing is written there. A prefix with
# a folder of its own there keeps it.
printout_documents() {
    local user_dir documents
    user_dir=$(find "$WINEPREFIX/drive_c/users" -mindepth 1 -maxdepth 1 -type d ! -name Public |
        head -1)
    documents="$user_dir/Documents"
    mkdir -p "$home/documents"
    [ -L "$documents" ] && rm "$documents"  # the link only, never what it points to
    [ -e "$documents" ] || ln -s "$home/documents" "$documents"
    realpath "$documents"
}

printout_cases() {
    local documents day pdf text
    documents=$(printout_documents)
    day=$(date +%Y-%m-%d)
    xdotool windowactivate "$wid" 2>/dev/null || true
    click $(cell 1 0)
    keys ctrl+s
    # The save dialog opens beside the window; Enter keeps the suggested name.
    wait_windows 1 2
    sleep 3
    keys Return
    for _ in $(seq 40); do
        pdf=$(find "$documents" -maxdepth 1 -name '木材销售清单-*.pdf' 2>/dev/null | head -1)
        [ -n "$pdf" ] && break
        sleep 0.5
    done
    check "Ctrl+S saves a PDF in Documents under the suggested name" "木材销售清单-$day.pdf" \
        "$(basename "${pdf:-none}")"
    [ -n "$pdf" ] || return 0
    sleep 1  # written to its end
    text=$(pdftotext -layout "$pdf" - 2>/dev/null || true)
    has() { grep -Eq "$1" <<<"$text" && echo yes || echo no; }
    check "PDF: the title" yes "$(has '^ *木材销售清单 *$')"
    check "PDF: the date" yes "$(has "日期 +${day:0:4}年${day:5:2}月${day:8:2}日")"
    # Each keyed line as the window shows it: its texts in order, blanks
    # between them, the empty ones left out.
    local row column pattern t total_amount
    for row in "${keyed_rows[@]}"; do
        pattern=""
        for column in 1 2 3 4 5 6 7; do
            t=$(shown "Text$column($row)")
            if [ -n "$t" ]; then pattern+="${pattern:+ +}${t//./\\.}"; fi
        done
        check "PDF: line $((row + 1))" yes "$(has "(^| )$pattern *\$")"
    done
    total_amount=$(shown Text9)
    pattern="合计 +$(shown Text8) +${total_amount%??}"  # two decimals on the page
    check "PDF: the totals" yes "$(has "${pattern//./\\.} *\$")"
    check "PDF: the amount in capitals" yes "$(has '大写金额 +人民币柒佰陆拾伍元捌角贰分')"
    check "PDF: the sign-off captions" yes "$(has '经手人 +收货人')"
    rm -f "$pdf"
}
