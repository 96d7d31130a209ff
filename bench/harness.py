#!/usr/bin/env python3
"""Times the product against reference commands on the same inputs, in one run.

Every command runs once untimed (to warm the page cache), then --runs times;
the best wall time counts. Ratios compare against references measured in this
same run, since absolute times on shared machines are noise. The benchmark
reports; it fails (exit 1) only when a command it needs fails or is missing.
"""
import argparse
import json
import os
import re
import shutil
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
NATIVE_BIN = os.path.join(ROOT, "build", "native", "bin")
WIN_BUILD = os.path.join(ROOT, "build", "win64")
WIN32_BUILD = os.path.join(ROOT, "build", "win32")
MIB = 1024 * 1024


class CommandFailed(Exception):
    pass


class Bench:
    def __init__(self, args):
        self.args = args
        self.dir = args.dir
        self.rows = []
        self.failures = []
        self.notes = []
        with open(os.path.join(self.dir, "manifest.json")) as f:
            self.manifest = json.load(f)["files"]
        self.out_root = args.out
        self.logs = os.path.join(self.dir, "logs")
        os.makedirs(self.logs, exist_ok=True)

    # -- running commands

    def run_once(self, cmd, env=None, tag="cmd"):
        """Runs cmd with its output in files (Wine's helpers may hold a pipe open)."""
        name = re.sub(r"[^A-Za-z0-9.-]+", "_", tag)
        out_path = os.path.join(self.logs, name + ".out")
        err_path = os.path.join(self.logs, name + ".err")
        with open(out_path, "wb") as out, open(err_path, "wb") as err:
            start = time.perf_counter()
            rc = subprocess.call(cmd, stdin=subprocess.DEVNULL, stdout=out, stderr=err, env=env, cwd=self.dir)
            wall = time.perf_counter() - start
        with open(out_path, "rb") as f:
            stdout = f.read()
        if rc != 0:
            with open(err_path, "rb") as f:
                stderr = f.read()
            raise CommandFailed("%s exited with %d\n%s%s" % (" ".join(cmd), rc, stdout[-2000:].decode(errors="replace"),
                                                             stderr[-2000:].decode(errors="replace")))
        return wall, stdout

    def measure(self, cmd, tag, prepare=None, env=None, runs=None):
        """Best of runs after one untimed run. Returns (wall s, in-process s or None, last stdout)."""
        runs = self.args.runs if runs is None else runs
        best_wall, best_inner, stdout = None, None, b""
        for i in range(runs + 1):
            if prepare:
                prepare()
            wall, stdout = self.run_once(cmd, env, tag)
            inner = inner_seconds(stdout)
            if i == 0 and runs > 0:
                continue
            best_wall = wall if best_wall is None else min(best_wall, wall)
            if inner is not None:
                best_inner = inner if best_inner is None else min(best_inner, inner)
        print("  %-34s %8.3f s%s" % (tag, best_wall, "" if best_inner is None else "  (in process %.3f s)" % best_inner),
              flush=True)
        return best_wall, best_inner, stdout

    def fresh_dir(self, name):
        # Only one output folder exists at a time: the previous one goes now.
        shutil.rmtree(self.out_root, ignore_errors=True)
        path = os.path.join(self.out_root, name)

        def prepare():
            shutil.rmtree(path, ignore_errors=True)
            os.makedirs(path)
        return path, prepare

    # -- reporting

    def row(self, what, seconds, ref_name, ref_seconds, target, unit="s", less_than=False):
        ratio = seconds / ref_seconds if ref_seconds else float("inf")
        ok = ratio < target if less_than else ratio <= target
        self.rows.append((what, seconds, unit, ref_name, ratio, ("< " if less_than else "<= ") + "%g" % target,
                          "PASS" if ok else "FAIL"))

    def value_row(self, what, value, unit, limit):
        self.rows.append((what, value, unit, "", None, "<= %g %s" % (limit, unit), "PASS" if value <= limit else "FAIL"))

    def info_row(self, what, seconds, ref_name, ref_seconds):
        self.rows.append((what, seconds, "s", ref_name, seconds / ref_seconds if ref_seconds else None, "info", ""))

    def missing(self, what, why):
        self.rows.append((what, None, "", "", None, "", "n/a"))
        self.failures.append("%s: %s" % (what, why))

    def section(self, title, fn):
        print("\n== %s" % title, flush=True)
        try:
            fn()
        except CommandFailed as e:
            self.failures.append("%s: %s" % (title, e))
            print("  FAILED: %s" % e, flush=True)

    def expect(self, what, found, expected):
        note = "%s: %d found, %d generated" % (what, found, expected)
        if found != expected:
            note += "  <-- differs"
        print("  " + note, flush=True)
        self.notes.append(note)

    def print_table(self):
        print("\n%-52s %10s  %-22s %8s  %-8s %s" % ("measurement", "value", "reference", "ratio", "target", "result"))
        print("-" * 112)
        for what, value, unit, ref, ratio, target, result in self.rows:
            v = "-" if value is None else ("%.3f %s" % (value, unit) if unit == "s" else "%.1f %s" % (value, unit))
            r = "" if ratio is None else "%.2f" % ratio
            print("%-52s %10s  %-22s %8s  %-8s %s" % (what, v, ref, r, target, result))
        if self.notes:
            print("\nmessage counts:")
            for n in self.notes:
                print("  " + n)
        if self.failures:
            print("\nnot measured or failed:")
            for f in self.failures:
                print("  " + f.splitlines()[0])


