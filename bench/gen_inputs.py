#!/usr/bin/env python3
"""Makes the benchmark's input files from a seed set of hand-written messages.

Every message is assembled from the pieces below (people, subjects, header
sets, bodies in English and Japanese, attachments, forwarded messages), picked
by a seeded random generator, so the same seed always gives the same bytes.

Inputs written into the scratch folder:
  mbox.mbox       UNIX mbox of about --mbox-mib MiB (~3.4 KiB per message)
  general.txt     the same messages as general mail text, CR LF, no "From " lines
  head.mbox       the first --head-mib MiB of mbox.mbox (file creation under Wine
                  slows down as a folder fills, so its extraction uses fewer files)
  big.mbox        about --big-mib MiB holding one message of --big-message-mib MiB
  folder/         --folder-files mbox files of --folder-messages messages each
  joined.mbox     the messages of folder/ in one file
  manifest.json   sizes and message counts; a matching manifest means "reuse"

Rules every message keeps, so that each one is found as a message of its own:
  - its header block is one run of at least 8 fields from the library's
    vocabulary; it starts with a known field; only fields after which the
    scanner allows continuation lines are folded;
  - a forwarded message inside a multipart body carries at most 4 fields,
    so with its part headers it stays below the default weight of 8;
  - body lines that begin with "From " are written as ">From ";
  - in mbox files an empty line stands before every "From " separator.
"""
import argparse
import base64
import json
import os
import random
import sys

GENERATOR_VERSION = 3
MIB = 1024 * 1024

# ---------------------------------------------------------------- seed set

PEOPLE = [
    ("Yamada Taro", "山田 太郎", "t.yamada", "kaisha.example.com"),
    ("Suzuki Hanako", "鈴木 花子", "hanako", "mail.example.net"),
    ("Tanaka Ichiro", "田中 一郎", "ichiro.tanaka", "dev.example.org"),
    ("Sato Keiko", "佐藤 恵子", "ksato", "shiten.example.com"),
    ("Watanabe Ken", "渡辺 健", "watanabe-k", "example.jp.example.net"),
    ("Ito Mayumi", "伊藤 真由美", "mayumi.ito", "hanbai.example.com"),
    ("Nakamura Shin", "中村 伸", "nakamura", "lab.example.org"),
    ("Kobayashi Aya", "小林 彩", "aya", "kobayashi.example.net"),
    ("Kato Hiroshi", "加藤 浩", "h-kato", "soumu.example.com"),
    ("Yoshida Emi", "吉田 恵美", "emi.yoshida", "example.org"),
    ("Alice Walker", None, "alice", "example.com"),
    ("Bob Jensen", None, "bjensen", "ops.example.net"),
    ("Carol Nguyen", None, "carol.nguyen", "example.org"),
    ("Dmitri Volkov", None, "dvolkov", "build.example.com"),
    ("Erin O'Neil", None, "erin", "support.example.net"),
    ("Farid Haddad", None, "farid", "example.com"),
    ("Grace Kim", None, "gkim", "research.example.org"),
    ("Henrik Larsen", None, "henrik", "nordic.example.net"),
]

MAILERS = [
    "Microsoft Outlook Express 6.00.2900.5512",
    "Becky! ver. 2.75.04 [ja]",
    "Datula 3.51.1 [ja]",
    "Sylpheed 3.7.0 (GTK+ 2.24.32; x86_64-pc-linux-gnu)",
    "Microsoft Office Outlook 12.0",
    "EdMax Free Version 3.3",
    "Shuriken Pro3 (Justsystem)",
    "Apple Mail (2.3774.500.171.1.1)",
]
USER_AGENTS = [
    "Mozilla/5.0 (Windows NT 10.0; Win64; x64; rv:115.0) Gecko/20100101 Thunderbird/115.6.0",
    "Mutt/2.2.12 (2023-09-09)",
    "Roundcube Webmail/1.6.5",
    "Alpine 2.26 (DEB 649 2022-06-02)",
]
ORGANIZATIONS = ["Example Corporation", "株式会社サンプル", "Example Research Lab", "サンプル大学 情報工学科"]
LISTS = [
    ("dev", "dev.lists.example.org", "Developers"),
    ("announce", "lists.example.com", "Announcements"),
    ("users-ja", "ml.example.net", "Users (Japanese)"),
]

