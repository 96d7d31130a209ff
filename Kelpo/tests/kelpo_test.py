#!/usr/bin/env python3
"""End-to-end tests of the console tool: the real program (the Linux kelpo,
or Kelpo.exe under Wine), its real output bytes and its exit status.

    kelpo_test.py --program PATH --samples DIR --work DIR [--wine WINE_RUN]

With --wine the program is a Windows build and is started through the given
wrapper, which runs it under Wine with code page 932; paths then take Wine's
Z: drive form. The texts below are written as UTF-8 and compared as the
code page 932 bytes the program must print.
"""
import email
import email.utils
import os
import shutil
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts"))
from testrun import fresh_folder, program_arguments, windows_path  # noqa: E402

TEXTS = {
    101: "使い方:",
    102: "Kelpo [-mbox][-nifty][-tree] 調査するファイル/フォルダ EML出力先フォルダ\n",
    103: "  指定パス内から電子メールメッセージを抜き出し.emlファイルに出力します\n\n",
    104: "  -nifty\t対象が@nifty Webメールで一括保存したファイルの場合指定します\n",
    105: "  -mbox   \t対象がUNIX mbox形式の場合指定します\n",
    106: "  指定なし\t一般的なインターネットメールメッセージ形式として解釈します\n\n",
    107: "Kelpo -c [-mbox][-nifty][-tree] 調査するファイル/フォルダ\n",
    108: "  指定パスにあるインターネットメールメッセージのコンテキスト数を返します\n",
    109: "インターネットメールメッセージの数: %d",
    112: "上記の指定したフォルダ内にemlファイルが正常に出力されました\n",
    113: "  -tree   \tフォルダの下のフォルダもすべて読み、フォルダ構成を保って保存します\n",
    1001: "ERR: 入力ファイルが見つかりませんでした\n\n",
    1003: "ERR: 入力パスが見つかりませんでした\n\n",
    1005: "ERR: 出力フォルダを作成できませんでした\n\n",
    1007: "ERR: ファイルの作成エラーです\n\n",
    1008: "ERR: 出力フォルダと同名のファイルが存在します\n\n",
}
USAGE = TEXTS[101] + "\n" + "".join(TEXTS[i] for i in (102, 103, 104, 105, 113, 106, 107, 108))


def count_line(n):
    """What a count prints: text 109 and a line end, so that the prompt after
    it starts a line of its own."""
    return TEXTS[109] % n + "\n"

# The bundled samples: input file, option, expected folder, messages in it.
SAMPLES = [
    ("general.txt", None, "general", 4),
    ("mailbox.mbox", "-mbox", "mbox", 3),
    ("nifty.txt", "-nifty", "nifty", 3),
]


class Program:
    """Starts the program under test and turns host paths into its form."""

    @classmethod
    def of(cls, options, work):
        """The program that the options --program and --wine name."""
        return cls(os.path.abspath(options.program),
                   os.path.abspath(options.wine) if options.wine else None, work)

    def __init__(self, path, wine_run, work):
        self.path = path
        self.wine_run = wine_run
        self.work = work
        self.windows = wine_run is not None
        self.runs = 0
        self.setting = None  # the threshold setting's environment variable, when given

    def native(self, host_path):
        if not self.windows:
            return host_path
        return windows_path(host_path)

    def failure_status(self):
        # -1 from main: 255 as a POSIX exit status (Wine hands on the low byte).
        return 255

    def expect(self, text):
        data = text.encode("cp932")
        # The Windows C runtime writes a line feed as CR LF to a file or pipe.
        return data.replace(b"\n", b"\r\n") if self.windows else data

    def start(self, args, locale="ja_JP.SJIS", cwd=None, program=None, user=None):
        """Starts the program; returns the process and the path of its
        standard output. Output goes through files, not pipes, so that Wine's
        helper processes, which inherit the handles, cannot hold the call up.
        user: a uid and gid to run it as (started as root)."""
        self.runs += 1
        out_path = os.path.join(self.work, "stdout-%d" % self.runs)
        err_path = os.path.join(self.work, "stderr-%d" % self.runs)
        env = dict(os.environ)
        env.pop("CORVEX_CRITERIA_KEYWORD_COUNT", None)
        if self.setting is not None:
            env["CORVEX_CRITERIA_KEYWORD_COUNT"] = str(self.setting)
        env["LC_ALL"] = locale
        command = [program or self.path] + list(args)
        if self.windows:
            command = [self.wine_run] + command
        if user is not None:
            command = ["setpriv", "--reuid=%d" % user, "--regid=%d" % user, "--clear-groups"] + command
        with open(out_path, "wb") as out, open(err_path, "wb") as err:
            process = subprocess.Popen(command, stdin=subprocess.DEVNULL, stdout=out, stderr=err,
                                       env=env, cwd=cwd or self.work)
        return process, out_path

    def run(self, args, locale="ja_JP.SJIS", cwd=None, program=None, user=None):
        """Runs the program; returns (exit status, stdout bytes)."""
        process, out_path = self.start(args, locale, cwd, program, user)
        status = process.wait(timeout=300)
        with open(out_path, "rb") as out:
            return status, out.read()

    def last_stderr(self):
        with open(os.path.join(self.work, "stderr-%d" % self.runs), "rb") as err:
            return err.read()


