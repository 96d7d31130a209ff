#!/usr/bin/env python3
"""Real mail through the real console tool: every message of the real-mail
corpus (one message per file, one folder per source), built into inputs of
each kind, split by the program and judged against the bytes it came from.

    realmail_test.py --program PATH --corpus DIR --work DIR [--wine WINE_RUN]

For each source folder (its files in byte-wise sorted order) these inputs
are built:
  mbox-lf    a "From " line before each message, line ends made LF, ">" put
             before every line that matches ^>*From (mboxrd quoting), a LF
             added when the message lacks a last one, then one empty line;
  mbox-crlf  the same with every line end made CR LF;
  thunderbird-lf, thunderbird-crlf, webmail-lf, webmail-crlf
             the same with the separators of a desktop mail program
             ("From - date") and of a web mail's export ("From 123@xxx date"
             with a zone before the year);
  eudora-lf, eudora-crlf
             the separators of a program that writes "From ???@??? date" and
             puts no empty line after a message;
  general    each message as stored, a line end added when it lacks one (the
             kind its first line ends with), then one empty line;
  together   the messages as stored, run together.
Every input is also counted with the kind it is extracted as (-c, -c -mbox),
and, for the first --kind-sources sources (all of them by default), counted
and extracted as each of the three kinds: every count must equal the number
of files that the extraction of that kind wrote. The counts per kind are
printed.
With --model the general forms are split by general_text_model.py, the
model of the next rules for text without separators, instead of the program.
A message is exact when exactly one output file holds exactly the bytes of
its span: from an mbox the message as it was stored (its line ends made those
of the mbox, a last line end added where it had none: the quoting and the
writer's empty line are taken away), in general text everything up to the
next message's first byte. Every mbox form must come out whole; general text
is held to the figures below, so that the share cannot slip back.
The files of each mbox form must also be dated as their messages: where
Python reads the first Date field with a zone (and its time fits a file time),
the file's modification time is that time; a message without a Date field
has its separator's date.
"""
import collections
import email.utils
import hashlib
import os
import re
import shutil
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts"))
from kelpo_test import Program  # noqa: E402
from testrun import corpus_folder, fresh_folder, program_arguments  # noqa: E402

# The separator line of each mbox form, and whether its writer puts an empty
# line after each message.
MBOX_FORMS = collections.OrderedDict([
    ("mbox", (b"From realmail@example.invalid Sat Jan  1 00:00:00 2000\n", True)),
    ("thunderbird", (b"From - Sat Jan  1 00:00:00 2000\n", True)),
    ("webmail", (b"From 1234567890123456789@xxx Sat Jan 01 00:00:00 +0000 2000\n", True)),
    ("eudora", (b"From ???@??? Sat Jan 01 00:00:00 2000\n", False)),
])
SEPARATOR_TIME = 946684800  # 2000-01-01 00:00:00 UTC, the date of every separator
QUOTE = re.compile(rb"^(>*From )", re.M)
DATE_FIELD = re.compile(rb"(?i)date[ \t]*:")
MESSAGES = 1118
MBOX = ["%s-%s" % (name, eol) for name in MBOX_FORMS for eol in ("lf", "crlf")]

# The least number of exact messages each form must reach at each threshold
# setting (8 is the default): the mbox forms whole, general text what the
# rules for text without separators reach now (738 and 708 before them).
FLOORS = {
    4: dict([(form, MESSAGES) for form in MBOX] + [("general", 1057), ("together", 1009)]),
    8: dict([(form, MESSAGES) for form in MBOX] + [("general", 1056), ("together", 1010)]),
    12: dict([(form, MESSAGES) for form in MBOX] + [("general", 986), ("together", 943)]),
}
OPTIONS = dict([(form, "-mbox") for form in MBOX] + [("general", None), ("together", None)])


def read_corpus(corpus):
    sources = collections.OrderedDict()
    for name in sorted(os.listdir(corpus)):
        folder = os.path.join(corpus, name)
        if not os.path.isdir(folder):
            continue
        messages = []
        for entry in sorted(os.listdir(folder), key=os.fsencode):
            with open(os.path.join(folder, entry), "rb") as f:
                messages.append((entry, f.read()))
        sources[name] = messages
    return sources


