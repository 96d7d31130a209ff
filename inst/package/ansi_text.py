#!/usr/bin/env python3
"""Writes a UTF-8 text of the package as the installer reads it: code page
932 (Shift-JIS) with CR LF line ends. Fails on a character that code page
932 cannot hold, so that nothing is written wrongly.

    ansi_text.py SOURCE TARGET
"""
import sys


def main(source, target):
    with open(source, encoding="utf-8") as f:
        text = f.read()
    text = text.replace("\r\n", "\n").replace("\n", "\r\n")
    data = text.encode("cp932")
    with open(target, "wb") as f:
        f.write(data)
    return 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