class Suite:
    def __init__(self, program, samples, work):
        self.p = program
        self.samples = samples
        self.work = work
        self.failures = []
        self.checks = 0
        self.script = None

    def check(self, name, condition, detail=""):
        self.checks += 1
        if not condition:
            self.failures.append("%s %s" % (name, detail))

    def fresh(self, name):
        path = os.path.join(self.work, name)
        if os.path.isdir(path):
            shutil.rmtree(path)
        elif os.path.exists(path):
            os.remove(path)
        return path

    def sample(self, name):
        return os.path.join(self.samples, name)

    def expect_run(self, name, args, text, status, **kw):
        got_status, got = self.p.run(args, **kw)
        want = self.p.expect(text)
        self.check(name + ": exit status", got_status == status,
                   "got %d, want %d" % (got_status, status))
        self.check(name + ": output", got == want, "\n  got  %r\n  want %r" % (got, want))

    def files_of(self, folder):
        if not os.path.isdir(folder):
            return {}
        result = {}
        for entry in sorted(os.listdir(folder)):
            if os.path.isdir(os.path.join(folder, entry)):
                continue
            with open(os.path.join(folder, entry), "rb") as f:
                result[entry] = f.read()
        return result

    # -- command-line shapes ------------------------------------------------

    def test_usage_for_every_wrong_shape(self):
        general = self.p.native(self.sample("general.txt"))
        missing_out = self.fresh("never-made")
        out = self.p.native(missing_out)
        shapes = {
            "no arguments": [],
            "input only": [general],
            "extra argument": [general, out, out],
            "-nifty with only an input": ["-nifty", general],
            "-nifty with an extra argument": ["-nifty", general, out, out],
            "-mbox with only an input": ["-mbox", general],
            "-mbox with an extra argument": ["-mbox", general, out, out],
            "-c alone": ["-c"],
            "-c with an output folder": ["-c", general, out],
            "-c -mbox with an extra argument": ["-c", "-mbox", general, out],
            "-c -c": ["-c", "-c", general],
            "-c and an unknown option": ["-c", "-x", general],
            "unknown option": ["-x", general, out],
            "option named by a prefix": ["-mb", general, out],
            "bare hyphen": ["-", general, out],
            "option in second place": [general, "-mbox", out],
            "-tree twice": ["-tree", "-tree", general, out],
            "-mbox and -nifty": ["-mbox", "-nifty", general, out],
            "-tree with only an input": ["-tree", general],
            "-c -tree with an output folder": ["-c", "-tree", general, out],
            "-tree after the paths": [general, out, "-tree"],
        }
        for name, args in shapes.items():
            self.expect_run(name, args, USAGE, self.p.failure_status())
        # The usage text comes without any library call: nothing was created.
        self.check("wrong shapes create no output folder", not os.path.exists(missing_out))

    def test_double_byte_option_is_no_option(self):
        # A full-width "ｍｂｏｘ" and "ｃ" are double-byte characters, not letters.
        general = self.p.native(self.sample("general.txt")).encode("cp932")
        out = self.fresh("dbcs-out")
        for option in ["-ｍｂｏｘ", "-ｃ"]:
            args = [option.encode("cp932"), general]
            if option != "-ｃ":
                args.append(self.p.native(out).encode("cp932"))
            self.expect_run("option %s" % option, args, USAGE, self.p.failure_status())
        self.check("double-byte options create nothing", not os.path.exists(out))

    # -- extraction ---------------------------------------------------------

    def extract_sample(self, label, option, sample, expected):
        out = self.fresh("out-" + label)
        args = ([option] if option else []) + [self.p.native(self.sample(sample)),
                                                self.p.native(out)]
        self.expect_run("extract " + label, args, TEXTS[112], 0)
        want = self.files_of(os.path.join(self.samples, "expected", expected))
        got = self.files_of(out)
        self.check("extract %s: file names" % label, sorted(got) == sorted(want),
                   "got %s, want %s" % (sorted(got), sorted(want)))
        for name in want:
            self.check("extract %s: %s byte for byte" % (label, name), got.get(name) == want[name])

    def test_samples_extract_to_the_expected_files(self):
        for sample, option, expected, _ in SAMPLES:
            self.extract_sample(expected, option, sample, expected)

    def test_option_spellings(self):
        # Case does not matter in option names. (The folder names differ by more
        # than case: Wine's drive Z: finds names without regard to case.)
        self.extract_sample("spelled-MBOX", "-MBOX", "mailbox.mbox", "mbox")
        self.extract_sample("spelled-Nifty", "-Nifty", "nifty.txt", "nifty")
        self.expect_run("-C counts", ["-C", self.p.native(self.sample("general.txt"))],
                        count_line(4), 0)
        slash_out = self.fresh("out-slash")
        args = ["/MBOX", self.p.native(self.sample("mailbox.mbox")), self.p.native(slash_out)]
        if self.p.windows:
            self.extract_sample("slash-MBOX", "/MBOX", "mailbox.mbox", "mbox")
        else:
            # On Linux a slash begins a path: three plain arguments are no form.
            self.expect_run("/MBOX is a path on Linux", args, USAGE, self.p.failure_status())
            self.check("/MBOX on Linux creates nothing", not os.path.exists(slash_out))

    def test_kind_changes_the_cut(self):
        # Read as general text, the mbox keeps each "From " separator at the end
        # of the message before it: the option really selects the kind.
        out = self.fresh("out-mbox-as-general")
        self.expect_run("mbox read as general text",
                        [self.p.native(self.sample("mailbox.mbox")), self.p.native(out)],
                        TEXTS[112], 0)
        got = self.files_of(out)
        want = self.files_of(os.path.join(self.samples, "expected", "mbox"))
        self.check("mbox as general: same number of messages", len(got) == len(want))
        # As general text nothing is taken away: the quoted line keeps its
        # ">", and the empty line and the next separator stay at the end.
        with open(self.sample("mailbox.mbox"), "rb") as f:
            mbox = f.read()
        second = mbox.index(b"From suzuki@example.ne.jp")
        self.check("mbox as general: first message as it stands, up to the next separator's end",
                   got.get("00001.eml") == mbox[mbox.index(b"\n") + 1:mbox.index(b"\n", second) + 1])

    def test_a_tree_keeps_its_structure(self):
        # A mail program's profile: "Inbox", "Archives" with its subfolder
        # "Archives.sbd/2019", an index file; -tree with -mbox and -c in any
        # order, written "-" or in capitals.
        root = os.path.join(self.work, "profile")
        shutil.rmtree(root, ignore_errors=True)
        os.makedirs(os.path.join(root, "Archives.sbd"))
        with open(self.sample("mailbox.mbox"), "rb") as f:
            mbox = f.read()
        for name in ["Inbox", "Archives", os.path.join("Archives.sbd", "2019")]:
            with open(os.path.join(root, name), "wb") as f:
                f.write(mbox)
        with open(os.path.join(root, "Inbox.msf"), "wb") as f:
            f.write(b"\x00\x01 an index")
        tree = self.p.native(root)
        for args in (["-c", "-tree", "-mbox", tree], ["-TREE", "-mbox", "-c", tree]):
            self.expect_run("count %s" % " ".join(args[:3]), args, count_line(9), 0)
        self.expect_run("the general count of the tree", ["-c", "-tree", tree], count_line(9), 0)
        out = self.fresh("out-tree")
        self.expect_run("extract the tree", ["-tree", "-mbox", tree, self.p.native(out)], TEXTS[112], 0)
        want = self.files_of(os.path.join(self.samples, "expected", "mbox"))
        for folder in ["Inbox", "Archives", os.path.join("Archives", "2019")]:
            got = self.files_of(os.path.join(out, folder))
            self.check("tree: %s holds its messages" % folder, got == want, sorted(got))
        self.check("tree: nothing else is written",
                   sorted(os.listdir(out)) == ["Archives", "Inbox"] and
                   sorted(os.listdir(os.path.join(out, "Archives"))) ==
                   ["00001.eml", "00002.eml", "00003.eml", "2019"], repr(os.listdir(out)))
        # Without -tree, the folder's own files only, into one folder.
        flat = self.fresh("out-flat")
        self.expect_run("extract without -tree", ["-mbox", tree, self.p.native(flat)], TEXTS[112], 0)
        self.check("without -tree: the two top files' messages", len(os.listdir(flat)) == 6,
                   repr(sorted(os.listdir(flat))))

    def test_file_times_are_the_messages_dates(self):
        # Each file is dated as its message's Date field says, in UTC.
        out = self.fresh("out-times")
        self.expect_run("extract for the times",
                        ["-mbox", self.p.native(self.sample("mailbox.mbox")), self.p.native(out)],
                        TEXTS[112], 0)
        for name, data in sorted(self.files_of(out).items()):
            date = email.message_from_bytes(data)["Date"]
            want = email.utils.parsedate_to_datetime(date).timestamp()
            got = os.stat(os.path.join(out, name)).st_mtime
            self.check("file time of %s is its Date (%s)" % (name, date), int(got) == int(want),
                       "%s, want %s" % (got, want))

    def test_extraction_without_messages_reports_success(self):
        plain = os.path.join(self.work, "plain.txt")
        with open(plain, "wb") as f:
            f.write("メモ\r\n買い物: 牛乳、卵\r\n".encode("cp932"))
        out = self.fresh("out-none")
        self.expect_run("no message found", [self.p.native(plain), self.p.native(out)],
                        TEXTS[112], 0)
        self.check("no message found: no .eml file", not self.files_of(out))

    # -- failures from the library ------------------------------------------

    def test_library_failures_print_their_text_and_the_usage(self):
        out = self.fresh("out-fail")
        missing = os.path.join(self.work, "no-such-file.txt")
        self.expect_run("input names nothing", [self.p.native(missing), self.p.native(out)],
                        TEXTS[1003] + USAGE, self.p.failure_status())
        self.expect_run("count of a missing input", ["-c", self.p.native(missing)],
                        TEXTS[1003] + USAGE, self.p.failure_status())

        taken = self.fresh("taken-by-a-file")
        with open(taken, "wb") as f:
            f.write(b"not a folder")
        self.expect_run("output folder is a file",
                        ["-mbox", self.p.native(self.sample("mailbox.mbox")), self.p.native(taken)],
                        TEXTS[1008] + USAGE, self.p.failure_status())
        with open(taken, "rb") as f:
            self.check("output folder is a file: file unchanged", f.read() == b"not a folder")
        self.check("failures create no output folder", not os.path.exists(out))

    # -- relative paths -----------------------------------------------------

    def test_relative_paths_are_the_current_folders(self):
        # From a folder of its own, as a user types them: a file in a
        # subfolder and an output folder two levels down that is made.
        cwd = self.fresh("relative-cwd")
        os.makedirs(os.path.join(cwd, "mail"))
        shutil.copy(self.sample("mailbox.mbox"), os.path.join(cwd, "mail"))
        sep = "\\" if self.p.windows else "/"
        box = "mail" + sep + "mailbox.mbox"
        self.expect_run("relative input and output", ["-mbox", box, "out" + sep + "mbox"],
                        TEXTS[112], 0, cwd=cwd)
        want = self.files_of(os.path.join(self.samples, "expected", "mbox"))
        self.check("relative: the files in the current folder's out/mbox",
                   self.files_of(os.path.join(cwd, "out", "mbox")) == want)
        self.expect_run("relative count", ["-c", box], count_line(3), 0, cwd=cwd)
        # ".." and a relative input with an absolute output.
        other = self.fresh("relative-other")
        os.makedirs(other)
        out_abs = self.fresh("out-abs")
        self.expect_run("relative input above the current folder",
                        [".." + sep + "relative-cwd" + sep + box, self.p.native(out_abs)],
                        TEXTS[112], 0, cwd=other)
        self.check("relative input above: as general text, 3 files",
                   len(self.files_of(out_abs)) == 3)

    def test_relative_paths_that_become_too_long_are_refused(self):
        # Short relative names in a current folder so deep that the absolute
        # path passes 259 bytes: refused as a bad path, never cut.
        deep = self.work
        while len(self.p.native(deep)) < 250:
            deep = os.path.join(deep, "d" * 20)
        os.makedirs(deep, exist_ok=True)
        shutil.copy(self.sample("general.txt"), os.path.join(deep, "general.txt"))
        self.check("the deep folder's paths pass 259 bytes",
                   len(self.p.native(os.path.join(deep, "general.txt"))) >= 260)
        long_out = self.fresh("long-out")
        self.expect_run("too long relative input", ["general.txt", self.p.native(long_out)],
                        TEXTS[1001] + USAGE, self.p.failure_status(), cwd=deep)
        self.expect_run("too long relative count", ["-c", "general.txt"],
                        TEXTS[1001] + USAGE, self.p.failure_status(), cwd=deep)
        self.expect_run("too long relative output",
                        [self.p.native(self.sample("general.txt")), "out"],
                        TEXTS[1005] + USAGE, self.p.failure_status(), cwd=deep)
        self.check("too long: nothing made", not os.path.exists(os.path.join(deep, "out")) and
                   not os.path.exists(long_out))

    # -- counting -----------------------------------------------------------

    def test_counts(self):
        folder = self.fresh("count-folder")
        os.makedirs(os.path.join(folder, "sub"))
        total = 0
        for sample, _, _, messages in SAMPLES:
            shutil.copy(self.sample(sample), folder)
            # Mail in a subfolder is not counted: folders are read one level deep.
            shutil.copy(self.sample(sample), os.path.join(folder, "sub"))
            total += messages
            self.expect_run("count " + sample, ["-c", self.p.native(self.sample(sample))],
                            count_line(messages), 0)
        # One line, the total, and a line end after it.
        self.expect_run("count a folder", ["-c", self.p.native(folder)], count_line(total), 0)
        empty = self.fresh("count-empty")
        os.makedirs(empty)
        self.expect_run("count an empty folder", ["-c", self.p.native(empty)], count_line(0), 0)


    def test_counts_by_kind(self):
        # Each kind's count equals what that kind's extraction writes: an mbox
        # counted as an mbox, not as general text.
        mbox = os.path.join(self.work, "kinds.mbox")
        with open(mbox, "wb") as f:
            for i in range(1, 6):
                f.write(("From a@b Sat Jan  1 00:00:00 2000\nSubject: %d\n\nbody %d\n\n"
                         % (i, i)).encode())
        path = self.p.native(mbox)
        self.expect_run("general count of the mbox", ["-c", path], count_line(1), 0)
        for args in (["-c", "-mbox", path], ["-mbox", "-c", path], ["-C", "-MBOX", path],
                     ["-c", "-Mbox", path]):
            self.expect_run("count %s" % " ".join(args[:2]), args, count_line(5), 0)
        out = self.fresh("out-kinds")
        self.expect_run("extract the mbox", ["-mbox", path, self.p.native(out)], TEXTS[112], 0)
        self.check("-c -mbox counts the files written", len(self.files_of(out)) == 5)
        for sample, option, _, messages in SAMPLES:
            if option:
                for args in ([option, "-c"], ["-c", option]):
                    self.expect_run("count %s %s" % (sample, " ".join(args)),
                                    args + [self.p.native(self.sample(sample))],
                                    count_line(messages), 0)
            # Every sample read as every kind: the count is the files written.
            for kind in (None, "-nifty", "-mbox"):
                opt = [kind] if kind else []
                out = self.fresh("out-count-kind")
                path = self.p.native(self.sample(sample))
                self.expect_run("extract %s as %s" % (sample, kind), opt + [path, self.p.native(out)],
                                TEXTS[112], 0)
                self.expect_run("count %s as %s" % (sample, kind), ["-c"] + opt + [path],
                                count_line(len(self.files_of(out))), 0)
        missing = self.p.native(os.path.join(self.work, "no-such.mbox"))
        self.expect_run("count by kind of a missing input", ["-c", "-nifty", missing],
                        TEXTS[1003] + USAGE, self.p.failure_status())


    # -- faults a user meets ---------------------------------------------------

    def test_input_folders_may_end_in_separators(self):
        folder = self.fresh("sep-folder")
        os.makedirs(folder)
        shutil.copy(self.sample("mailbox.mbox"), folder)
        sep = "\\" if self.p.windows else "/"
        for tail in (sep, sep + sep):
            self.expect_run("count of a folder ending in %r" % tail,
                            ["-c", "-mbox", self.p.native(folder) + tail], count_line(3), 0)
        out = self.fresh("sep-out")
        self.expect_run("extraction from a folder ending in a separator",
                        ["-mbox", self.p.native(folder) + sep, self.p.native(out)], TEXTS[112], 0)
        self.check("extraction from a folder ending in a separator: 3 files",
                   len(self.files_of(out)) == 3)
        cwd = self.fresh("sep-cwd")
        os.makedirs(os.path.join(cwd, "mail"))
        shutil.copy(self.sample("general.txt"), os.path.join(cwd, "mail"))
        self.expect_run("relative folder ending in a separator", ["-c", "mail" + sep],
                        count_line(4), 0, cwd=cwd)
        # A file is no folder: written so, it names nothing.
        self.expect_run("a file ending in a separator",
                        ["-c", self.p.native(os.path.join(folder, "mailbox.mbox")) + sep],
                        TEXTS[1003] + USAGE, self.p.failure_status())

    def test_an_input_cut_during_the_run_is_a_failure(self):
        # Another program cuts the mailbox to half while it is extracted (a
        # mail program compacting it): the run fails with 1001, and every file
        # it leaves is a whole message of the mailbox.
        messages = [("Subject: %d\n\n" % i + "line %d of a body that fills a message\n" * 12
                     % ((i,) * 12)).encode() for i in range(30000)]
        mbox = os.path.join(self.work, "cut.mbox")
        with open(mbox, "wb") as f:
            for m in messages:  # each with the empty line that the writer adds
                f.write(b"From a@b Sat Jan  1 00:00:00 2000\n" + m + b"\n")
        size = os.path.getsize(mbox)
        out = self.fresh("cut-out")
        process, out_path = self.p.start(["-mbox", self.p.native(mbox), self.p.native(out)])
        deadline = time.monotonic() + 120
        while (process.poll() is None and time.monotonic() < deadline and
               (not os.path.isdir(out) or len(os.listdir(out)) < 300)):
            time.sleep(0.02)
        cut_in_time = process.poll() is None
        # Well past what has been read by then (a few hundred messages and a
        # block of read-ahead), well short of the end.
        os.truncate(mbox, 1536 * 1024)
        status = process.wait(timeout=300)
        self.check("the mailbox was cut while the run went on", cut_in_time,
                   "the run had ended before 300 files were written")
        with open(out_path, "rb") as f:
            said = f.read()
        self.check("cut input: exit status", status == self.p.failure_status(), str(status))
        self.check("cut input: the 1001 text and the usage", said == self.p.expect(TEXTS[1001] + USAGE),
                   repr(said[:80]))
        files = self.files_of(out)
        names = ["%05d.eml" % (i + 1) for i in range(len(files))]
        self.check("cut input: the files are numbered from 00001.eml without a gap",
                   sorted(files) == names, "%d files" % len(files))
        self.check("cut input: some files, fewer than the mailbox's messages",
                   300 <= len(files) < len(messages), str(len(files)))
        whole = all(files.get(name) == messages[i] for i, name in enumerate(names))
        self.check("cut input: every file left is its message, whole", whole)
        os.remove(mbox)
        shutil.rmtree(out, ignore_errors=True)

    def test_a_full_disk_leaves_no_cut_message(self):
        disk = self.fresh("small-disk")
        os.makedirs(disk)
        if os.geteuid() != 0 or subprocess.run(["mount", "-t", "tmpfs", "-o", "size=256k", "tmpfs", disk],
                                               stderr=subprocess.DEVNULL).returncode != 0:
            print("  (skipped: a small tmpfs cannot be mounted here; the native suite fails writes instead)")
            return
        try:
            mbox = os.path.join(self.work, "fills.mbox")
            messages = [("Subject: %d\n\n" % i).encode() + b"x" * 40000 + b"\n" for i in range(12)]
            with open(mbox, "wb") as f:
                for m in messages:
                    f.write(b"From a@b Sat Jan  1 00:00:00 2000\n" + m)
            out = os.path.join(disk, "out")
            self.expect_run("full disk", ["-mbox", self.p.native(mbox), self.p.native(out)],
                            TEXTS[1007] + USAGE, self.p.failure_status())
            files = self.files_of(out)
            names = ["%05d.eml" % (i + 1) for i in range(len(files))]
            self.check("full disk: some files written, then the disk was full",
                       sorted(files) == names and 0 < len(files) < len(messages), str(sorted(files)))
            self.check("full disk: every file left is a whole message",
                       all(files[n] == messages[i] for i, n in enumerate(names)))
        finally:
            subprocess.run(["umount", disk])

    def test_a_folder_where_nothing_can_be_made_fails_at_once(self):
        # No name can be made there: 1007 (1008 for a folder that cannot be
        # made) at once, not a walk through every name up to 9999999.eml and
        # a wrong 1009.
        mbox = self.p.native(self.sample("mailbox.mbox"))
        failed = [self.p.expect(TEXTS[code] + USAGE) for code in (1007, 1008)]
        cases = []
        if self.p.windows:
            # A device, and a folder of the system where no file can be made.
            # (Wine takes "\\\\" for a folder of its own, where files can be made.)
            cases = [("\\\\.\\NUL", None), ("Z:\\proc", None)]
        else:
            user = 65534 if os.geteuid() == 0 else None
            if user is not None and shutil.which("setpriv") is None:
                print("  (skipped: running as root without setpriv)")
                return
            locked = self.fresh("locked")
            os.makedirs(locked)
            cases = [(locked, 0o555), (os.path.join(locked, "sub"), 0o555), (locked, 0o444)]
        for target, mode in cases:
            if mode is not None:
                os.chmod(locked, mode)
            status, said = self.p.run(["-mbox", mbox, target],
                                      user=None if self.p.windows else user)
            self.check("nothing can be made in %r (mode %s)" % (target, mode),
                       status == self.p.failure_status() and said in failed,
                       "%d %r" % (status, said[:60]))
        if not self.p.windows:
            os.chmod(locked, 0o755)
            self.check("the locked folder stays empty", not os.listdir(locked))

    def test_counts_end_their_line(self):
        status, said = self.p.run(["-c", self.p.native(self.sample("nifty.txt"))])
        self.check("a count ends with a line end", status == 0 and said.endswith(self.p.expect("\n")),
                   repr(said))


