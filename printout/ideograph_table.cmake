# Turns Unicode's EquivalentUnifiedIdeograph.txt into rows of a C++ table:
#   cmake -DSOURCE=EquivalentUnifiedIdeograph.txt -DOUTPUT=table.inc -P ideograph_table.cmake
# Each row is {first, last, ideograph}: the radicals and strokes from first to
# last look like that unified ideograph.
file(STRINGS "${SOURCE}" lines REGEX "^[0-9A-F]")
set(rows "")
foreach(line IN LISTS lines)
    if(NOT line MATCHES "^([0-9A-F]+)(\\.\\.([0-9A-F]+))? *; *([0-9A-F]+)")
        message(FATAL_ERROR "unexpected line in ${SOURCE}: ${line}")
    endif()
    set(first "${CMAKE_MATCH_1}")
    set(last "${CMAKE_MATCH_3}")
    if(last STREQUAL "")
        set(last "${first}")
    endif()
    string(APPEND rows "{0x${first}, 0x${last}, 0x${CMAKE_MATCH_4}},\n")
endforeach()
list(LENGTH lines count)
if(count LESS 300)
    message(FATAL_ERROR "${SOURCE} has only ${count} rows")
endif()
file(WRITE "${OUTPUT}.new" "${rows}")
file(COPY_FILE "${OUTPUT}.new" "${OUTPUT}" ONLY_IF_DIFFERENT)