SUBJECTS_EN = [
    "Quarterly report draft for review",
    "Re: build failure on the nightly branch",
    "Meeting moved to Thursday 15:00",
    "Invoice #{n} attached",
    "Re: Re: proposal for the new mail importer",
    "[dev] patch: handle CR-only line ends in the scanner",
    "Travel plans for the Osaka visit",
    "Fwd: customer feedback from the trial",
    "Server maintenance window this weekend",
    "Lunch on Friday?",
    "Your account statement for {month}",
    "[announce] release {n}.{m} is out",
    "Question about the licence terms",
    "Minutes of yesterday's call",
]
SUBJECTS_JA = [
    "会議資料の送付について",
    "Re: 見積書の件",
    "【重要】システムメンテナンスのお知らせ",
    "お世話になっております",
    "出張報告書を提出します",
    "Fwd: 新製品説明会のご案内",
    "納品日の変更について",
    "忘年会の出欠確認",
    "Re: 仕様書の修正点",
    "請求書送付のご連絡 ({month})",
    "[users-ja] 文字化けの質問",
    "年末年始の営業日のお知らせ",
]

SENTENCES_EN = [
    "Thanks for sending the figures over so quickly.",
    "I have gone through the draft and left a few comments in the margin.",
    "The nightly build broke again after the merge of the parser changes.",
    "Could you check whether the numbers in section three still add up?",
    "We agreed to move the release by one week to give QA more time.",
    "Please find the updated schedule below; nothing else has changed.",
    "The customer asked whether the import keeps the original file dates.",
    "I will be out of the office on Monday, so let us talk on Tuesday instead.",
    "The test machine ran out of disk space during the long run last night.",
    "Attached is the signed copy of the agreement for your records.",
    "If nobody objects, I will merge the branch tomorrow morning.",
    "The old mailbox files use CR LF line ends, the new ones only LF.",
    "We still see a few messages that are split in the wrong place.",
    "Let me know if the meeting room on the fourth floor works for you.",
    "Our hotel is close to the station, about five minutes on foot.",
    "The invoice covers the licences for the second half of the year.",
    "I have asked the vendor for a corrected quotation.",
    "There is no need to reply to this message.",
]
SENTENCES_JA = [
    "いつも大変お世話になっております。",
    "先日の打ち合わせでは貴重なお時間をいただき、ありがとうございました。",
    "ご依頼の資料を添付いたしますので、ご確認のほどよろしくお願いいたします。",
    "納品予定日が来週の水曜日に変更となりましたので、お知らせいたします。",
    "見積書の金額について、一部修正がございます。",
    "ご不明な点がございましたら、お気軽にお問い合わせください。",
    "サーバーのメンテナンスのため、土曜日の午前中はサービスを停止いたします。",
    "出張の報告書を作成しましたので、ご査収ください。",
    "忘年会は十二月二十日の金曜日、午後七時からを予定しております。",
    "文字化けの件ですが、シフトJISで保存すると正しく表示されました。",
    "引き続きどうぞよろしくお願い申し上げます。",
    "取り急ぎ、ご連絡まで。",
    "会議室は三階の第二会議室を予約してあります。",
    "先方からの回答は明日の午後になる見込みです。",
    "添付ファイルが開けない場合はご連絡ください。",
]
SIGNATURES = [
    ["-- ", "Yamada Taro <t.yamada@kaisha.example.com>", "Sales Department, Example Corporation"],
    ["--------------------------------------------------", "株式会社サンプル 営業部", "鈴木 花子", "電話 03-0000-0000"],
    ["-- ", "Alice Walker | Build & Release | example.com"],
    ["＊＊＊＊＊＊＊＊＊＊＊＊＊＊＊＊＊＊＊＊", "サンプル大学 情報工学科 中村 伸", "＊＊＊＊＊＊＊＊＊＊＊＊＊＊＊＊＊＊＊＊"],
]
MONTHS = ["Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"]
DAYS = ["Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"]
ATTACHMENT_NAMES = ["report.pdf", "invoice.pdf", "photo.jpg", "schedule.xlsx", "diagram.png", "minutes.docx"]
ATTACHMENT_TYPES = {"pdf": "application/pdf", "jpg": "image/jpeg", "png": "image/png",
                    "xlsx": "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet",
                    "docx": "application/vnd.openxmlformats-officedocument.wordprocessingml.document"}


