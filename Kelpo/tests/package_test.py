#!/usr/bin/env python3
"""The Linux tool installed as Linux tools are: `cmake --install` into a
scratch prefix, and the Debian package that cpack makes, unpacked into a
scratch root with dpkg-deb. In both, the installed kelpo (finding its
installed library) extracts the sample mbox byte for byte, the library has
its soname, and the manual pages render without a warning.

    package_test.py --build BUILD_FOLDER --samples DIR --work DIR
"""
import argparse
import os
import shutil
import subprocess
import sys

FILES = ["bin/kelpo", "lib/libcorvex.so", "lib/libcorvex.so.1", "include/Corvex.h",
         "share/man/man1/kelpo.1", "share/man/en/man1/kelpo.1"]
EXTRACTED = "上記の指定したフォルダ内にemlファイルが正常に出力されました\n"


class Suite:
    def __init__(self, samples, work):
        self.samples = samples
        self.work = work
        self.failures = []
        self.checks = 0

    def check(self, name, condition, detail=""):
        self.checks += 1
        if not condition:
            self.failures.append("%s %s" % (name, detail))

    def run(self, args, env=None, **kw):
        env = dict(os.environ, LC_ALL="C.UTF-8", **(env or {}))
        env.pop("CORVEX_CRITERIA_KEYWORD_COUNT", None)
        env.pop("LD_LIBRARY_PATH", None)
        return subprocess.run(args, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                              stderr=subprocess.PIPE, env=env, timeout=300, **kw)

    def files_of(self, folder):
        result = {}
        for entry in sorted(os.listdir(folder)) if os.path.isdir(folder) else []:
            with open(os.path.join(folder, entry), "rb") as f:
                result[entry] = f.read()
        return result

    def installed_tree(self, label, root):
        for path in FILES:
            self.check("%s: %s installed" % (label, path), os.path.exists(os.path.join(root, path)))
        library = os.path.join(root, "lib", "libcorvex.so")
        if os.path.exists(library):
            dynamic = self.run(["readelf", "-d", library]).stdout.decode()
            self.check("%s: soname libcorvex.so.1" % label, "[libcorvex.so.1]" in dynamic
                       and "SONAME" in dynamic, dynamic[-300:])
        kelpo = os.path.join(root, "bin", "kelpo")
        if not os.path.exists(kelpo):
            return
        # From another folder, with a relative output path, and no help from
        # the environment to find the library.
        cwd = os.path.join(self.work, "cwd-" + label)
        os.makedirs(cwd)
        done = self.run([kelpo, "-mbox", os.path.join(self.samples, "mailbox.mbox"), "out"], cwd=cwd)
        self.check("%s: installed kelpo extracts" % label,
                   done.returncode == 0 and done.stdout == EXTRACTED.encode(),
                   "%d %r %r" % (done.returncode, done.stdout, done.stderr[-300:]))
        self.check("%s: the sample's messages byte for byte" % label,
                   self.files_of(os.path.join(cwd, "out")) ==
                   self.files_of(os.path.join(self.samples, "expected", "mbox")))
        for page in ["share/man/man1/kelpo.1", "share/man/en/man1/kelpo.1"]:
            self.manual_page(label, os.path.join(root, page))

    def manual_page(self, label, page):
        if not os.path.exists(page):
            return
        name = "%s: %s" % (label, os.path.relpath(page, self.work))
        done = self.run(["groff", "-wall", "-K", "utf8", "-man", "-Tutf8", page])
        self.check(name + " renders without warnings", done.returncode == 0 and not done.stderr,
                   done.stderr.decode(errors="replace")[:500])
        done = self.run(["lexgrog", page])
        self.check(name + " has a NAME section", done.returncode == 0 and b"kelpo -" in done.stdout,
                   repr(done.stdout))
        done = self.run(["man", "-l", page], env={"MANWIDTH": "80", "MANPAGER": "cat"})
        text = done.stdout.decode(errors="replace")
        self.check(name + " shows with man -l", done.returncode == 0 and "KELPO(1)" in text and
                   "CORVEX_CRITERIA_KEYWORD_COUNT" in text and "-mbox" in text, text[:200])


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", required=True)
    parser.add_argument("--samples", required=True)
    parser.add_argument("--work", required=True)
    options = parser.parse_args()
    work = os.path.abspath(options.work)
    if os.path.isdir(work):
        shutil.rmtree(work)
    os.makedirs(work)
    suite = Suite(os.path.abspath(options.samples), work)

    prefix = os.path.join(work, "prefix")
    done = suite.run(["cmake", "--install", options.build, "--prefix", prefix])
    suite.check("cmake --install", done.returncode == 0, done.stderr.decode()[-500:])
    suite.installed_tree("cmake --install", prefix)

    packages = os.path.join(work, "packages")
    done = suite.run(["cpack", "-G", "DEB", "-B", packages], cwd=options.build)
    debs = [f for f in os.listdir(packages) if f.endswith(".deb")] if os.path.isdir(packages) else []
    suite.check("cpack makes one .deb", done.returncode == 0 and len(debs) == 1,
                done.stdout.decode()[-500:] + done.stderr.decode()[-500:])
    if len(debs) == 1:
        deb = os.path.join(packages, debs[0])
        depends = suite.run(["dpkg-deb", "-f", deb, "Depends"]).stdout.decode()
        for library in ["libc6", "libstdc++6", "libgcc-s1"]:
            suite.check("the package depends on " + library, library in depends, depends)
        root = os.path.join(work, "root")
        done = suite.run(["dpkg-deb", "-x", deb, root])
        suite.check("dpkg-deb -x", done.returncode == 0, done.stderr.decode())
        listing = suite.run(["dpkg-deb", "-c", deb]).stdout.decode()
        suite.check("the package holds files below /usr only",
                    all(line.split()[-1].startswith("./usr") or line.split()[-1] == "./"
                        for line in listing.splitlines() if line.strip() and "->" not in line),
                    listing)
        suite.installed_tree("package", os.path.join(root, "usr"))

    for failure in suite.failures:
        print("FAIL:", failure)
    print("%d checks, %d failed" % (suite.checks, len(suite.failures)))
    return 1 if suite.failures else 0


if __name__ == "__main__":
    sys.exit(main())
