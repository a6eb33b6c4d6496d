# Sourced by the Wine tests: check NAME EXPECTED ACTUAL counts and prints one
# result; the test ends with echo "$passed passed, $failed failed".
passed=0
failed=0
check() {  # NAME EXPECTED ACTUAL
    if [ "$2" = "$3" ]; then
        passed=$((passed + 1))
        echo "ok   $1"
    else
        failed=$((failed + 1))
        echo "FAIL $1: expected '$2', got '$3'"
    fi
}
