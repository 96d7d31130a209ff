#!/usr/bin/env python3
"""Real mail in the trees that people bring, through the real console tool
with -tree: the messages of ../shared/realmail laid out, at run time, as a
mail program's profile folder (mail folders without an extension, index files
beside them, subfolders in "X.sbd" two levels deep, one mail folder named
"X.mbox"), another system's export ("X.mbox/mbox" and a binary table), a
folder of .eml files, an MH folder and a Maildir.

    realmail_tree_test.py --program PATH --corpus DIR --work DIR [--wine WINE_RUN]

Every message must come out in the folder that its file maps to, byte for
byte as the mbox rules give it (the message as stored, its line ends those of
the mbox) or, from a file of one message, exactly the file; nothing else may
be written. The count with -tree equals the files written, and the profile
folder read without -tree gives what it always gave: its own files' messages
in one folder.
"""
import collections
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts"))
from kelpo_test import Program  # noqa: E402
from realmail_test import MBOX_FORMS, MESSAGES, read_corpus, write_mbox  # noqa: E402
from testrun import Checks, corpus_folder, fresh_folder, program_arguments  # noqa: E402


def mbox_of(messages, crlf=False, separator=MBOX_FORMS["mbox"][0], empty_line=True):
    return write_mbox(messages, separator, empty_line, crlf)


class Tree:
    """The input tree, and what each output folder must hold, in order."""

    def __init__(self, root):
        self.root = root
        self.expected = collections.OrderedDict()  # output folder (relative, "/") -> [bytes]

    def put(self, relative, data):
        path = os.path.join(self.root, *relative.split("/"))
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(data)

    def mail_folder(self, relative, output, messages, **form):
        data, stored = mbox_of(messages, **form)
        self.put(relative, data)
        self.expected.setdefault(output, []).extend(stored)

    def single(self, relative, output, data):
        self.put(relative, data)
        self.expected.setdefault(output, []).append(data)


def build(root, sources):
    names = list(sources)
    msgs = {name: [data for _, data in sources[name]] for name in names}
    t = Tree(root)
    s = names
    # A mail program's profile.
    t.mail_folder("Local Folders/%s" % s[0], "Local Folders/%s" % s[0], msgs[s[0]])
    t.put("Local Folders/%s.msf" % s[0], b"// <!-- <mdb:mork:z v=\"1.4\"/> -->\n\x00\x01")
    t.mail_folder("Local Folders/%s.sbd/%s" % (s[0], s[1]), "Local Folders/%s/%s" % (s[0], s[1]), msgs[s[1]])
    t.put("Local Folders/%s.sbd/%s.msf" % (s[0], s[1]), b"\x00index")
    t.mail_folder("Local Folders/%s.sbd/%s.sbd/%s" % (s[0], s[1], s[2]),
                  "Local Folders/%s/%s/%s" % (s[0], s[1], s[2]), msgs[s[2]], crlf=True)
    t.mail_folder("Local Folders/%s.sbd/%s" % (s[0], s[10]), "Local Folders/%s/%s" % (s[0], s[10]),
                  msgs[s[10]], separator=MBOX_FORMS["thunderbird"][0])
    t.mail_folder("Local Folders/%s" % s[3], "Local Folders/%s" % s[3], msgs[s[3]], crlf=True)
    t.mail_folder("Local Folders/%s.mbox" % s[4], "Local Folders/%s" % s[4], msgs[s[4]])
    # Another system's export.
    t.mail_folder("Export/%s.mbox/mbox" % s[5], "Export/%s" % s[5], msgs[s[5]])
    t.put("Export/%s.mbox/table_of_contents" % s[5], bytes(range(256)))
    t.mail_folder("Export/%s.mbox/mbox" % s[6], "Export/%s" % s[6], msgs[s[6]],
                  separator=MBOX_FORMS["eudora"][0], empty_line=False)
    # One message per file: .eml files, an MH folder, a Maildir (its file
    # names as a Windows Maildir writes them, "!" for ":").
    for name, data in sorted(sources[s[7]], key=lambda m: m[0].encode()):
        t.single("saved/%s" % name, "saved", data)
    mh = [(str(i + 1), data) for i, data in enumerate(msgs[s[8]])]
    for name, data in sorted(mh, key=lambda m: m[0].encode()):
        t.single("mh/%s" % name, "mh", data)
    maildir = msgs[s[9]]
    half = len(maildir) // 2
    cur = sorted(("%d.realmail!2,S" % (1000 + i), d) for i, d in enumerate(maildir[:half]))
    new = sorted(("%d.realmail" % (2000 + i), d) for i, d in enumerate(maildir[half:]))
    for name, data in cur:
        t.single("Maildir/cur/%s" % name, "Maildir", data)
    for name, data in new:
        t.single("Maildir/new/%s" % name, "Maildir", data)
    os.makedirs(os.path.join(root, "Maildir", "tmp"), exist_ok=True)
    return t


