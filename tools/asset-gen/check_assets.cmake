# Checks that every picture the window loads is present, is a PNG and has the
# pixel size the layout expects.
#   cmake -DDIR=<assets dir> -P check_assets.cmake
if(NOT DEFINED DIR)
    message(FATAL_ERROR "pass -DDIR=<assets dir>")
endif()

# name width height (the "@2x" drawings have twice the pixels each way)
set(expected
    background.png 628 482
    icon-16.png 16 16
    icon-24.png 24 24
    icon-32.png 32 32
    icon-48.png 48 48
    icon-64.png 64 64
    icon-128.png 128 128
    icon-256.png 256 256
    command1.png 81 33
    command1-pressed.png 81 33
    command4.png 81 33
    command4-pressed.png 81 33
    command5.png 81 33
    command5-pressed.png 81 33
    command6.png 81 33
    command6-pressed.png 81 33
    command2.png 81 25
    background@2x.png 1256 964
    command1@2x.png 162 66
    command1-pressed@2x.png 162 66
    command4@2x.png 162 66
    command4-pressed@2x.png 162 66
    command5@2x.png 162 66
    command5-pressed@2x.png 162 66
    command6@2x.png 162 66
    command6-pressed@2x.png 162 66
    command2@2x.png 162 50
)

set(failures 0)
list(LENGTH expected count)
math(EXPR last "${count} - 1")
foreach(i RANGE 0 ${last} 3)
    math(EXPR wi "${i} + 1")
    math(EXPR hi "${i} + 2")
    list(GET expected ${i} name)
    list(GET expected ${wi} want_w)
    list(GET expected ${hi} want_h)
    set(path "${DIR}/${name}")
    if(NOT EXISTS "${path}")
        message(SEND_ERROR "${name}: missing")
        math(EXPR failures "${failures} + 1")
        continue()
    endif()
    # Signature (8 bytes), then the IHDR chunk: length, type, width, height.
    file(READ "${path}" head LIMIT 24 HEX)
    string(LENGTH "${head}" digits)
    set(signature "")
    set(chunk "")
    if(digits EQUAL 48)
        string(SUBSTRING "${head}" 0 16 signature)
        string(SUBSTRING "${head}" 24 8 chunk)
    endif()
    if(NOT signature STREQUAL "89504e470d0a1a0a" OR NOT chunk STREQUAL "49484452")
        message(SEND_ERROR "${name}: not a PNG file")
        math(EXPR failures "${failures} + 1")
        continue()
    endif()
    string(SUBSTRING "${head}" 32 8 w_hex)
    string(SUBSTRING "${head}" 40 8 h_hex)
    math(EXPR w "0x${w_hex}")
    math(EXPR h "0x${h_hex}")
    if(NOT w EQUAL want_w OR NOT h EQUAL want_h)
        message(SEND_ERROR "${name}: ${w}x${h}, expected ${want_w}x${want_h}")
        math(EXPR failures "${failures} + 1")
    endif()
endforeach()

if(failures GREATER 0)
    message(FATAL_ERROR "${failures} picture(s) wrong")
endif()
math(EXPR files "${count} / 3")
message(STATUS "${files} pictures checked")
