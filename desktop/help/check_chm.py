#!/usr/bin/env python3
"""Reads a built quillrun.chm back and checks it against its sources: every
page, the contents and the index are in it byte for byte, the default topic
is index.htm, the language is Japanese (0x411) and the title is the
project's. Usage: check_chm.py CHM SOURCE_FOLDER"""
import os
import re
import struct
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts"))
from testrun import Checks  # noqa: E402

check = Checks()


def system_entries(data):
    """The #SYSTEM file: a version, then (code, length, data) entries."""
    entries = {}
    pos = 4
    while pos + 4 <= len(data):
        code, length = struct.unpack_from("<HH", data, pos)
        entries[code] = data[pos + 4:pos + 4 + length]
        pos += 4 + length
    return entries


def main(chm, sources):
    with open(os.path.join(sources, "quillrun.hhp"), "rb") as f:
        project = f.read().decode("cp932")
    files = project.split("[FILES]", 1)[1].split()
    check(bool(files), "the project lists its files")
    with tempfile.TemporaryDirectory() as out:
        run = subprocess.run(["extract_chmLib", chm, out], stdout=subprocess.DEVNULL,
                             stderr=subprocess.PIPE)
        check(run.returncode == 0, "extract_chmLib read the file")
        for name in files + ["toc.hhc", "index.hhk"]:
            path = os.path.join(out, name)
            with open(os.path.join(sources, name), "rb") as f:
                source = f.read()
            inside = open(path, "rb").read() if os.path.isfile(path) else None
            check(inside == source, name + " is in the file as written")
        # Every page is in the contents and reachable, and every link works.
        toc = open(os.path.join(sources, "toc.hhc"), "rb").read().decode("cp932")
        for name in files:
            if name.endswith(".htm"):
                check('value="%s"' % name in toc, name + " is in the contents")
                page = open(os.path.join(sources, name), "rb").read().decode("cp932")
                check("charset=Shift_JIS" in page, name + " declares Shift_JIS")
                for link in re.findall(r'href="([^"#]+)', page):
                    check(link in files, "%s links to %s, which is in the file" % (name, link))
        with open(os.path.join(out, "#SYSTEM"), "rb") as f:
            system = system_entries(f.read())
    check(system.get(2, b"").rstrip(b"\0") == b"index.htm", "the default topic is index.htm")
    lcid = struct.unpack_from("<I", system.get(4, b"\0\0\0\0"), 0)[0]
    check(lcid == 0x411, "the language is 0x411 (%#x)" % lcid)
    title = system.get(3, b"").rstrip(b"\0").decode("cp932", errors="replace")
    check(title == "Quillbox ヘルプ", "the title is %r" % title)
    return check.exit_status("quillrun.chm")


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], sys.argv[2]))
