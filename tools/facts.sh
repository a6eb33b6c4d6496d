# Sourced by the scripts that drive the real window (they set $root): the
# facts they need, from the program's own tables through tools/window-facts
# (built here for Linux when missing or out of date: the facts are the same
# on Windows), and the bills they key, from the probe's cases
# (tests/probe/cases/NAME.in, what the fields show after a pass in NAME.out).
facts_build=${CUBRIX_BUILD:-$root/build}
if [ ! -f "$facts_build/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$facts_build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$facts_build" --target window-facts >/dev/null
facts=$("$facts_build/tools/window-facts")
fact_messages=$("$facts_build/tools/window-facts" --messages)

# NAME -> "LEFT TOP WIDTH HEIGHT" in pixels at scale 1.
control_rect() {
    awk -F'\t' -v n="$1" '$1 == "control" && $2 == n { print $3, $4, $5, $6; f = 1 }
        END { exit !f }' <<<"$facts" || { echo "no control $1" >&2; return 1; }
}
# NAME -> "X Y", the centre, which every control shows (no neighbour covers it).
centre() {
    awk -F'\t' -v n="$1" '$1 == "control" && $2 == n { print $7, $8; f = 1 }
        END { exit !f }' <<<"$facts" || { echo "no control $1" >&2; return 1; }
}
window_size() { awk -F'\t' '$1 == "window" { print $2 "x" $3 }' <<<"$facts"; }
# The ProgIDs Windows is asked for, in order.
office_progids() { awk -F'\t' '$1 == "office" { print $2 }' <<<"$facts" | xargs; }
office_name() { awk -F'\t' -v id="$1" '$1 == "office" && $2 == id { print $3 }' <<<"$facts"; }
# KIND ("reminder", "CannotStart", ...) -> the message's opening; a kind the
# tool does not know gives a text no message holds.
message_text() {
    awk -F'\t' -v k="$1" '$1 == "message" && $2 == k { print $3; f = 1 }
        END { if (!f) print "<no message " k " in window-facts>" }' <<<"$fact_messages"
}

# CASE FIELD -> the field's text in tests/probe/cases/CASE (.in or .out), its
# escapes undone; empty when the case does not name the field.
case_text() {
    local line
    line=$(awk -F'\t' -v n="$2" '$1 == n { sub(/^[^\t]*\t/, ""); print; exit }' \
        "$root/tests/probe/cases/$1")
    printf '%b' "$line"
}
# CASE.in -> one line per bill row that the case keys: ROW, then the inputs
# in tab order (Text1, Text2, Text3, Text4, Text6), separated by the unit
# separator (\037, so that `read` keeps empty fields); a field the case leaves
# out is empty.
case_rows() {
    awk -F'\t' '
        match($1, /^Text[12346]\([0-7]\)$/) {
            c = substr($1, 5, 1); r = substr($1, 7, 1)
            v[r, c] = $2; keyed[r] = 1
        }
        END {
            for (r = 0; r < 8; r++) if (r in keyed)
                printf "%d\037%s\037%s\037%s\037%s\037%s\n", r, v[r, 1], v[r, 2], v[r, 3], v[r, 4], v[r, 6]
        }' "$root/tests/probe/cases/$1"
}
