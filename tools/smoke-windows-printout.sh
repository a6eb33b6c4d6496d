# Sourced by tools/smoke-windows.sh: the bill drawn by the program itself,
# saved as PDF from the real cubrix.exe under Wine the way an operator does it
# (Ctrl+S, the file dialog, Enter on the suggested name), then read back with
# pdftotext. Uses the smoke test's wid, keys, check, wait_windows, shown and
# keyed_rows; call printout_cases with the worked example in the window, and
# printout_with_face once the window has ended.

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

printout_cases() {  # [WHAT: told in the checks' names]
    local documents day pdf text tag="PDF${1:+ with $1}"
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
    check "$tag: the title" yes "$(has '^ *木材销售清单 *$')"
    check "$tag: the date" yes "$(has "日期 +${day:0:4}年${day:5:2}月${day:8:2}日")"
    check "$tag: the party captions" yes "$(has '^ *购货单位 +车号 *$')"
    check "$tag: the column heads" yes \
        "$(has '长\(米\) +宽\(毫米\) +厚\(毫米\) +件数 +材积\(立方米\) +单价\(元/立方米\) +金额\(元\)')"
    check "$tag: the lower captions" yes "$(has '^ *出货单位 +联系人 *$')"
    # Each keyed line as the window shows it: its texts in order, blanks
    # between them, the empty ones left out.
    local row column pattern t total_amount
    for row in "${keyed_rows[@]}"; do
        pattern=""
        for column in 1 2 3 4 5 6 7; do
            t=$(shown "Text$column($row)")
            if [ -n "$t" ]; then pattern+="${pattern:+ +}${t//./\\.}"; fi
        done
        check "$tag: line $((row + 1))" yes "$(has "(^| )$pattern *\$")"
    done
    total_amount=$(shown Text9)
    pattern="合计 +$(shown Text8) +${total_amount%??}"  # two decimals on the page
    check "$tag: the totals" yes "$(has "${pattern//./\\.} *\$")"
    check "$tag: the amount in capitals" yes "$(has '大写金额 +人民币柒佰陆拾伍元捌角贰分')"
    check "$tag: the sign-off captions" yes "$(has '经手人 +收货人')"
    rm -f "$pdf"
}

# The same save in a program started with another face standing in for 宋体
# (the smoke test's simsun_stand_in and key_worked_example), the only Chinese
# face that this program's Wine finds: Noto CJK draws radicals such as ⽊ and
# ideographs such as 木 with one glyph, and the PDF must still read 木材 (the
# PDF names the face SimSun either way). The first program has ended; AR PL
# UMing is put back afterwards.
printout_with_face() {  # FACE FOLDER-OF-ITS-FILES
    simsun_stand_in "$1"
    cat >"$home/one-face.conf" <<CONF
<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">
<fontconfig><dir>$2</dir><cachedir>$home/fontconfig-cache</cachedir></fontconfig>
CONF
    (cd "$home/app" && FONTCONFIG_FILE=$home/one-face.conf exec wine cubrix.exe) &
    pid=$!
    wid=
    for _ in $(seq 120); do
        wid=$(xdotool search --onlyvisible --name '^Cubrix$' 2>/dev/null | head -n 1 || true)
        [ -n "$wid" ] && break
        sleep 0.5
    done
    check "the program starts with $1 alone for 宋体" yes "$([ -n "$wid" ] && echo yes || echo no)"
    if [ -n "$wid" ]; then
        sleep 1
        key_worked_example
        printout_cases "$1"
        click ${at[Command5]}
        for _ in $(seq 40); do
            kill -0 "$pid" 2>/dev/null || break
            sleep 0.25
        done
    fi
    kill "$pid" 2>/dev/null || true
    pid=
    simsun_stand_in "AR PL UMing CN"
}