def default_out():
    """Output folders go to RAM when possible: on these virtual machines the disk
    is throttled after a burst of writes, and the figures would then measure
    the throttle (the same command ran 20 times slower after earlier runs)."""
    if os.environ.get("QUILLBOX_BENCH_OUT"):
        return os.environ["QUILLBOX_BENCH_OUT"]
    if os.path.isdir("/dev/shm") and shutil.disk_usage("/dev/shm").free > 3 * 1024 * MIB:
        return "/dev/shm/quillbox-bench-out"
    return os.path.join(os.environ.get("QUILLBOX_BENCH_DIR", "/tmp/quillbox-bench"), "out")


def inner_seconds(stdout):
    m = re.search(rb"ms=([0-9.]+)", stdout)
    return float(m.group(1)) / 1000 if m else None


def count_from(stdout, key=None):
    if key:
        m = re.search(key.encode() + rb"=(\d+)", stdout)
    else:
        m = re.search(rb"(\d+)\s*$", stdout)
    return int(m.group(1)) if m else -1


def mib(path):
    return "%.0f MiB mbox" % (os.path.getsize(path) / MIB)


def files_in(path):
    return len(os.listdir(path))


def tool(name):
    path = os.path.join(NATIVE_BIN, name)
    return path if os.path.exists(path) else None


# ---------------------------------------------------------------- sections

def native_counting(b):
    mbox = os.path.join(b.dir, "mbox.mbox")
    expected = b.manifest["mbox.mbox"]["messages"]
    print("  input: %s, %.1f MiB, %d messages" % (mbox, os.path.getsize(mbox) / MIB, expected))
    wc, _, _ = b.measure(["wc", "-l", mbox], "wc -l")
    b.wc = wc
    kelpo = tool("kelpo")
    if not kelpo:
        return b.missing("kelpo -c mbox (kind 0)", "build/native/bin/kelpo is missing")
    t, _, out = b.measure([kelpo, "-c", mbox], "kelpo -c")
    b.expect("kelpo -c mbox.mbox", count_from(out), expected)
    b.row("native count: kelpo -c (%s)" % mib(mbox), t, "wc -l", wc, 2)
    b.native_count = t


def native_extraction(b):
    mbox = os.path.join(b.dir, "mbox.mbox")
    expected = b.manifest["mbox.mbox"]["messages"]
    split = tool("bench_plain_split")
    out, prepare = b.fresh_dir("split")
    if not split:
        raise CommandFailed("build/native/bin/bench_plain_split is missing")
    plain, _, so = b.measure([split, mbox, out], "plain split", prepare)
    b.expect("plain split mbox.mbox", count_from(so, "records"), expected)
    out, prepare = b.fresh_dir("mailsplit")
    mailsplit, _, so = b.measure(["git", "mailsplit", "-o" + out, mbox], "git mailsplit", prepare)
    b.expect("git mailsplit mbox.mbox", files_in(out), expected)
    b.plain = plain
    kelpo = tool("kelpo")
    if not kelpo:
        b.missing("kelpo -mbox (%s)" % mib(mbox), "build/native/bin/kelpo is missing")
        return
    out, prepare = b.fresh_dir("kelpo-mbox")
    t, _, _ = b.measure([kelpo, "-mbox", mbox, out], "kelpo -mbox", prepare)
    b.expect("kelpo -mbox mbox.mbox (.eml files)", files_in(out), expected)
    b.row("native extract: kelpo -mbox (%s)" % mib(mbox), t, "plain split", plain, 1.15)
    b.row("native extract: kelpo -mbox vs git mailsplit", t, "git mailsplit", mailsplit, 1.0, less_than=True)
    general = os.path.join(b.dir, "general.txt")
    out, prepare = b.fresh_dir("kelpo-general")
    g, _, _ = b.measure([kelpo, general, out], "kelpo (general text)", prepare)
    b.expect("kelpo general.txt (.eml files)", files_in(out), b.manifest["general.txt"]["messages"])
    b.info_row("native extract: kelpo general.txt (kind 0)", g, "plain split (mbox)", plain)


