#!/usr/bin/env python3
"""A model, in plain Python, of the rules by which general text (and @nifty
input, and an mbox before its first separator) is to be split where no
separators help: lines that end at CR LF, CR or LF; field lines judged by
their whole name; a run that may begin with unknown fields; a damaged fold;
the end of a multipart, an encapsulated copy, a part header, a strong start;
the body's MIME structure on a stack of boundaries. It is the reference that
the library's scanner is built against and compared with (realmail_test.py
--model prints its figures); it is slow and keeps everything in memory.

    find_starts(data, kind, threshold) -> the offsets where messages begin
"""
import os
import re
import sys

TABLE_SRC = open(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "Corvex",
                              "core", "HeaderNameTable.cpp")).read()
NAMES = {}
for name, _, _, weight in re.findall(r'\{"([^"]+)", (\d+), (true|false), (\d+)\}', TABLE_SRC):
    if name.endswith(":"):
        NAMES[name[:-1].lower()] = int(weight)

LINE_END = re.compile(rb"\r\n|\r|\n")
FIELD = re.compile(rb"^([A-Za-z][A-Za-z0-9-]*)[ \t]*:")
CLOSE_FORM = re.compile(rb"^--([0-9A-Za-z'()+_,\-./:=? ]{0,69}[0-9A-Za-z'()+_,\-./:=?])--[ \t]*$")
ENCAP = re.compile(rb"^-{3,}[ \t]*(?![Ee][Nn][Dd][ \t])([A-Za-z]+)[ \t]+([A-Za-z]+)")
ARMOR = re.compile(rb"^-----(BEGIN|END) [^-]*-----")
ENCLOSING = (b"message/rfc822", b"message/global", b"message/news", b"text/rfc822-headers",
             b"message/partial")
SENDERS = {"from", "sender", "reply-to", "date", "to", "cc", "bcc", "message-id", "in-reply-to",
           "references", "subject"}
MONTHS = "jan feb mar apr may jun jul aug sep oct nov dec".split()


def split_lines(data):
    """(start, end of content, next start) for every line."""
    lines, p, n = [], 0, len(data)
    while p < n:
        m = LINE_END.search(data, p)
        if not m:
            lines.append((p, n, n))
            break
        lines.append((p, m.start(), m.end()))
        p = m.end()
    return lines


def field_of(text):
    m = FIELD.match(text)
    return m.group(1).decode("ascii").lower() if m else None


def known(name):
    return name in NAMES or name.startswith("x-")


def weight_of(name):
    return NAMES.get(name, 1)


def valid_date(value):
    v = re.sub(rb"\([^()]*\)", b" ", value).decode("latin-1")
    v = " ".join(v.split())
    m = re.match(r"^(?:[A-Za-z]{3}\s*,\s*)?(\d{1,2})\s+([A-Za-z]{3})\s+(\d{2,4})\s+(\d{1,2})\s*:\s*(\d{2})"
                 r"(?:\s*:\s*(\d{2}))?\s*([+-]\d{4}|[A-Za-z]{1,5})?\s*$", v)
    if not m:
        return False
    day, mon, year, hh, mm = int(m.group(1)), m.group(2).lower(), m.group(3), int(m.group(4)), int(m.group(5))
    return mon in MONTHS and 1 <= day <= 31 and hh < 24 and mm < 60


class Header:
    """What a header block (a message's, a part's) says of its body."""
    def __init__(self, data, lines, a, b):
        self.fields = []
        ct = None
        current = None
        for k in range(a, b):
            s, e, _ = lines[k]
            t = data[s:e]
            name = field_of(t)
            if name:
                current = [name, t[t.index(b":") + 1:]]
                self.fields.append(current)
            elif current and t[:1] in (b" ", b"\t"):
                current[1] += b" " + t.strip()
        for name, value in self.fields:
            if name == "content-type":
                ct = value
                break
        self.multipart = None
        self.enclosing = False
        if ct is not None:
            low = ct.strip().lower()
            if low.startswith(b"multipart/"):
                m = re.search(rb'boundary\s*=\s*(?:"([^"]*)"|([^;\s]+))', ct, re.I)
                if m:
                    self.multipart = m.group(1) if m.group(1) is not None else m.group(2)
            elif any(low.startswith(t) for t in ENCLOSING):
                self.enclosing = True

    def value(self, name):
        for n, v in self.fields:
            if n == name:
                return v
        return None