def written(out):
    """Every file below out: relative folder ("/") -> {name: bytes}."""
    files = collections.defaultdict(dict)
    for folder, _, names in os.walk(out):
        rel = os.path.relpath(folder, out).replace(os.sep, "/")
        for name in names:
            with open(os.path.join(folder, name), "rb") as f:
                files[rel][name] = f.read()
    return files


def verify(tree, out, check):
    """Every message in the folder its file maps to, byte for byte, and
    nothing else below out."""
    got = written(out)
    for folder, messages in tree.expected.items():
        names = ["%05d.eml" % (i + 1) for i in range(len(messages))]
        have = got.pop(folder, {})
        exact = sum(1 for i, name in enumerate(names) if have.get(name) == messages[i])
        check(exact == len(messages) and sorted(have) == names,
              "%-40s %4d of %4d messages, byte for byte, nothing else" % (folder, exact, len(messages)))
    stray = {folder: sorted(files) for folder, files in got.items() if files}
    check(not stray, "nothing else is written (%r)" % sorted(stray)[:5])


def main():
    options = program_arguments("--program", corpus=True).parse_args()
    corpus = corpus_folder(options.corpus)
    if not corpus:
        return 1
    work = fresh_folder(options.work)
    program = Program.of(options, work)
    sources = read_corpus(corpus)
    check = Checks()

    check(len(sources) >= 11 and sum(len(m) for m in sources.values()) == MESSAGES,
          "the corpus holds %d messages in at least 11 sources" % MESSAGES)
    root = os.path.join(work, "mail")
    tree = build(root, sources)
    total = sum(len(v) for v in tree.expected.values())

    status, said = program.run(["-c", "-tree", "-mbox", program.native(root)])
    check(status == 0 and said.strip().endswith(str(total).encode()),
          "-c -tree -mbox counts %d messages (it said %r)" % (total, said.strip()[-8:]))
    out = os.path.join(work, "out")
    status, said = program.run(["-tree", "-mbox", program.native(root), program.native(out)])
    check(status == 0, "-tree -mbox extracts (exit %d)" % status)
    verify(tree, out, check)

    # Without -tree: the profile folder's own files, into one folder.
    profile = os.path.join(root, "Local Folders")
    flat = os.path.join(work, "flat")
    status, _ = program.run(["-mbox", program.native(profile), program.native(flat)])
    own = sum(len(tree.expected[f]) for f in tree.expected
              if f.count("/") == 1 and f.startswith("Local Folders/"))
    check(status == 0 and len(os.listdir(flat)) == own and not any(
        os.path.isdir(os.path.join(flat, n)) for n in os.listdir(flat)),
        "without -tree: the %d messages of the folder's own files, in one folder" % own)
    return check.exit_status("%d checks" % check.made)


if __name__ == "__main__":
    sys.exit(main())