def wine_env(build=WIN_BUILD):
    env = dict(os.environ)
    env.update(WINEPREFIX=os.path.join(build, "wineprefix"), WINEDEBUG="-all", LC_ALL="ja_JP.SJIS")
    return env


def wine_command(build=WIN_BUILD):
    """The build's own runner: the Wine of its width, in its own prefix."""
    wrapper = os.path.join(build, "wine-run")
    if os.path.exists(wrapper):
        return [wrapper]
    return ["/usr/lib/wine/wine" if build == WIN32_BUILD else "/usr/lib/wine/wine64"]


def win_tool(name, build=WIN_BUILD):
    for d in (os.path.join(build, "bin"), os.path.join(build, "bench-bin")):
        p = os.path.join(d, name)
        if os.path.exists(p):
            return p
    return None


def to_windows(path):
    return "Z:" + path.replace("/", "\\")


def start_wine(b, build=WIN_BUILD):
    env = wine_env(build)
    os.makedirs(env["WINEPREFIX"], exist_ok=True)
    # A persistent server, and one trivial program first, all with stdio on
    # /dev/null: Wine's helper processes then never hold our output open and
    # the prefix's start-up is out of the way before anything is timed.
    subprocess.Popen(["wineserver", "-p", "30"], stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                     stderr=subprocess.DEVNULL, env=env).wait()
    subprocess.call(wine_command(build) + ["cmd.exe", "/c", "exit"], stdin=subprocess.DEVNULL,
                    stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, env=env)
    return env


def stop_wine(build):
    subprocess.call(["wineserver", "-k"], stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                    stderr=subprocess.DEVNULL, env=wine_env(build))


def wine_section(b):
    driver, split = win_tool("bench_win_driver.exe"), win_tool("bench_win_plain_split.exe")
    if not driver or not split:
        raise CommandFailed("bench_win_driver.exe / bench_win_plain_split.exe not built")
    dll = os.path.join(WIN_BUILD, "bin", "Corvex.dll")
    native_driver = tool("bench_native_driver")
    env = start_wine(b)
    wine = wine_command()
    mbox = os.path.join(b.dir, "mbox.mbox")
    head = os.path.join(b.dir, "head.mbox")
    head_expected = b.manifest["head.mbox"]["messages"]

    out, prepare = b.fresh_dir("win-split")
    wsplit_wall, wsplit, so = b.measure(wine + [split, to_windows(head), to_windows(out)], "wine plain split (head)",
                                        prepare, env)
    b.expect("Win32 plain split head.mbox", count_from(so, "records"), head_expected)
    if not os.path.exists(dll):
        b.missing("wine count: KelpoEx count / native", "build/win64/bin/Corvex.dll is missing")
        b.missing("wine extract: KelpoEx kind 2 (head.mbox)", "build/win64/bin/Corvex.dll is missing")
        return
    if not native_driver:
        raise CommandFailed("build/native/bin/bench_native_driver is missing")
    _, ncount, so = b.measure([native_driver, "count", mbox], "native driver count")
    b.expect("native InetMailMessageCountInFile mbox.mbox", count_from(so, "messages"),
             b.manifest["mbox.mbox"]["messages"])
    wcount_wall, wcount, so = b.measure(wine + [driver, "--dll", to_windows(dll), "count", to_windows(mbox)],
                                        "wine driver count", None, env)
    b.expect("Windows InetMailMessageCountInFile mbox.mbox", count_from(so, "messages"),
             b.manifest["mbox.mbox"]["messages"])
    b.row("wine count: in process (%s)" % mib(mbox), wcount, "native, in process", ncount, 3)
    b.info_row("wine count: whole command incl. Wine start", wcount_wall, "native kelpo -c",
               getattr(b, "native_count", None))

    out, prepare = b.fresh_dir("win-kelpo")
    wext_wall, wext, so = b.measure(wine + [driver, "--dll", to_windows(dll), "extract", "2", to_windows(head),
                                            to_windows(out)], "wine driver extract (head)", prepare, env)
    b.expect("Windows KelpoEx kind 2 head.mbox (.eml files)", files_in(out), head_expected)
    b.row("wine extract: KelpoEx kind 2, in process (%d msgs)" % head_expected, wext, "Win32 split, in proc", wsplit,
          1.2)
    b.info_row("wine extract: whole commands", wext_wall, "Win32 split, wall", wsplit_wall)
    kelpo_exe = os.path.join(WIN_BUILD, "bin", "Kelpo.exe")
    if os.path.exists(kelpo_exe):
        out, prepare = b.fresh_dir("win-kelpo-exe")
        t, _, _ = b.measure(wine + [kelpo_exe, "-mbox", to_windows(head), to_windows(out)], "wine Kelpo.exe -mbox",
                            prepare, env)
        b.info_row("wine extract: Kelpo.exe -mbox (head.mbox)", t, "Win32 split, wall", wsplit_wall)