class LinuxSuite(Suite):
    def test_new_folders_named_in_the_locales_encoding(self):
        # Japanese Linux systems use UTF-8: new folders named in it are made
        # whole, parents and all; under a Shift-JIS locale, Shift-JIS names.
        mbox = self.p.native(self.sample("mailbox.mbox"))
        want = self.files_of(os.path.join(self.samples, "expected", "mbox"))
        base = self.fresh("utf8-names")
        os.makedirs(base)
        for name in ["出力", "あ/保存", "表", "能", "予/sub/out"]:
            out = os.path.join(base, name).encode("utf-8")
            status, said = self.p.run([b"-mbox", mbox.encode(), out], locale="C.UTF-8")
            self.check("UTF-8 folder %s: made" % name, status == 0 and
                       self.files_of(out.decode("utf-8")) == want, repr(said[:60]))
        status = subprocess.run(["locale", "-a"], stdout=subprocess.PIPE).stdout.lower()
        if b"ja_jp.sjis" not in status:
            print("  (no Shift-JIS locale here: the Shift-JIS names are not tried)")
            return
        for name in ["出力", "表/能"]:
            out = os.path.join(base.encode(), name.encode("cp932"))
            status, said = self.p.run([b"-mbox", mbox.encode(), out], locale="ja_JP.SJIS")
            got = [v for _, v in sorted(self.files_of(out).items())]
            self.check("Shift-JIS folder %s: made" % name, status == 0 and
                       got == [v for _, v in sorted(want.items())], repr(said[:60]))


    def test_more_than_99999_messages_into_one_folder(self):
        # Small messages, each telling its number; two names are taken before
        # the run, and the gaps among them are filled first.
        count = 100003
        mbox = os.path.join(self.work, "many.mbox")
        def message(i):
            return "Subject: %d\n\nbody %d\n" % (i, i)
        with open(mbox, "wb") as f:
            for i in range(1, count + 1):
                f.write(b"From a@b Sat Jan  1 00:00:00 2000\n" + message(i).encode() + b"\n")
        out = self.fresh("many-out")
        os.makedirs(out)
        taken = {"00002.eml": b"mine", "100000.eml": b"mine too"}
        for name, data in taken.items():
            with open(os.path.join(out, name), "wb") as f:
                f.write(data)
        self.expect_run("100003 messages", ["-mbox", mbox, out], TEXTS[112], 0)
        names = os.listdir(out)
        self.check("100003 messages: every one written beside the two taken names",
                   len(names) == count + 2, str(len(names)))
        # Message n goes to the n-th free number: 1, 3, 4, ..., 99999, 100001, ...
        free = [n for n in range(1, count + 3) if "%05d.eml" % n not in taken]
        for index in [1, 2, 3, 99997, 99998, 99999, count]:
            name = "%05d.eml" % free[index - 1]
            path = os.path.join(out, name)
            got = open(path, "rb").read() if os.path.exists(path) else None
            self.check("message %d in %s" % (index, name), got == message(index).encode(),
                       repr(got))
        for name, data in taken.items():
            self.check("%s kept" % name, open(os.path.join(out, name), "rb").read() == data)
        self.check("the names go on past 99999.eml by the same pattern",
                   all(os.path.exists(os.path.join(out, n))
                       for n in ["99999.eml", "100001.eml", "100002.eml", "100005.eml"]) and
                   not os.path.exists(os.path.join(out, "100006.eml")))
        shutil.rmtree(out)

    def test_texts_follow_the_terminal_character_set(self):
        folder = self.sample("general.txt")
        for locale in ["ja_JP.UTF-8", "C.UTF-8"]:
            status, got = self.p.run(["-c", folder], locale=locale)
            self.check("count under %s: exit status" % locale, status == 0)
            self.check("count under %s: UTF-8 text" % locale,
                       got == (count_line(4)).encode("utf-8"), repr(got))
            status, got = self.p.run([], locale=locale)
            self.check("usage under %s" % locale,
                       status == 255 and got == USAGE.encode("utf-8"), repr(got[:60]))


    def test_run_script(self):
        """The README's command: relative paths reach kelpo made absolute."""
        if not self.script:
            return
        cwd = self.fresh("script-cwd")
        os.makedirs(cwd)
        shutil.copy(self.sample("nifty.txt"), cwd)
        env = dict(os.environ, LC_ALL="ja_JP.UTF-8")
        env.pop("CORVEX_CRITERIA_KEYWORD_COUNT", None)

        def script(*args):
            return subprocess.run(["bash", self.script] + list(args), cwd=cwd, env=env,
                                  stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                                  stderr=subprocess.PIPE, timeout=600)

        done = script()
        self.check("script without arguments: exit status", done.returncode == 0, done.stderr)
        self.check("script without arguments: the mbox sample in ./out",
                   self.files_of(os.path.join(cwd, "out")) ==
                   self.files_of(os.path.join(self.samples, "expected", "mbox")))
        self.check("script without arguments: says how many and where",
                   done.stdout.endswith(("3 messages extracted from samples/mailbox.mbox into %s\n"
                                         % os.path.join(cwd, "out")).encode()), done.stdout)
        done = script("-Nifty", "nifty.txt", "nifty-out")
        self.check("script with relative paths", done.returncode == 0 and
                   done.stdout == TEXTS[112].encode("utf-8") and
                   self.files_of(os.path.join(cwd, "nifty-out")) ==
                   self.files_of(os.path.join(self.samples, "expected", "nifty")), done.stdout)