def write_mbox(messages, separator, empty_line=True, crlf=False):
    """An mbox of the messages as its writers write it (mboxrd quoting, a
    last line end, and an empty line after each unless the writer puts
    none), and each message as it must come out: as stored, its line ends
    those of the mbox."""
    eol = b"\r\n" if crlf else b"\n"
    out, stored = bytearray(), []
    for data in messages:
        text = data.replace(b"\r\n", b"\n")
        if not text.endswith(b"\n"):
            text += b"\n"
        stored.append(text.replace(b"\n", eol))
        text = QUOTE.sub(rb">\1", text) + (b"\n" if empty_line else b"")
        out += separator.rstrip(b"\n") + eol + text.replace(b"\n", eol)
    return bytes(out), stored


def mbox_spans(messages, form):
    """The mbox file of a form and each message as it must come out."""
    name, eol = form.rsplit("-", 1)
    separator, empty_line = MBOX_FORMS[name]
    return write_mbox([data for _, data in messages], separator, empty_line, eol == "crlf")


def general_spans(messages, together):
    out, spans = bytearray(), []
    for _, data in messages:
        text = data
        if not together:
            first = data.split(b"\n", 1)[0]
            eol = b"\r\n" if first.endswith(b"\r") and b"\n" in data else b"\n"
            if not text.endswith(b"\n"):
                text += eol
            text += eol
        spans.append(text)
        out += text
    return bytes(out), spans


def build(form, messages):
    if form in MBOX:
        return mbox_spans(messages, form)
    return general_spans(messages, form == "together")


def digest(data):
    return hashlib.sha256(data).digest()


def judge(spans, folder):
    """The indexes of the spans that exactly one output file holds exactly,
    and for each of them that file's name."""
    outputs = collections.defaultdict(list)
    for entry in os.listdir(folder) if os.path.isdir(folder) else []:
        with open(os.path.join(folder, entry), "rb") as f:
            outputs[digest(f.read())].append(entry)
    return dict((i, outputs[digest(span)][0]) for i, span in enumerate(spans)
                if len(outputs[digest(span)]) == 1)


def message_time(data):
    """What the file of a stored message must be dated: the UTC seconds of
    its first Date field where Python reads one with a zone, the separator's
    date where it has none; None where the test cannot tell."""
    # The header block runs to the first empty line, whatever lines that a
    # parser would call damaged stand in it (Python's own stops at them).
    lines = data.replace(b"\r\n", b"\n").split(b"\n\n", 1)[0].split(b"\n")
    date = None
    for i, line in enumerate(lines):
        field = DATE_FIELD.match(line)
        if field:
            date = line[field.end():]
            for fold in lines[i + 1:]:
                if not fold[:1] in (b" ", b"\t"):
                    break
                date += b" " + fold
            break
    if date is None:
        return SEPARATOR_TIME
    date = date.decode("latin-1")
    try:
        when = email.utils.parsedate_to_datetime(date)
    except (TypeError, ValueError, IndexError):
        return None
    if when.tzinfo is None:
        return None
    seconds = int(when.timestamp())
    return seconds if 0 <= seconds < 2 ** 32 else None


def check_times(messages, exact, folder):
    """The messages whose file is not dated as they are."""
    wrong = []
    for i, name in exact.items():
        want = message_time(messages[i][1])
        if want is None:
            continue
        got = int(os.stat(os.path.join(folder, name)).st_mtime)
        if got != want:
            wrong.append("%s: file time %d, Date says %d" % (messages[i][0], got, want))
    return wrong


KINDS = [("general", None), ("nifty", "-nifty"), ("mbox", "-mbox")]
COUNT_LINE = re.compile(rb"(\d+)\s*$")


def files_in(folder):
    return len(os.listdir(folder)) if os.path.isdir(folder) else 0


def count_of(program, option, path):
    """The count that "-c [option] path" prints, or None with what it said."""
    status, said = program.run(["-c"] + ([option] if option else []) + [path])
    match = COUNT_LINE.search(said)
    if status != 0 or not match:
        return None, said
    return int(match.group(1)), said


def judge_model(sources, options):
    """The general forms split by the model of the rules, judged as the
    program's outputs are: the figures it reaches, and the messages it misses
    with --list."""
    import general_text_model
    threshold = options.setting if options.setting is not None else 8
    for form in [f for f in options.forms.split(",") if f not in MBOX]:
        exact = 0
        for source, messages in sources.items():
            data, spans = build(form, messages)
            starts = general_text_model.find_starts(data, 0, threshold)
            outputs = collections.Counter(
                digest(data[s:(starts[k + 1] if k + 1 < len(starts) else len(data))])
                for k, s in enumerate(starts))
            for i, span in enumerate(spans):
                if outputs[digest(span)] == 1:
                    exact += 1
                elif options.list:
                    print("  not exact: %s %s/%s" % (form, source, messages[i][0]))
        print("%-10s %4d of %d exact by the model, threshold %d" % (form, exact, MESSAGES, threshold))
    return 0