def desktop_section(b):
    """A count and a run of the 16 MiB mbox through the desktop program's real
    main window, against the same count and extraction through Kelpo.exe;
    then the idle window's wake-ups and processor time."""
    driver, kelpo_exe = win_tool("bench_quillrun_driver.exe"), win_tool("Kelpo.exe")
    lib_driver = win_tool("bench_win_driver.exe")
    if not driver or not kelpo_exe or not lib_driver:
        raise CommandFailed("bench_quillrun_driver.exe, Kelpo.exe or bench_win_driver.exe not built")
    if not os.environ.get("DISPLAY"):
        raise CommandFailed("no display for the window (bench/run.sh starts a virtual one)")
    env = start_wine(b)
    wine = wine_command()
    head = os.path.join(b.dir, "head.mbox")
    expected = b.manifest["head.mbox"]["messages"]
    dll = os.path.join(WIN_BUILD, "bin", "Corvex.dll")

    kcount, _, so = b.measure(wine + [kelpo_exe, "-c", to_windows(head)], "wine Kelpo.exe -c (head)", None, env)
    b.expect("Kelpo.exe -c head.mbox", count_from(so), expected)
    out, prepare = b.fresh_dir("desktop-kelpo")
    kext, _, _ = b.measure(wine + [kelpo_exe, "-mbox", to_windows(head), to_windows(out)],
                           "wine Kelpo.exe -mbox (head)", prepare, env)
    b.expect("Kelpo.exe -mbox head.mbox (.eml files)", files_in(out), expected)
    _, lcount, _ = b.measure(wine + [lib_driver, "--dll", to_windows(dll), "count", to_windows(head)],
                             "library count in process (head)", None, env)

    out, prepare = b.fresh_dir("desktop-window")
    best = {}
    idle_ms = 3000
    for i in range(b.args.runs + 1):
        prepare()
        _, so = b.run_once(wine + [driver, to_windows(head), to_windows(out), "2", str(idle_ms)], env,
                           "quillrun-driver")
        values = dict((k.decode(), float(v)) for k, v in re.findall(rb"(\w+)=([0-9.]+)", so))
        if i == 0 and b.args.runs > 0:
            continue
        for key in ("count_ms", "run_ms", "idle_cpu_ms", "idle_wakeups"):
            best[key] = min(best.get(key, values[key]), values[key])
        best["messages"] = values["messages"]
        best["box_ok"] = values["box_ok"]
    print("  %-34s %8.3f s" % ("main window: count", best["count_ms"] / 1000))
    print("  %-34s %8.3f s" % ("main window: run", best["run_ms"] / 1000))
    b.expect("main window count of head.mbox", int(best["messages"]), expected)
    b.expect("main window run of head.mbox (.eml files)", files_in(out), expected)
    if best["box_ok"] != 1:
        b.failures.append("the run through the main window did not end with its closing information")
    b.row("desktop: count via main window (%s)" % mib(head), best["count_ms"] / 1000, "Kelpo.exe -c", kcount, 1.25)
    b.row("desktop: run via main window (%d msgs, mbox)" % expected, best["run_ms"] / 1000, "Kelpo.exe -mbox",
          kext, 1.25)
    b.info_row("desktop: count via main window", best["count_ms"] / 1000, "library, in process", lcount)
    b.value_row("desktop: idle window wake-ups in %d s" % (idle_ms // 1000), best["idle_wakeups"], "", 0)
    b.value_row("desktop: idle window CPU in %d s" % (idle_ms // 1000), best["idle_cpu_ms"], "ms", 10)


def memory_section(b):
    kelpo = tool("kelpo")
    big = os.path.join(b.dir, "big.mbox")
    if not kelpo:
        return b.missing("peak memory: kelpo -mbox big.mbox", "build/native/bin/kelpo is missing")
    out, prepare = b.fresh_dir("big")
    report = os.path.join(b.logs, "time-v.txt")
    prepare()
    t, _ = b.run_once(["/usr/bin/time", "-v", "-o", report, kelpo, "-mbox", big, out], tag="kelpo-big")
    with open(report) as f:
        rss_kib = int(re.search(r"Maximum resident set size \(kbytes\): (\d+)", f.read()).group(1))
    print("  kelpo -mbox big.mbox: %.3f s, max RSS %.1f MiB" % (t, rss_kib / 1024))
    b.expect("kelpo -mbox big.mbox (.eml files)", files_in(out), b.manifest["big.mbox"]["messages"])
    biggest = max(os.path.getsize(os.path.join(out, n)) for n in os.listdir(out)) if os.listdir(out) else 0
    print("  largest .eml written: %.1f MiB" % (biggest / MIB))
    b.value_row("peak memory: kelpo -mbox, %.0f MiB file, 1 msg of %.0f MiB"
                % (os.path.getsize(big) / MIB, biggest / MIB), rss_kib / 1024, "MiB", 64)
    shutil.rmtree(out, ignore_errors=True)


def folder_section(b):
    kelpo = tool("kelpo")
    if not kelpo:
        return b.missing("folder of 200 files vs one file", "build/native/bin/kelpo is missing")
    folder, joined = os.path.join(b.dir, "folder"), os.path.join(b.dir, "joined.mbox")
    expected = b.manifest["joined.mbox"]["messages"]
    out, prepare = b.fresh_dir("joined")
    one, _, _ = b.measure([kelpo, "-mbox", joined, out], "kelpo -mbox joined.mbox", prepare)
    b.expect("kelpo -mbox joined.mbox (.eml files)", files_in(out), expected)
    out, prepare = b.fresh_dir("folder")
    many, _, _ = b.measure([kelpo, "-mbox", folder, out], "kelpo -mbox folder/", prepare)
    b.expect("kelpo -mbox folder/ (.eml files)", files_in(out), expected)
    b.row("folder: %d files -> one folder (%d msgs)" % (b.manifest["folder"]["files"], expected), many,
          "one file, same msgs", one, 1.5)


def peak_mib(b, cmd, tag, env=None, prepare=None):
    """The largest resident set of one run of cmd, in MiB."""
    if prepare:
        prepare()
    report = os.path.join(b.logs, re.sub(r"[^A-Za-z0-9.-]+", "_", tag) + ".time")
    b.run_once(["/usr/bin/time", "-v", "-o", report] + cmd, env, tag)
    with open(report) as f:
        return int(re.search(r"Maximum resident set size \(kbytes\): (\d+)", f.read()).group(1)) / 1024


def rate(seconds, size, messages):
    return "%.3f s, %.0f MB/s, %.0f messages/s" % (seconds, size / seconds / 1e6, messages / seconds)


def archive_section(b):
    """A web-mail export of several GiB (bench/gen_archive.py): counting and
    extraction natively, counting under Wine, and the peak memory of each.
    Output folders go to the disk beside the archive and are removed after
    each run. Extraction under Wine is measured on the archive's first part
    only: Wine's file creation slows as a folder fills (25,000 files take two
    minutes, 150,000 would take hours), whatever program creates them."""
    path = os.path.join(b.dir, "archive.mbox")
    with open(os.path.join(b.dir, "archive.json")) as f:
        info = json.load(f)
    size, expected = info["bytes"], info["messages"]
    print("  input: %s, %.2f GiB, %d messages" % (path, size / 2**30, expected))
    kelpo, split = tool("kelpo"), tool("bench_plain_split")
    if not kelpo or not split:
        raise CommandFailed("build/native/bin/kelpo or bench_plain_split is missing")
    label = "%.1f GiB archive" % (size / 2**30)
    runs = max(1, min(b.args.runs, 2))

    wc, _, _ = b.measure(["wc", "-l", path], "wc -l (archive)", runs=runs)
    count, _, so = b.measure([kelpo, "-c", path], "kelpo -c (archive)", runs=runs)
    b.expect("kelpo -c archive.mbox", count_from(so), expected)
    b.row("archive: native count, kelpo -c (%s)" % label, count, "wc -l", wc, 2)
    print("  kelpo -c: " + rate(count, size, expected))

    # Extraction against the plain split, taken in turns so that a disk that
    # slows after a burst of writes slows both alike.
    disk = os.path.join(b.dir, "archive-out")
    best = {}
    for i in range(runs + 1):
        for name, cmd in (("plain split", [split, path, disk]), ("kelpo -mbox", [kelpo, "-mbox", path, disk])):
            shutil.rmtree(disk, ignore_errors=True)
            os.makedirs(disk)
            wall, _ = b.run_once(cmd, tag="archive " + name)
            files = files_in(disk)
            shutil.rmtree(disk, ignore_errors=True)
            if i == 0:
                continue
            best[name] = min(best.get(name, wall), wall)
            best[name + " files"] = files
    for name in ("plain split", "kelpo -mbox"):
        print("  %-34s %8.3f s" % (name + " (archive, disk)", best[name]), flush=True)
    b.expect("plain split archive.mbox", best["plain split files"], expected)
    b.expect("kelpo -mbox archive.mbox (.eml files)", best["kelpo -mbox files"], expected)
    b.row("archive: native extract, kelpo -mbox (%s)" % label, best["kelpo -mbox"], "plain split",
          best["plain split"], 1.15)
    print("  kelpo -mbox: " + rate(best["kelpo -mbox"], size, expected))

    def fresh():
        shutil.rmtree(disk, ignore_errors=True)
        os.makedirs(disk)
    b.value_row("archive: peak memory, kelpo -c", peak_mib(b, [kelpo, "-c", path], "mem kelpo -c"), "MiB", 64)
    b.value_row("archive: peak memory, kelpo -mbox", peak_mib(b, [kelpo, "-mbox", path, disk], "mem kelpo -mbox",
                                                              prepare=fresh), "MiB", 64)
    shutil.rmtree(disk, ignore_errors=True)

    # The first part of the archive, cut at a separator, for extraction under Wine.
    part = os.path.join(b.dir, "archive-part.mbox")
    with open(path, "rb") as src, open(part, "wb") as dst:
        data = src.read(24 * MIB)
        cut = data.rfind(b"\n\nFrom ")
        dst.write(data[:cut + 2])
    part_messages = data[:cut + 2].count(b"\nFrom ") + 1
    for width, build in (("x86_64", WIN_BUILD), ("i686", WIN32_BUILD)):
        archive_under_wine(b, width, build, path, label, expected, count, runs, part, part_messages)
    os.remove(part)


def archive_under_wine(b, width, build, path, label, expected, native_count, runs, part, part_messages):
    """The archive's Wine rows for one build: build/win64 under the 64-bit
    Wine, build/win32 (the shipping product) under the 32-bit one."""
    title = "archive: Wine %s Kelpo.exe" % width
    kelpo_exe = os.path.join(build, "bin", "Kelpo.exe")
    wsplit = win_tool("bench_win_plain_split.exe", build)
    if not os.path.exists(kelpo_exe) or not wsplit:
        return b.missing(title, "%s has no Kelpo.exe or bench_win_plain_split.exe" % os.path.relpath(build, ROOT))
    wine = wine_command(build)
    if subprocess.call(wine + ["--version"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL) != 0:
        return b.missing(title, "this machine does not run %s Wine" % width)
    env = start_wine(b, build)
    wcount, _, so = b.measure(wine + [kelpo_exe, "-c", to_windows(path)], "wine %s Kelpo.exe -c (archive)" % width,
                              None, env, runs=runs)
    b.expect("%s Kelpo.exe -c archive.mbox" % width, count_from(so), expected)
    b.row("%s -c (%s)" % (title, label), wcount, "native kelpo -c", native_count, 1.5)
    b.value_row("archive: peak memory, Wine %s Kelpo.exe -c" % width,
                peak_mib(b, wine + [kelpo_exe, "-c", to_windows(path)], "mem wine %s kelpo -c" % width, env),
                "MiB", 64)
    # A fifth of a second each, much of it the Wine process's start: best of
    # five at least, or the ratio moves by 0.2 between runs.
    runs = max(runs, 5)
    out, prepare = b.fresh_dir("archive-win-split")
    wsplit_wall, _, _ = b.measure(wine + [wsplit, to_windows(part), to_windows(out)],
                                  "wine %s plain split (part)" % width, prepare, env, runs=runs)
    out, prepare = b.fresh_dir("archive-win-kelpo")
    wext, _, _ = b.measure(wine + [kelpo_exe, "-mbox", to_windows(part), to_windows(out)],
                           "wine %s Kelpo.exe -mbox (part)" % width, prepare, env, runs=runs)
    b.expect("%s Kelpo.exe -mbox archive-part.mbox (.eml files)" % width, files_in(out), part_messages)
    b.row("%s -mbox (first %d msgs)" % (title, part_messages), wext, "Win32 plain split", wsplit_wall, 1.2)
    b.value_row("archive: peak memory, Wine %s Kelpo.exe -mbox" % width,
                peak_mib(b, wine + [kelpo_exe, "-mbox", to_windows(part), to_windows(out)],
                         "mem wine %s kelpo -mbox" % width, env, prepare), "MiB", 64)
    stop_wine(build)


def against_section(b):
    """This build's kelpo beside a reference build's (bench/run.sh --against REV),
    command for command on the same inputs, interleaved run by run so that the
    machine's drift falls on both alike."""
    ref = os.path.join(b.args.against_bin, "kelpo")
    kelpo = tool("kelpo")
    if not kelpo or not os.path.exists(ref):
        return b.missing("against %s" % b.args.against_name, "a kelpo is missing: %s, %s" % (kelpo, ref))
    mbox = os.path.join(b.dir, "mbox.mbox")
    general = os.path.join(b.dir, "general.txt")
    cases = [("count, mbox as general text", ["-c", mbox], None),
             ("count, general.txt", ["-c", general], None),
             ("extract, mbox (-mbox)", ["-mbox", mbox], "mbox"),
             ("extract, general.txt", [general], "general")]
    runs = max(b.args.runs, 3)
    for what, args, out_name in cases:
        best = {}
        for i in range(runs + 1):
            for name, program in (("ref", ref), ("new", kelpo)):
                command = [program] + args
                prepare = None
                if out_name:
                    out, prepare = b.fresh_dir("against-%s-%s" % (out_name, name))
                    command = command + [out]
                if prepare:
                    prepare()
                wall, _ = b.run_once(command, tag="against %s %s" % (name, what))
                if i > 0:
                    best[name] = min(best.get(name, wall), wall)
        print("  %-34s %8.3f s, %s %.3f s" % (what, best["new"], b.args.against_name, best["ref"]), flush=True)
        b.row("against: %s" % what, best["new"], b.args.against_name, best["ref"], b.args.against_target)


# ---------------------------------------------------------------- trees

TREE_MAILDIR_FILES = 100000
TREE_PROFILE_FILES = 40
TREE_PROFILE_COPIES = 8        # of mbox.mbox: 2 GiB in all
TREE_MILLION = 1000000


def tree_inputs(b):
    """Makes (once) the trees of the tree section beside the other inputs: a
    Maildir of 100,000 messages, a profile folder of 2 GiB in 40 mbox files
    with the same bytes in one file beside it, and a tree of a million small
    files in 1,000 folders. Returns their paths and message counts."""
    root = os.path.join(b.dir, "trees")
    done = os.path.join(root, "made")
    mbox = os.path.join(b.dir, "mbox.mbox")
    with open(mbox, "rb") as f:
        data = f.read()
    # The messages of mbox.mbox, cut at their separators.
    starts = [m.start() for m in re.finditer(rb"(?m)^From [^\n]*\n(?=[A-Za-z0-9-]+ ?:)", data)]
    messages = [data[s:e] for s, e in zip(starts, starts[1:] + [len(data)])]
    if not os.path.exists(done):
        shutil.rmtree(root, ignore_errors=True)
        print("  making the trees (once)", flush=True)
        maildir = os.path.join(root, "Maildir")
        for sub in ("cur", "new", "tmp"):
            os.makedirs(os.path.join(maildir, sub))
        for i in range(TREE_MAILDIR_FILES):
            body = messages[i % len(messages)].split(b"\n", 1)[1]  # the message without its separator
            with open(os.path.join(maildir, "cur", "%d.bench!2,S" % (1000000 + i)), "wb") as f:
                f.write(body)
        # The same bytes as one file and as 40 mail folders, some in ".sbd" folders.
        one = os.path.join(root, "one.mbox")
        profile = os.path.join(root, "Profile")
        per_file = (len(messages) * TREE_PROFILE_COPIES + TREE_PROFILE_FILES - 1) // TREE_PROFILE_FILES
        with open(one, "wb") as whole:
            k = 0
            for n in range(TREE_PROFILE_FILES):
                folder = profile if n % 4 == 0 else os.path.join(profile, "F%02d.sbd" % (n - n % 4))
                os.makedirs(folder, exist_ok=True)
                with open(os.path.join(folder, "F%02d" % n), "wb") as part:
                    for _ in range(per_file):
                        if k >= len(messages) * TREE_PROFILE_COPIES:
                            break
                        m = messages[k % len(messages)]
                        part.write(m)
                        whole.write(m)
                        k += 1
        million = os.path.join(root, "Million")
        small = b"Subject: m\n\nx\n"
        for d in range(TREE_MILLION // 1000):
            folder = os.path.join(million, "d%03d" % d)
            os.makedirs(folder)
            for i in range(1000):
                with open(os.path.join(folder, "%d.eml" % i), "wb") as f:
                    f.write(small)
        with open(done, "w") as f:
            f.write("made\n")
    return {"maildir": (os.path.join(root, "Maildir"), TREE_MAILDIR_FILES),
            "one": (os.path.join(root, "one.mbox"), len(messages) * TREE_PROFILE_COPIES),
            "profile": (os.path.join(root, "Profile"), len(messages) * TREE_PROFILE_COPIES),
            "million": (os.path.join(root, "Million"), TREE_MILLION)}


def eml_files_below(path):
    return sum(len([n for n in names if n.endswith(".eml")]) for _, _, names in os.walk(path))


def tree_section(b):
    """kelpo -tree on a Maildir of 100,000 files against cp -r of the same
    tree to the same disk; on a profile of 2 GiB in 40 mbox files against one
    2 GiB mbox; and its peak memory counting a tree of a million files."""
    kelpo = tool("kelpo")
    if not kelpo:
        return b.missing("trees", "build/native/bin/kelpo is missing")
    trees = tree_inputs(b)
    maildir, n = trees["maildir"]
    out, prepare = b.fresh_dir("maildir-copy")
    copied, _, _ = b.measure(["cp", "-r", maildir, out], "cp -r Maildir", prepare)
    out, prepare = b.fresh_dir("maildir")
    t, _, _ = b.measure([kelpo, "-tree", maildir, out], "kelpo -tree Maildir", prepare)
    b.expect("kelpo -tree Maildir (.eml files)", eml_files_below(out), n)
    b.row("tree: Maildir of %d files, -tree" % n, t, "cp -r", copied, 2.0)
    one, messages = trees["one"]
    out, prepare = b.fresh_dir("one")
    single, _, _ = b.measure([kelpo, "-mbox", one, out], "kelpo -mbox one 2 GiB mbox", prepare)
    b.expect("kelpo -mbox one.mbox (.eml files)", eml_files_below(out), messages)
    profile, _ = trees["profile"]
    out, prepare = b.fresh_dir("profile")
    t, _, _ = b.measure([kelpo, "-tree", "-mbox", profile, out], "kelpo -tree -mbox Profile", prepare)
    b.expect("kelpo -tree -mbox Profile (.eml files)", eml_files_below(out), messages)
    b.row("tree: profile, %d mbox files, 2 GiB" % TREE_PROFILE_FILES, t, "one 2 GiB mbox", single, 1.1)
    shutil.rmtree(out, ignore_errors=True)
    million, files = trees["million"]
    rss = peak_mib(b, [kelpo, "-c", "-tree", million], "kelpo -c -tree Million")
    print("  kelpo -c -tree, a million files: max RSS %.1f MiB" % rss, flush=True)
    b.value_row("peak memory: kelpo -c -tree, %d files" % files, rss, "MiB", 64)


SECTIONS = {"count": ("native counting", native_counting),
            "extract": ("native extraction", native_extraction),
            "wine": ("Windows build under Wine", wine_section),
            "desktop": ("desktop program under Wine", desktop_section),
            "memory": ("peak memory", memory_section),
            "folder": ("folder of files", folder_section),
            "archive": ("large archive", archive_section),
            "tree": ("mail folder trees", tree_section),
            "against": ("side by side with a reference build", against_section)}


def main():
    ap = argparse.ArgumentParser(description=__doc__)
    ap.add_argument("--dir", required=True)
    ap.add_argument("--out", default=default_out(),
                    help="where output folders go (default: a RAM file system when there is one)")
    ap.add_argument("--runs", type=int, default=3)
    ap.add_argument("--only", action="append", choices=sorted(SECTIONS), help="run only these sections")
    ap.add_argument("--skip", action="append", choices=sorted(SECTIONS), default=[])
    ap.add_argument("--against-bin", help="the reference build's bin folder (bench/run.sh --against)")
    ap.add_argument("--against-name", default="reference")
    ap.add_argument("--against-target", type=float, default=1.10,
                    help="the largest ratio of this build to the reference that passes")
    args = ap.parse_args()
    b = Bench(args)
    for key in ("count", "extract", "wine", "desktop", "memory", "folder", "archive", "tree", "against"):
        # The large archive and the trees take minutes and GiBs: only when
        # asked for; the reference build only when there is one.
        if key in ("archive", "tree") and not (args.only and key in args.only):
            continue
        if key == "against":
            if not args.against_bin or key in args.skip:
                continue
        elif (args.only and key not in args.only) or key in args.skip:
            continue
        title, fn = SECTIONS[key]
        b.section(title, lambda fn=fn: fn(b))
    shutil.rmtree(b.out_root, ignore_errors=True)
    print("\ninputs in %s, output folders in %s, best of %d runs after one untimed run"
          % (b.dir, b.out_root, args.runs))
    b.print_table()
    return 1 if b.failures else 0


if __name__ == "__main__":
    sys.exit(main())