class WindowsSuite(Suite):
    def test_exit_code_is_minus_one(self):
        # The full 32-bit exit code, as a batch file sees it.
        batch = os.path.join(self.work, "exit-code.bat")
        with open(batch, "wb") as f:
            f.write(("@%s > NUL\r\n@echo %%ERRORLEVEL%%\r\n@%s -c %s > NUL\r\n@echo %%ERRORLEVEL%%\r\n"
                     % (self.p.native(self.p.path), self.p.native(self.p.path),
                        self.p.native(self.sample("general.txt")))).encode("ascii"))
        status, got = self.p.run(["/c", self.p.native(batch)], program="cmd")
        self.check("exit codes seen by cmd", got.split() == [b"-1", b"0"], repr(got))

    def test_program_file(self):
        # Corvex.dll is imported by name, for exactly the three calls the tool makes.
        objdump = shutil.which("x86_64-w64-mingw32-objdump")
        self.check("objdump for the import table", objdump is not None)
        if objdump:
            dump = subprocess.run([objdump, "-p", self.p.path], stdout=subprocess.PIPE,
                                  timeout=60).stdout.decode("ascii", "replace")
            block = dump.split("DLL Name: Corvex.dll", 1)
            names = []
            if len(block) == 2:
                for line in block[1].splitlines()[2:]:
                    if not line.strip():
                        break
                    names.append(line.split()[-1])
            self.check("imports from Corvex.dll", sorted(names) ==
                       ["InetMailMessageCountInFile", "InetMailMessageCountInFileOfKind", "Kelpo",
                        "KelpoExWithFlags"],
                       repr(names))
        with open(self.p.path, "rb") as f:
            image = f.read()
        for value in ["041104B0", "TALVEN", "Kelpo (Console application)", "1, 0, 2, 1127",
                      "Kelpo.exe", "Quillbox", "1, 0, 0, 1"]:
            self.check("version resource holds %s" % value, value.encode("utf-16-le") in image)
        translation = "Translation".encode("utf-16-le")
        at = image.find(translation)
        self.check("version translation 0x411, 1200",
                   at > 0 and bytes.fromhex("1104b004") in image[at:at + 40])

    def test_renamed_copy_still_prints_its_texts(self):
        folder = self.fresh("renamed")
        os.makedirs(folder)
        renamed = os.path.join(folder, "mailcut.exe")
        shutil.copy(self.p.path, renamed)
        shutil.copy(os.path.join(os.path.dirname(self.p.path), "Corvex.dll"), folder)
        status, got = self.p.run([], program=renamed)
        self.check("renamed copy: usage text", got == self.p.expect(USAGE),
                   "exit status %d, %r; Wine said %r" % (status, got[:60], self.p.last_stderr()[-300:]))
        status, got = self.p.run(["-c", self.p.native(self.sample("nifty.txt"))], program=renamed)
        self.check("renamed copy: count text", got == self.p.expect(count_line(3)), repr(got))


def main():
    parser = program_arguments("--program", "--samples")
    parser.add_argument("--script", help="also test this run script (Linux build)")
    options = parser.parse_args()

    work = fresh_folder(options.work)
    program = Program.of(options, work)
    suite_class = WindowsSuite if program.windows else LinuxSuite
    suite = suite_class(program, os.path.abspath(options.samples), work)
    suite.script = os.path.abspath(options.script) if options.script else None
    tests = sorted(name for name in dir(suite) if name.startswith("test_"))
    for name in tests:
        before = len(suite.failures)
        getattr(suite, name)()
        print("%-60s %s" % (name, "ok" if len(suite.failures) == before else "FAILED"))
    for failure in suite.failures:
        print("FAIL:", failure)
    print("%d checks, %d failed, %d program runs" % (suite.checks, len(suite.failures), program.runs))
    return 1 if suite.failures else 0


if __name__ == "__main__":
    sys.exit(main())