# ---------------------------------------------------------------- helpers

def encoded_word(text, charset):
    if charset == "iso-2022-jp":
        return "=?ISO-2022-JP?B?" + base64.b64encode(text.encode("iso2022_jp")).decode() + "?="
    return "=?Shift_JIS?B?" + base64.b64encode(text.encode("cp932")).decode() + "?="


def wrap_ja(text, width=36):
    return [text[i:i + width] for i in range(0, len(text), width)] or [""]


def wrap_en(text, width=72):
    lines, line = [], ""
    for word in text.split():
        if line and len(line) + 1 + len(word) > width:
            lines.append(line)
            line = word
        else:
            line = line + " " + word if line else word
    if line:
        lines.append(line)
    return lines


class Maker:
    """Builds messages as lists of byte lines (no line ends)."""

    def __init__(self, seed):
        self.rng = random.Random(seed)
        self.serial = 0
        self.noise = random.Random(seed ^ 0x5A5A).randbytes(1 << 20)

    # -- small pieces

    def person(self):
        return self.rng.choice(PEOPLE)

    def address(self, p):
        return "%s@%s" % (p[2], p[3])

    def mailbox(self, p, charset):
        if p[1] and charset and self.rng.random() < 0.8:
            return "%s <%s>" % (encoded_word(p[1], charset), self.address(p))
        return '"%s" <%s>' % (p[0], self.address(p))

    def date(self):
        r = self.rng
        return "%s, %02d %s %d %02d:%02d:%02d %s" % (
            r.choice(DAYS), r.randint(1, 28), r.choice(MONTHS), r.randint(2003, 2024),
            r.randint(0, 23), r.randint(0, 59), r.randint(0, 59), r.choice(["+0900", "+0900", "-0800", "+0000"]))

    def msgid(self, domain):
        self.serial += 1
        return "<%08X.%d.%04x@%s>" % (self.rng.getrandbits(32), self.serial, self.rng.getrandbits(16), domain)

    def subject(self, japanese):
        r = self.rng
        text = r.choice(SUBJECTS_JA if japanese else SUBJECTS_EN)
        return text.format(n=r.randint(100, 9999), m=r.randint(0, 9), month=r.choice(MONTHS))

    def b64_lines(self, size):
        start = self.rng.randrange(0, len(self.noise) - size) if size < len(self.noise) else 0
        data = self.noise[start:start + size]
        text = base64.encodebytes(data).decode().rstrip("\n")
        return text.split("\n")

    # -- headers: a list of fields, each a list of lines (the first is "Name: value")

    def received(self, hop):
        r = self.rng
        host = "mx%d.%s" % (r.randint(1, 9), r.choice(["example.net", "example.com", "example.org"]))
        lines = ["Received: from %s (%s [192.0.2.%d])" % (
            "smtp%d.example.%s" % (r.randint(1, 30), r.choice(["com", "net", "org"])),
            "relay.example.net", r.randint(1, 254)),
            "\tby %s (Postfix) with ESMTPS id %X" % (host, r.getrandbits(40)),
            "\tfor <user@example.com>; %s" % self.date()]
        if hop % 2:
            lines = [lines[0] + " by %s with SMTP id %X; %s" % (host, r.getrandbits(32), self.date())]
        return lines

    def dkim(self, domain):
        r = self.rng
        b = base64.b64encode(r.randbytes(128)).decode()
        return ["DKIM-Signature: v=1; a=rsa-sha256; c=relaxed/relaxed; d=%s; s=sel%d;" % (domain, r.randint(1, 3)),
                "\tt=%d; bh=%s;" % (r.randint(10 ** 9, 2 * 10 ** 9), base64.b64encode(r.randbytes(32)).decode()),
                "\th=From:To:Subject:Date:Message-ID:MIME-Version:Content-Type;",
                "\tb=" + b[:64], "\t " + b[64:]]

    def headers(self, sender, to, subject, content_type, cte, charset, mailing_list):
        """Known fields first where the scanner needs them; 8 to 20 fields in all."""
        r = self.rng
        dom = sender[3]
        fields = []
        if r.random() < 0.85:
            fields.append(["Return-Path: <%s>" % self.address(sender)])
            if r.random() < 0.4:
                fields.append(["Delivered-To: %s" % self.address(to)])
        for hop in range(r.randint(1, 4)):
            fields.append(self.received(hop))
        if r.random() < 0.5:
            fields.append(["Received-SPF: pass (example.net: domain of %s designates 192.0.2.%d as permitted sender)"
                           % (self.address(sender), r.randint(1, 254)),
                           "\tclient-ip=192.0.2.%d;" % r.randint(1, 254)])
        if r.random() < 0.4:
            fields.append(["Authentication-Results: mx.example.net; dkim=pass header.d=%s; spf=pass; dmarc=pass" % dom])
        if r.random() < 0.45:
            fields.append(self.dkim(dom))
        core = [["Date: " + self.date()],
                ["From: " + self.mailbox(sender, charset)],
                ["To: " + self.mailbox(to, charset)],
                ["Subject: " + subject],
                ["Message-ID: " + self.msgid(dom)]]
        if r.random() < 0.3:
            cc = [self.mailbox(self.person(), charset) for _ in range(r.randint(1, 3))]
            core.append(["Cc: " + cc[0]] + ["\t" + c for c in cc[1:]])
        if r.random() < 0.25:
            ref = self.msgid(r.choice(PEOPLE)[3])
            core.append(["In-Reply-To: " + ref])
            core.append(["References: " + self.msgid(dom), "\t" + ref])
        r.shuffle(core)
        fields += core
        fields.append(["MIME-Version: 1.0"])
        fields.append(content_type)
        if cte:
            fields.append(["Content-Transfer-Encoding: " + cte])
        optional = []
        if r.random() < 0.6:
            optional.append(["X-Mailer: " + r.choice(MAILERS)])
        elif r.random() < 0.5:
            optional.append(["User-Agent: " + r.choice(USER_AGENTS)])
        if r.random() < 0.2:
            optional.append(["X-Priority: 3"])
            optional.append(["X-MSMail-Priority: Normal"])
        if r.random() < 0.15:
            org = r.choice(ORGANIZATIONS)
            optional.append(["Organization: " + (encoded_word(org, "iso-2022-jp") if ord(org[0]) > 127 else org)])
        if r.random() < 0.2:
            optional.append(["X-Spam-Status: No, score=-%d.%d required=5.0 tests=BAYES_00," % (r.randint(0, 9), r.randint(0, 9)),
                             "\tDKIM_SIGNED,SPF_PASS autolearn=ham version=3.4.6"])
        if mailing_list:
            name, host, desc = mailing_list
            optional += [["List-Id: %s <%s.%s>" % (desc, name, host)],
                         ["List-Unsubscribe: <mailto:%s-unsubscribe@%s>" % (name, host)],
                         ["Precedence: list"],
                         ["X-ML-Name: " + name],
                         ["X-Mail-Count: %05d" % r.randint(1, 99999)]]
        room = 20 - len(fields)
        fields += optional[:max(room, 0)]
        return fields

    # -- bodies: lists of str lines in their own charset (encoded later)

    def text_en(self, nbytes):
        out = []
        while sum(len(x) + 1 for x in out) < nbytes:
            para = " ".join(self.rng.choice(SENTENCES_EN) for _ in range(self.rng.randint(2, 6)))
            out += wrap_en(para) + [""]
        return out

    def text_ja(self, nbytes):
        out = []
        while sum(2 * len(x) + 1 for x in out) < nbytes:
            para = "".join(self.rng.choice(SENTENCES_JA) for _ in range(self.rng.randint(1, 4)))
            out += wrap_ja(para) + [""]
        return out

    def body_text(self, japanese, nbytes):
        r = self.rng
        greet = ["%s様" % (r.choice(PEOPLE)[1] or "ご担当者"), ""] if japanese else ["Hi %s," % r.choice(PEOPLE)[0].split()[0], ""]
        lines = greet + (self.text_ja(nbytes) if japanese else self.text_en(nbytes))
        if r.random() < 0.3:
            quoted = self.text_ja(nbytes // 3) if japanese else self.text_en(nbytes // 3)
            lines += ["On %s, %s wrote:" % (self.date(), r.choice(PEOPLE)[0])] + ["> " + q for q in quoted] + [""]
        lines += r.choice([sig for sig in SIGNATURES if japanese or all(ord(c) < 128 for c in "".join(sig))])
        return lines

    @staticmethod
    def encode(lines, charset):
        codec = {"iso-2022-jp": "iso2022_jp", "shift_jis": "cp932", "us-ascii": "ascii"}[charset]
        return [l.encode(codec) for l in lines]

    # -- one message

    def body_size(self, scale):
        # Mostly short notes, some long ones: a skewed spread around the mean.
        return int(min(self.rng.lognormvariate(6.36, 0.75) * scale, 60000))

    def message(self, scale=1.0, attach_scale=1.0):
        """Returns the message's lines as bytes."""
        r = self.rng
        japanese = r.random() < 0.45
        charset = (r.choice(["iso-2022-jp", "iso-2022-jp", "shift_jis"]) if japanese else "us-ascii")
        hcharset = charset if japanese else None
        sender, to = self.person(), self.person()
        subj = self.subject(japanese)
        if japanese:
            subj_field = encoded_word(subj, "iso-2022-jp" if r.random() < 0.7 else "shift_jis")
        else:
            subj_field = subj
        raw_sjis_subject = japanese and charset == "shift_jis" and r.random() < 0.3
        ml = r.choice(LISTS) if r.random() < 0.2 else None
        shape = r.random()
        text_cte = "8bit" if charset == "shift_jis" else "7bit"
        text = self.encode(self.body_text(japanese, self.body_size(scale)), charset)

        if shape < 0.70:
            ctype = ['Content-Type: text/plain; charset="%s"' % charset.upper() if charset != "us-ascii"
                     else "Content-Type: text/plain; charset=us-ascii; format=flowed"]
            body, cte = text, text_cte
        else:
            boundary = "----=_Part_%d_%X.%d" % (self.serial, r.getrandbits(48), r.randint(1000, 9999))
            b = boundary.encode()
            if shape < 0.82:
                sub = "alternative"
                html = [b"<html><head><meta charset=\"" + charset.encode() + b"\"></head><body>"]
                html += [b"<p>" + l + b"</p>" for l in text if l] + [b"</body></html>"]
                parts = [[('Content-Type: text/plain; charset="%s"' % charset).encode(),
                          ("Content-Transfer-Encoding: " + text_cte).encode(), b""] + text,
                         [('Content-Type: text/html; charset="%s"' % charset).encode(),
                          ("Content-Transfer-Encoding: " + text_cte).encode(), b""] + html]
            else:
                sub = "mixed"
                parts = [[('Content-Type: text/plain; charset="%s"' % charset).encode(),
                          ("Content-Transfer-Encoding: " + text_cte).encode(), b""] + text]
                if shape < 0.93:
                    name = r.choice(ATTACHMENT_NAMES)
                    size = int(r.lognormvariate(8.3, 0.6) * attach_scale)
                    parts.append([("Content-Type: %s; name=\"%s\"" % (ATTACHMENT_TYPES[name.rsplit('.', 1)[1]], name)).encode(),
                                  b"Content-Transfer-Encoding: base64",
                                  ("Content-Disposition: attachment; filename=\"%s\"" % name).encode(), b""]
                                 + [l.encode() for l in self.b64_lines(size)])
                else:
                    # A forwarded message: few fields, so it is never taken for a message of its own.
                    fs, ft = self.person(), self.person()
                    fjap = r.random() < 0.5
                    fwd = [("From: " + self.mailbox(fs, "iso-2022-jp")).encode(),
                           ("Date: " + self.date()).encode(),
                           ("Subject: " + (encoded_word(self.subject(True), "iso-2022-jp") if fjap else self.subject(False))).encode(),
                           ("To: " + self.mailbox(ft, "iso-2022-jp")).encode(), b""]
                    fwd += self.encode(self.body_text(fjap, self.body_size(scale) // 2), "iso-2022-jp" if fjap else "us-ascii")
                    parts.append([b"Content-Type: message/rfc822", b"Content-Disposition: inline", b""] + fwd)
            ctype = ["Content-Type: multipart/%s;" % sub, '\tboundary="%s"' % boundary]
            body = [b"This is a multi-part message in MIME format.", b""]
            for p in parts:
                body += [b"--" + b] + p + [b""]
            body += [b"--" + b + b"--", b""]
            cte = None

        fields = self.headers(sender, to, subj_field, ctype, cte, hcharset, ml)
        out = []
        for f in fields:
            for line in f:
                out.append(line.encode("ascii"))
        if raw_sjis_subject:
            # Some older Japanese mailers put Shift-JIS bytes straight into the header.
            for i, line in enumerate(out):
                if line.startswith(b"Subject: "):
                    out[i] = b"Subject: " + subj.encode("cp932")
                    break
        out.append(b"")
        out += body
        # mbox readers would take a body line beginning "From " for a separator.
        return [(b">" + l) if l.startswith(b"From ") else l for l in out], sender

    def separator(self, sender):
        return ("From %s %s" % (self.address(sender), self.mbox_date())).encode()

    def mbox_date(self):
        r = self.rng
        return "%s %s %2d %02d:%02d:%02d %d" % (r.choice(DAYS), r.choice(MONTHS), r.randint(1, 28),
                                                r.randint(0, 23), r.randint(0, 59), r.randint(0, 59), r.randint(2003, 2024))


def mbox_record(maker, scale=1.0, attach_scale=1.0):
    return records(maker, scale, attach_scale)[0]


def records(maker, scale=1.0, attach_scale=1.0):
    """One message as an mbox record (LF) and as general mail text (CR LF)."""
    lines, sender = maker.message(scale, attach_scale)
    # The body ends with an empty line, so the next "From " line follows an empty line.
    mbox = b"\n".join([maker.separator(sender)] + lines) + b"\n\n"
    general = b"\r\n".join(lines) + b"\r\n\r\n"
    return mbox, general


# ---------------------------------------------------------------- outputs

def write_mbox_of_size(path, general_path, head_path, maker, target, head_target):
    """The mbox, the same messages as general text, and the mbox's first messages alone."""
    count, size, head_count = 0, 0, 0
    with open(path + ".part", "wb") as f, open(general_path + ".part", "wb") as g, \
            open(head_path + ".part", "wb") as h:
        while size < target:
            mbox, general = records(maker)
            f.write(mbox)
            g.write(general)
            if size < head_target:
                h.write(mbox)
                head_count += 1
            size += len(mbox)
            count += 1
    for p in (path, general_path, head_path):
        os.replace(p + ".part", p)
    return count, size, head_count


def write_big(path, maker, target, big_bytes):
    """Ordinary messages with attachments, one huge message a third of the way in."""
    count, size, placed = 0, 0, False
    with open(path + ".part", "wb") as f:
        while size < target:
            if not placed and size >= (target - big_bytes) // 3:
                placed = True
                rec = big_message(maker, big_bytes)
            else:
                rec = mbox_record(maker, scale=6.0, attach_scale=12.0)
            f.write(rec)
            size += len(rec)
            count += 1
    os.replace(path + ".part", path)
    return count, size


def big_message(maker, big_bytes):
    """A message whose body is one base64 attachment of big_bytes."""
    rec = mbox_record(maker)
    head, _, _ = rec.partition(b"\n\n")
    boundary = b"----=_Big_0001"
    head_lines = [l for l in head.split(b"\n") if not l.startswith(b"Content-")
                  and not l.startswith(b"\tboundary=")]
    head_lines.append(b"Content-Type: multipart/mixed;")
    head_lines.append(b'\tboundary="' + boundary + b'"')
    parts = [b"This is a multi-part message in MIME format.", b"", b"--" + boundary,
             b'Content-Type: text/plain; charset="ISO-2022-JP"', b"Content-Transfer-Encoding: 7bit", b"",
             "大きなファイルを添付します。".encode("iso2022_jp"), b"", b"--" + boundary,
             b'Content-Type: application/octet-stream; name="backup.zip"', b"Content-Transfer-Encoding: base64",
             b'Content-Disposition: attachment; filename="backup.zip"', b""]
    start = b"\n".join(head_lines) + b"\n\n" + b"\n".join(parts) + b"\n"
    end = b"\n--" + boundary + b"--\n\n"
    block = b"\n".join(l.encode() for l in maker.b64_lines(57 * 16384)) + b"\n"   # ~1.3 MiB of lines
    need = big_bytes - len(start) - len(end)
    reps, rest = divmod(need, len(block))
    tail = block[:rest]
    tail = tail[:tail.rfind(b"\n") + 1] if b"\n" in tail else b""
    return start + block * reps + tail + end


def write_folder(folder, joined_path, maker, files, per_file):
    os.makedirs(folder, exist_ok=True)
    with open(joined_path + ".part", "wb") as joined:
        for i in range(files):
            data = b"".join(mbox_record(maker) for _ in range(per_file))
            with open(os.path.join(folder, "box%03d.mbox" % i), "wb") as f:
                f.write(data)
            joined.write(data)
    os.replace(joined_path + ".part", joined_path)
    return files * per_file


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--dir", default=os.environ.get("QUILLBOX_BENCH_DIR", "/tmp/quillbox-bench"))
    ap.add_argument("--seed", type=int, default=20240601)
    ap.add_argument("--mbox-mib", type=float, default=256)
    ap.add_argument("--head-mib", type=float, default=16,
                    help="size of head.mbox, the first messages of mbox.mbox (for slow file systems)")
    ap.add_argument("--big-mib", type=float, default=1024)
    ap.add_argument("--big-message-mib", type=float, default=300)
    ap.add_argument("--folder-files", type=int, default=200)
    ap.add_argument("--folder-messages", type=int, default=100)
    ap.add_argument("--force", action="store_true", help="regenerate even when the manifest matches")
    a = ap.parse_args()

    params = {"version": GENERATOR_VERSION, "seed": a.seed, "mbox_mib": a.mbox_mib, "head_mib": a.head_mib, "big_mib": a.big_mib,
              "big_message_mib": a.big_message_mib, "folder_files": a.folder_files,
              "folder_messages": a.folder_messages}
    os.makedirs(a.dir, exist_ok=True)
    manifest_path = os.path.join(a.dir, "manifest.json")
    if not a.force and os.path.exists(manifest_path):
        with open(manifest_path) as f:
            old = json.load(f)
        if old.get("params") == params and all(os.path.exists(os.path.join(a.dir, n)) for n in old["files"]):
            print("inputs reused from %s" % a.dir)
            return 0
    if os.path.exists(manifest_path):
        os.remove(manifest_path)

    files = {}
    p = os.path.join(a.dir, "mbox.mbox")
    n, s, hn = write_mbox_of_size(p, os.path.join(a.dir, "general.txt"), os.path.join(a.dir, "head.mbox"),
                                  Maker(a.seed), int(a.mbox_mib * MIB), int(a.head_mib * MIB))
    files["mbox.mbox"] = {"messages": n, "bytes": s}
    files["head.mbox"] = {"messages": hn, "bytes": os.path.getsize(os.path.join(a.dir, "head.mbox"))}
    files["general.txt"] = {"messages": n, "bytes": os.path.getsize(os.path.join(a.dir, "general.txt"))}
    print("mbox.mbox: %d messages, %.1f MiB (%.0f bytes each)" % (n, s / MIB, s / n))

    p = os.path.join(a.dir, "big.mbox")
    n, s = write_big(p, Maker(a.seed + 1), int(a.big_mib * MIB), int(a.big_message_mib * MIB))
    files["big.mbox"] = {"messages": n, "bytes": s}
    print("big.mbox: %d messages, %.1f MiB, one of %.0f MiB" % (n, s / MIB, a.big_message_mib))

    n = write_folder(os.path.join(a.dir, "folder"), os.path.join(a.dir, "joined.mbox"), Maker(a.seed + 2),
                     a.folder_files, a.folder_messages)
    files["folder"] = {"messages": n, "files": a.folder_files}
    files["joined.mbox"] = {"messages": n, "bytes": os.path.getsize(os.path.join(a.dir, "joined.mbox"))}
    print("folder/: %d files, %d messages; joined.mbox the same in one file" % (a.folder_files, n))

    with open(manifest_path, "w") as f:
        json.dump({"params": params, "files": files}, f, indent=1)
    return 0


if __name__ == "__main__":
    sys.exit(main())
