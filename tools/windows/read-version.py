#!/usr/bin/env python3
"""Prints the strings of a Windows version resource (VS_VERSIONINFO, as
`wrestool -x --raw -t16` extracts it), one "key=value" a line.
   read-version.py FILE.res"""
import struct
import sys


def align(at):
    return (at + 3) & ~3


def block(data, at):
    """One block: its key, its value's bytes (text in UTF-16) and its children."""
    length, value_length, is_text = struct.unpack_from("<3H", data, at)
    end = at + length
    key_end = at + 6
    while data[key_end:key_end + 2] != b"\0\0":
        key_end += 2
    key = data[at + 6:key_end].decode("utf-16-le")
    value_at = align(key_end + 2)
    value = data[value_at:value_at + value_length * (2 if is_text else 1)]
    children = []
    child = align(value_at + len(value))
    while child < end:
        children.append(block(data, child))
        child = align(child + struct.unpack_from("<H", data, child)[0])
    return key, value, children


def strings(data):
    _, _, children = block(data, 0)
    for key, _, tables in children:
        if key != "StringFileInfo":
            continue
        for _, _, entries in tables:
            for name, value, _ in entries:
                yield name, value.decode("utf-16-le").rstrip("\0")


if __name__ == "__main__":
    with open(sys.argv[1], "rb") as f:
        for name, value in strings(f.read()):
            print(f"{name}={value}")
