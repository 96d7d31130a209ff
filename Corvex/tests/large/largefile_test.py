#!/usr/bin/env python3
"""A real mail file of more than 4 GiB through the real library and tool:
an mbox of five messages, one of them a body of 4 GiB of text lines, one
whose separator and header straddle the 4 GiB mark, two after it. Checked:
the count (the console tool's text and the count call), the byte total, every
progress report as two 64-bit values, and every output file by its size and
SHA-256 (none is held in memory). The file and the outputs are removed at the
end, also when a check fails; with too little free disk the test is skipped
(exit status 77) and says so.

    largefile_test.py --driver PROGRESS_DRIVER --kelpo KELPO --work DIR [--wine WINE_RUN]
"""
import hashlib
import os
import re
import shutil
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "..", "scripts"))
from testrun import fresh_folder, program_arguments, run_program, windows_path  # noqa: E402

G4 = 1 << 32
SEP = b"From big@example.invalid Sat Jan  1 00:00:00 2000\n"
FILLER_LINE = 64  # bytes of each body line of the large messages


def header(n):
    return (b"Return-Path: <a@example.invalid>\nReceived: from mx.example.invalid\n"
            b"Date: Sat, 1 Jan 2000 00:00:00 +0000\nFrom: a@example.invalid\n"
            b"To: b@example.invalid\nSubject: big %d\nMessage-Id: <%d@example.invalid>\n"
            b"MIME-Version: 1.0\n\n" % (n, n))


def filler_block():
    """1 MiB of body lines that begin with digits: no header, no separator."""
    lines = []
    for i in range((1 << 20) // FILLER_LINE):
        text = b"%07d the quick brown fox jumps over the lazy dog, again and" % i
        lines.append(text[:FILLER_LINE - 1].ljust(FILLER_LINE - 1, b".") + b"\n")
    return b"".join(lines)


class Builder:
    """Writes the file and remembers each message's span and digest."""

    def __init__(self, path):
        self.out = open(path, "wb")
        self.offset = 0
        self.separators = []
        self.bodies = []   # offset of each message's first body line
        self.messages = []  # (length, sha256) of each message as an mbox split gives it
        self.digest = None
        self.length = 0

    def write(self, data, in_message=True):
        self.out.write(data)
        self.offset += len(data)
        if in_message and self.digest is not None:
            self.digest.update(data)
            self.length += len(data)

    def message(self, n, body_bytes=b"", filler_until=None, filler=None, empty_line=True):
        """One message; with empty_line, the empty line that mbox writers put
        after it, which the split leaves out."""
        self.end_message()
        self.separators.append(self.offset)
        self.write(SEP, in_message=False)
        self.digest = hashlib.sha256()
        self.length = 0
        self.write(header(n))
        self.bodies.append(self.offset)
        if filler_until is not None:
            while self.offset + len(filler) <= filler_until:
                self.write(filler)
            rest = filler_until - self.offset
            if rest:
                self.write(filler[:rest - 1] + b"\n")
        self.write(body_bytes)
        if empty_line:
            self.write(b"\n", in_message=False)

    def end_message(self):
        if self.digest is not None:
            self.messages.append((self.length, self.digest.hexdigest()))
        self.digest = None

    def close(self):
        self.end_message()
        self.out.close()


def build(path):
    filler = filler_block()
    b = Builder(path)
    b.message(1, b"hello\n")
    # The third separator begins 40 bytes before the mark: its line and the
    # header after it straddle 2^32.
    b.message(2, filler_until=G4 - 40 - 1, filler=filler)
    assert b.offset == G4 - 40
    b.message(3, b"after the mark\n")
    b.message(4, filler_until=b.offset + (8 << 20), filler=filler)
    b.message(5, b"last\n", empty_line=False)
    b.close()
    return b


def parse(text):
    reports, values = [], {}
    for line in text.decode().splitlines():
        parts = line.split()
        if parts[0] == "report":
            reports.append((int(parts[1]), int(parts[2])))
        else:
            values[parts[0]] = int(parts[1])
    return reports, values


def main():
    options = program_arguments("--driver", "--kelpo").parse_args()
    work = fresh_folder(options.work)
    need = 2 * (G4 + (64 << 20)) + (1 << 30)
    free = shutil.disk_usage(work).free
    if free < need:
        print("SKIPPED: %.1f GiB free at %s, the test needs %.1f GiB (the file and its outputs)"
              % (free / 2**30, work, need / 2**30))
        return 77

    def native(path):
        return windows_path(path) if options.wine else path

    def run(args):
        command = ([options.wine] if options.wine else []) + args
        env = dict(os.environ)
        env.pop("CORVEX_CRITERIA_KEYWORD_COUNT", None)
        status, out, _ = run_program(command, env=env, timeout=1800)
        return status, out.replace(b"\r\n", b"\n")

    failures = []

    def check(name, condition, detail=""):
        if not condition:
            failures.append("%s %s" % (name, detail))

    path = os.path.join(work, "big.mbox")
    try:
        b = build(path)
        size = os.path.getsize(path)
        check("the file passes 4 GiB", size > G4, str(size))
        print("built %s: %d bytes, %d messages" % (path, size, len(b.messages)))

        # Counting reads general text: each search after the first begins
        # right after the header block before it (its empty line included),
        # at its first body line.
        status, text = run([options.driver, "count", native(path)])
        reports, values = parse(text)
        check("count: status", status == 0, str(status))
        check("count: messages", values.get("messages") == 5, repr(values))
        check("count: result", values.get("result") == 0, repr(values))
        check("count: byte total", values.get("total") == size, repr(values))
        want = [(size, 0)] + [(size, body) for body in b.bodies[:-1]]
        check("count: progress reports", reports == want, "%r, want %r" % (reports, want))
        check("count: reports past the mark", any(o >= G4 for _, o in reports))
        status, text = run([options.kelpo, "-c", native(path)])
        check("kelpo -c", status == 0 and re.search(rb": 5\r?\n$", text) is not None, repr(text))

        # Extraction as an mbox: one report per separator (0 for the first).
        out = os.path.join(work, "out")
        status, text = run([options.driver, "extract", "2", native(path), native(out)])
        reports, values = parse(text)
        check("extract: status", status == 0, str(status))
        check("extract: messages", values.get("messages") == 5, repr(values))
        check("extract: result", values.get("result") == 0, repr(values))
        check("extract: byte total", values.get("total") == size, repr(values))
        want = [(size, 0)] + [(size, s) for s in b.separators[1:]]
        check("extract: progress reports", reports == want, "%r, want %r" % (reports, want))
        names = sorted(os.listdir(out)) if os.path.isdir(out) else []
        check("extract: five files", names == ["%05d.eml" % i for i in range(1, 6)], repr(names))
        for name, (length, digest) in zip(names, b.messages):
            got = os.path.join(out, name)
            h = hashlib.sha256()
            with open(got, "rb") as f:
                for chunk in iter(lambda: f.read(1 << 22), b""):
                    h.update(chunk)
            check("extract: %s size" % name, os.path.getsize(got) == length,
                  "%d, want %d" % (os.path.getsize(got), length))
            check("extract: %s bytes" % name, h.hexdigest() == digest)
    finally:
        shutil.rmtree(work, ignore_errors=True)

    for failure in failures:
        print("FAIL:", failure)
    print("%d failed" % len(failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
