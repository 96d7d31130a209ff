#!/usr/bin/env python3
"""Makes the large-archive input: one mbox of many GiB shaped like the export
of a web-mail account, from the same seeded message maker as gen_inputs.py.

  archive.mbox   at least --gib GiB and --min-messages messages:
                 separator lines "From <numeric id>@xxx <date>", then the
                 export's own fields (thread id, labels, Delivered-To) and
                 two to five Received fields before each message's header;
                 most messages of 2 to 20 KB, some with attachments of 50 to
                 300 KB, a few of 0.5 to 2 MB.
  archive.json   its size and message count, and the settings it was made
                 with; a matching file means "reuse".

Every message keeps the rules of gen_inputs.py, so that each is found as a
message of its own (by its separator, and by its header as general text).
"""
import argparse
import base64
import json
import os
import random
import sys

from gen_inputs import DAYS, MIB, MONTHS, Maker

VERSION = 1
LABELS = ["Inbox", "Important", "Opened", "Unread", "Sent", "Category Updates", "Category Forums",
          "Archived", "Starred", "仕事", "旅行"]


def b64_pool(rng, mib):
    """Base64 lines to cut attachments from, made once."""
    data = rng.randbytes(mib * MIB * 3 // 4)
    return base64.encodebytes(data)


def attachment_part(rng, pool, size, boundary):
    start = rng.randrange(0, len(pool) - size - 1)
    start = pool.index(b"\n", start) + 1
    end = pool.rindex(b"\n", start, start + size) + 1
    name = rng.choice(["photo.jpg", "report.pdf", "backup.zip", "minutes.xlsx"])
    return (b"--" + boundary + b"\nContent-Type: application/octet-stream; name=\"" +
            name.encode("utf-8") + b"\"\nContent-Transfer-Encoding: base64\n"
            b"Content-Disposition: attachment\n\n" + pool[start:end])


def record(maker, rng, pool):
    lines, sender = maker.message()
    split = lines.index(b"")
    head, body = lines[:split], lines[split + 1:]
    thread = rng.getrandbits(62) | (1 << 62)
    date = "%s %s %02d %02d:%02d:%02d +0000 %d" % (
        rng.choice(DAYS), rng.choice(MONTHS), rng.randint(1, 28), rng.randint(0, 23),
        rng.randint(0, 59), rng.randint(0, 59), rng.randint(2005, 2026))
    labels = ",".join(rng.sample(LABELS, rng.randint(1, 3)))
    export = [b"X-GM-THRID: %d" % thread, b"X-Gmail-Labels: " + labels.encode("utf-8"),
              b"Delivered-To: user@example.com"]
    for hop in range(rng.randint(2, 5)):
        export += [l.encode("ascii") for l in maker.received(hop)]
    shape = rng.random()
    if shape < 0.85:
        text = b"\n".join(export + head + [b""] + body)
    else:
        # The same message carrying an attachment of its own.
        size = int(rng.uniform(50e3, 300e3)) if shape < 0.98 else int(rng.uniform(0.5e6, 2e6))
        boundary = b"=_Archive_%016X" % rng.getrandbits(64)
        kept, skip = [], False
        for line in head:
            if line[:1] in (b"\t", b" ") and skip:
                continue
            skip = line.lower().startswith((b"content-type:", b"content-transfer-encoding:"))
            if not skip:
                kept.append(line)
        kept += [b"Content-Type: multipart/mixed;", b'\tboundary="' + boundary + b'"']
        parts = (b"This is a multi-part message in MIME format.\n\n--" + boundary +
                 b"\nContent-Type: text/plain; charset=us-ascii\n\nThe file is attached.\n\n" +
                 attachment_part(rng, pool, size, boundary) + b"\n--" + boundary + b"--\n")
        text = b"\n".join(export + kept + [b""]) + b"\n" + parts
    return b"From %d@xxx %s\n" % (thread, date.encode()) + text + b"\n\n"


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--dir", default=os.environ.get("QUILLBOX_BENCH_DIR", "/tmp/quillbox-bench"))
    ap.add_argument("--seed", type=int, default=20261208)
    ap.add_argument("--gib", type=float, default=6.2)
    ap.add_argument("--min-messages", type=int, default=150000)
    a = ap.parse_args()
    params = {"version": VERSION, "seed": a.seed, "gib": a.gib, "min_messages": a.min_messages}
    os.makedirs(a.dir, exist_ok=True)
    path, manifest = os.path.join(a.dir, "archive.mbox"), os.path.join(a.dir, "archive.json")
    if os.path.exists(manifest) and os.path.exists(path):
        with open(manifest) as f:
            old = json.load(f)
        if old.get("params") == params and os.path.getsize(path) == old["bytes"]:
            print("archive reused: %s, %d messages, %.2f GiB" % (path, old["messages"], old["bytes"] / 2**30))
            return 0
    rng = random.Random(a.seed)
    maker = Maker(a.seed + 3)
    pool = b64_pool(rng, 8)
    target = int(a.gib * 2**30)
    count = size = 0
    with open(path + ".part", "wb") as f:
        while size < target or count < a.min_messages:
            data = record(maker, rng, pool)
            f.write(data)
            size += len(data)
            count += 1
    os.replace(path + ".part", path)
    with open(manifest, "w") as f:
        json.dump({"params": params, "messages": count, "bytes": size}, f, indent=1)
    print("archive.mbox: %d messages, %.2f GiB (%.0f bytes each)" % (count, size / 2**30, size / count))
    return 0


if __name__ == "__main__":
    sys.exit(main())
