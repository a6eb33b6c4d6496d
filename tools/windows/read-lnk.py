#!/usr/bin/env python3
"""Prints what a Windows shortcut (.lnk) points at, one "key=value" a line:
target, working_dir, arguments, icon, icon_index. Reads the shell link
format's header, its link info (the target's local path) and its string data.
   read-lnk.py FILE.lnk"""
import struct
import sys

HAS_ID_LIST, HAS_LINK_INFO = 0x1, 0x2
# The optional strings, in the order they are stored.
STRINGS = [(0x4, "name"), (0x8, "relative_path"), (0x10, "working_dir"),
           (0x20, "arguments"), (0x40, "icon")]
IS_UNICODE = 0x80


def c_string(data, at, wide):
    if wide:
        end = at
        while data[end:end + 2] != b"\0\0":
            end += 2
        return data[at:end].decode("utf-16-le")
    # The ANSI path is in the code page of a Chinese Windows.
    return data[at:data.index(b"\0", at)].decode("cp936", "replace")


def read(data):
    size, = struct.unpack_from("<I", data, 0)
    if size != 0x4C:
        raise ValueError("not a shell link")
    flags, = struct.unpack_from("<I", data, 20)
    icon_index, = struct.unpack_from("<i", data, 56)
    out = {"icon_index": str(icon_index)}
    at = size
    if flags & HAS_ID_LIST:
        at += 2 + struct.unpack_from("<H", data, at)[0]
    if flags & HAS_LINK_INFO:
        info_size, header_size, _, _, base = struct.unpack_from("<5I", data, at)
        if header_size >= 0x24:
            wide_base, = struct.unpack_from("<I", data, at + 28)
            out["target"] = c_string(data, at + wide_base, True)
        else:
            out["target"] = c_string(data, at + base, False)
        at += info_size
    wide = bool(flags & IS_UNICODE)
    for bit, key in STRINGS:
        if flags & bit:
            count, = struct.unpack_from("<H", data, at)
            at += 2
            width = 2 if wide else 1
            text = data[at:at + count * width]
            # Wine counts the terminating NUL as well; Windows does not.
            out[key] = text.decode("utf-16-le" if wide else "cp936", "replace").rstrip("\0")
            at += count * width
    return out


if __name__ == "__main__":
    with open(sys.argv[1], "rb") as f:
        for key, value in read(f.read()).items():
            print(f"{key}={value}")