def find_starts(data, kind=0, threshold=8, limit_stack=64):
    lines = split_lines(data)
    n = len(lines)
    text = lambda k: data[lines[k][0]:lines[k][1]]
    starts = []
    i = 0
    first = kind == 0
    stack = []              # boundaries of the current message, outermost first
    expect_enclosed = False # the next line begins an enclosed header block
    after_outer_close = False
    last_nonempty = None

    def is_field_or_fold(k):
        if k >= n:
            return False
        t = text(k)
        return bool(field_of(t)) or t[:1] in (b" ", b"\t")

    def step_enclosed(k):
        """Steps over an enclosed header block starting at line k; returns
        the line after its empty line, and reads its Content-Type."""
        t = text(k) if k < n else b""
        if t.startswith(b"From ") or t.startswith(b">From "):
            k += 1
        nonlocal last_nonempty
        a = k
        while k < n and text(k) != b"":
            k += 1
        if k > 0:
            last_nonempty = k - 1
        h = Header(data, lines, a, k)
        read_structure(h)
        return k + 1 if k < n else k

    def read_structure(h):
        nonlocal expect_enclosed
        if h.multipart is not None and len(stack) < limit_stack:
            stack.append(h.multipart)
        if h.enclosing:
            expect_enclosed = True

    def closing_follows(k, b):
        """Today's bounded look: a closing line of b before b is declared again."""
        delim = b"--" + b
        for q in range(k + 1, n):
            t = text(q)
            if t.startswith(delim + b"--"):
                return q
            if b"boundary" in t.lower():
                m = re.search(rb'boundary\s*=\s*(?:"([^"]*)"|([^;\s]+))', t, re.I)
                if m and (m.group(1) if m.group(1) is not None else m.group(2)) == b:
                    return None
        return None

    while i < n:
        t = text(i)
        if expect_enclosed:
            expect_enclosed = False
            if t == b"":
                i += 1
                continue
            k = i + 1 if (t.startswith(b"From ") or t.startswith(b">From ")) else i
            if k < n and field_of(text(k)):
                i = step_enclosed(i)
                continue
        # The body's structure.
        handled = False
        for level in range(len(stack) - 1, -1, -1):
            b = stack[level]
            delim = b"--" + b
            if t.startswith(delim) and t[len(delim):].strip(b" \t") == b"":
                del stack[level + 1:]
                q = closing_follows(i, b)
                if q is not None:
                    i = q
                    t = text(i)
                    # fall through to the closing line below
                else:
                    # the part header that follows is stepped over and read
                    a = i + 1
                    k = a
                    while k < n and text(k) != b"":
                        k += 1
                    read_structure(Header(data, lines, a, k))
                    last_nonempty = k - 1 if k > a else i
                    i = k + 1
                    handled = True
                break
        if handled:
            continue
        for level in range(len(stack) - 1, -1, -1):
            b = stack[level]
            if t.startswith(b"--" + b + b"--"):
                del stack[level:]
                if level == 0:
                    after_outer_close = True
                last_nonempty = i
                i += 1
                handled = True
                break
        if handled:
            continue
        # A run?
        name = field_of(t)
        can_start = name is not None and (known(name) or re.match(rb"^[A-Za-z][A-Za-z0-9-]*[ \t]*:([ \t]|$)", t))
        if not can_start:
            if t != b"":
                last_nonempty = i
            i += 1
            continue
        j, weight, seen_known, fields = i, 0, False, []
        while j < n:
            tj = text(j)
            nm = field_of(tj)
            if nm:
                if known(nm):
                    weight += weight_of(nm)
                    seen_known = True
                elif seen_known:
                    weight += 1
                fields.append(nm)
                j += 1
            elif tj[:1] in (b" ", b"\t") and j > i:
                j += 1
            elif tj != b"" and is_field_or_fold(j + 1):
                j += 1
            else:
                break
        ended_empty = j < n and text(j) == b""
        block_end = j + 1 if ended_empty else j
        prev = text(last_nonempty) if last_nonempty is not None else None
        accepted = False
        encap = False
        if first:
            accepted = weight >= 1
        elif weight <= 0:
            accepted = False
        elif prev is not None and ENCAP.match(prev) and not ARMOR.match(prev) and not after_outer_close:
            encap = True
        elif after_outer_close or (prev is not None and CLOSE_FORM.match(prev) and
                                   prev.rstrip(b" \t").strip(b"-") != b"" and
                                   all(text(k) == b"" for k in range(last_nonempty + 1, i))):
            accepted = True
        elif all(f.startswith("content-") or f == "mime-version" for f in fields):
            accepted = False
        elif weight >= threshold:
            accepted = True
        elif ended_empty and weight >= max(3, (threshold + 1) // 2):
            fs = set(fields)
            h = Header(data, lines, i, j)
            if "mime-version" in fs and fs & SENDERS:
                accepted = True
            elif "from" in fs and "date" in fs and valid_date(h.value("date") or b""):
                accepted = True
        if accepted:
            first = False
            starts.append(lines[i][0])
            stack.clear()
            expect_enclosed = False
            after_outer_close = False
            h = Header(data, lines, i, j)
            read_structure(h)
            last_nonempty = j - 1
            i = block_end
            continue
        if encap:
            k = j
            while k < n and text(k) != b"":
                k += 1
            last_nonempty = k - 1
            i = k + 1
            continue
        # not accepted: a part header of a structure not tracked?
        last_nonempty = j - 1 if j > i else i
        if ended_empty and Header(data, lines, i, j).enclosing:
            expect_enclosed = True
            i = j + 1
            continue
        i = max(j, i + 1)
    return starts


if __name__ == "__main__":
    data = open(sys.argv[1], "rb").read()
    print(find_starts(data))
