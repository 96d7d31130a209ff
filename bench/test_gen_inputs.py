#!/usr/bin/env python3
"""Checks that the benchmark's inputs are what the figures assume: the same
bytes for the same seed, every message findable on its own, and the files
that are meant to hold the same messages really holding them.

  python3 bench/test_gen_inputs.py            (PLAIN_SPLIT=path also tests the splitter)
"""
import json
import os
import re
import subprocess
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
GEN = os.path.join(HERE, "gen_inputs.py")
SMALL = ["--mbox-mib", "1", "--head-mib", "0.25", "--big-mib", "3", "--big-message-mib", "1",
         "--folder-files", "3", "--folder-messages", "20"]

# Field names the generator writes that the library's vocabulary holds, and
# which of them let continuation lines follow.
KNOWN = {"return-path", "delivered-to", "received", "received-spf", "date", "from", "to", "cc", "subject",
         "message-id", "in-reply-to", "references", "mime-version", "content-type", "content-transfer-encoding",
         "x-mailer", "user-agent", "x-priority", "x-msmail-priority", "organization", "x-spam-status",
         "list-id", "list-unsubscribe", "precedence", "x-ml-name", "x-mail-count"}
FOLDABLE = {"received", "received-spf", "date", "from", "to", "cc", "subject", "message-id", "in-reply-to",
            "references", "content-type", "x-spam-status", "dkim-signature"}


def generate(folder, seed):
    subprocess.run([sys.executable, GEN, "--dir", folder, "--seed", str(seed)] + SMALL, check=True,
                   stdout=subprocess.DEVNULL)


def read(folder, name):
    with open(os.path.join(folder, name), "rb") as f:
        return f.read()


def mbox_records(data):
    return re.split(rb"(?<=\n\n)(?=From )", data)


def header_fields(record):
    """The header block's fields (name, line count), the separator line left out."""
    head = record.split(b"\n\n", 1)[0].split(b"\n")[1:]
    fields = []
    for line in head:
        if line[:1] in (b" ", b"\t"):
            fields[-1][1] += 1
        else:
            fields.append([line.split(b":", 1)[0].decode().lower(), 1])
    return fields


class GeneratedInputs(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.TemporaryDirectory()
        cls.a = os.path.join(cls.tmp.name, "a")
        generate(cls.a, 7)
        with open(os.path.join(cls.a, "manifest.json")) as f:
            cls.manifest = json.load(f)["files"]
        cls.mbox = read(cls.a, "mbox.mbox")
        cls.records = mbox_records(cls.mbox)

    @classmethod
    def tearDownClass(cls):
        cls.tmp.cleanup()

    def test_same_seed_same_bytes_and_another_seed_differs(self):
        b, c = os.path.join(self.tmp.name, "b"), os.path.join(self.tmp.name, "c")
        generate(b, 7)
        generate(c, 8)
        for name in ("mbox.mbox", "general.txt", "big.mbox", "joined.mbox"):
            self.assertEqual(read(self.a, name), read(b, name), name)
        self.assertNotEqual(self.mbox, read(c, "mbox.mbox"))

    def test_existing_inputs_are_reused(self):
        before = os.path.getmtime(os.path.join(self.a, "mbox.mbox"))
        out = subprocess.run([sys.executable, GEN, "--dir", self.a, "--seed", "7"] + SMALL, check=True,
                             capture_output=True, text=True).stdout
        self.assertIn("reused", out)
        self.assertEqual(before, os.path.getmtime(os.path.join(self.a, "mbox.mbox")))

    def test_every_separator_follows_an_empty_line_and_bodies_escape_from(self):
        self.assertTrue(self.mbox.startswith(b"From "))
        self.assertEqual(len(re.findall(rb"\nFrom ", self.mbox)), len(re.findall(rb"\n\nFrom ", self.mbox)))
        self.assertEqual(len(self.records), self.manifest["mbox.mbox"]["messages"])
        for r in self.records:
            self.assertEqual(r.count(b"\nFrom "), 0)

    def test_every_header_block_is_one_run_of_at_least_8_known_fields(self):
        for r in self.records:
            fields = header_fields(r)
            names = [n for n, _ in fields]
            self.assertIn(names[0], KNOWN, r[:200])
            self.assertGreaterEqual(sum(n in KNOWN for n in names), 8, names)
            self.assertLessEqual(len(fields), 20, names)
            for name, lines in fields:
                if lines > 1:
                    self.assertIn(name, FOLDABLE, r[:400])

    def test_forwarded_messages_stay_below_the_weight_of_a_message(self):
        forwarded = 0
        for r in self.records:
            for part in r.split(b"Content-Type: message/rfc822\n")[1:]:
                forwarded += 1
                lines = part.split(b"\n")
                fields = [l for l in lines[:lines.index(b"", 2)] if l]
                self.assertLessEqual(len(fields) + 1, 6, fields)
        self.assertGreater(forwarded, 0)

    def test_japanese_in_both_encodings(self):
        self.assertIn(b"\x1b$B", self.mbox)                      # ISO-2022-JP
        self.assertIn("お世話になっております".encode("cp932"), self.mbox)  # Shift-JIS
        self.assertIn(b"=?ISO-2022-JP?B?", self.mbox)
        self.assertIn(b"=?Shift_JIS?B?", self.mbox)

    def test_general_text_holds_the_same_messages_without_separators(self):
        expected = b"".join(b"\r\n".join(r.split(b"\n")[1:]) for r in self.records)
        self.assertEqual(read(self.a, "general.txt"), expected)

    def test_head_is_the_start_of_the_mbox(self):
        head = read(self.a, "head.mbox")
        self.assertTrue(self.mbox.startswith(head))
        self.assertEqual(len(mbox_records(head)), self.manifest["head.mbox"]["messages"])

    def test_big_file_holds_one_message_of_the_asked_size(self):
        recs = mbox_records(read(self.a, "big.mbox"))
        self.assertEqual(len(recs), self.manifest["big.mbox"]["messages"])
        sizes = sorted(len(r) for r in recs)
        self.assertGreaterEqual(sizes[-1], 1024 * 1024 - 100)
        self.assertLess(sizes[-2], 1024 * 1024 // 2)

    def test_joined_is_the_folder_in_one_file(self):
        folder = os.path.join(self.a, "folder")
        names = sorted(os.listdir(folder))
        self.assertEqual(len(names), 3)
        parts = [read(folder, n) for n in names]
        for p in parts:
            self.assertEqual(len(mbox_records(p)), 20)
        self.assertEqual(read(self.a, "joined.mbox"), b"".join(parts))

    @unittest.skipUnless(os.environ.get("PLAIN_SPLIT"), "PLAIN_SPLIT not set")
    def test_plain_split_writes_each_record_to_its_own_file(self):
        out = os.path.join(self.tmp.name, "split")
        res = subprocess.run([os.environ["PLAIN_SPLIT"], os.path.join(self.a, "mbox.mbox"), out], check=True,
                             capture_output=True, text=True).stdout
        self.assertIn("records=%d " % len(self.records), res)
        names = sorted(os.listdir(out))
        self.assertEqual(names[0], "00001.eml")
        self.assertEqual([read(out, n) for n in names], self.records)


if __name__ == "__main__":
    unittest.main()