def main():
    parser = program_arguments("--program", corpus=True)
    parser.add_argument("--forms", default=",".join(FLOORS[8]))
    parser.add_argument("--list", action="store_true", help="name every message that fails")
    parser.add_argument("--model", action="store_true",
                        help="judge general_text_model.py instead of the program (general forms)")
    parser.add_argument("--setting", type=int,
                        help="the threshold setting (Linux build only): 4, 8 or 12 are held to floors")
    parser.add_argument("--kind-sources", type=int, default=1000,
                        help="count and extract every kind for this many sources of each form")
    options = parser.parse_args()

    corpus = corpus_folder(options.corpus)
    if not corpus:
        return 1
    work = fresh_folder(options.work)
    program = Program.of(options, work)
    if options.setting is not None:
        if program.windows:
            print("FAIL: --setting is for the Linux build (the Windows one reads the registry)")
            return 1
        program.setting = options.setting
    sources = read_corpus(corpus)
    total = sum(len(m) for m in sources.values())

    failures = []
    counted = collections.OrderedDict()  # (form, kind) -> messages counted
    checked_times = collections.OrderedDict()  # form -> files whose time was checked
    if total != MESSAGES:
        failures.append("the corpus holds %d messages, not %d" % (total, MESSAGES))
    if options.model:
        return judge_model(sources, options)
    for form in options.forms.split(","):
        exact = 0
        for source, messages in sources.items():
            data, spans = build(form, messages)
            path = os.path.join(work, "%s.%s" % (source, form))
            with open(path, "wb") as f:
                f.write(data)
            out = os.path.join(work, "out-%s-%s" % (source, form))
            args = ([OPTIONS[form]] if OPTIONS[form] else []) + [program.native(path),
                                                                  program.native(out)]
            status, said = program.run(args)
            if status != 0:
                failures.append("%s %s: exit status %d: %r" % (form, source, status, said))
            good = judge(spans, out)
            exact += len(good)
            if form in MBOX:
                dated = len([i for i in good if message_time(messages[i][1]) is not None])
                checked_times[form] = checked_times.get(form, 0) + dated
                for wrong in check_times(messages, good, out):
                    failures.append("%s %s/%s" % (form, source, wrong))
            # The count of the same kind says how many files were written.
            for kind, option in KINDS:
                if option != OPTIONS[form]:
                    if list(sources).index(source) >= options.kind_sources:
                        continue
                    kind_out = os.path.join(work, "out-%s-%s-%s" % (source, form, kind))
                    program.run(([option] if option else []) +
                                [program.native(path), program.native(kind_out)])
                    written = files_in(kind_out)
                    shutil.rmtree(kind_out, ignore_errors=True)
                else:
                    written = files_in(out)
                count, said = count_of(program, option, program.native(path))
                counted[(form, kind)] = counted.get((form, kind), 0) + (count or 0)
                if count != written:
                    failures.append("%s %s: -c as %s says %r, its extraction wrote %d files"
                                    % (form, source, kind, count if count is not None else said,
                                       written))
            if options.list:
                for i, (name, _) in enumerate(messages):
                    if i not in good:
                        print("  not exact: %s %s/%s" % (form, source, name))
            os.remove(path)
            shutil.rmtree(out, ignore_errors=True)
        floor = FLOORS.get(8 if options.setting is None else options.setting, {}).get(form, 0)
        print("%-14s %4d of %d exact (%.1f %%), at least %d required"
              % (form, exact, total, 100.0 * exact / max(total, 1), floor))
        if exact < floor:
            failures.append("%s: %d exact, fewer than %d" % (form, exact, floor))
    for form in options.forms.split(","):
        print("%-14s counted: %s" % (form, ", ".join("%s %d" % (kind, counted.get((form, kind), 0))
                                                      for kind, _ in KINDS
                                                      if (form, kind) in counted)))
    for form, checked in checked_times.items():
        print("%-14s file times checked against the Date field or separator: %d" % (form, checked))
    for failure in failures[:50]:
        print("FAIL:", failure)
    if len(failures) > 50:
        print("FAIL: ... and %d more" % (len(failures) - 50))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
