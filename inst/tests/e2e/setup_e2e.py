#!/usr/bin/env python3
"""End to end: the real Quillbox-Setup.exe under Wine on the test display, in
one locale (Japanese: code page 932, locale 1041; English: code page 1252,
locale 1033, from en_US.UTF-8), driven from outside by SetupDriver.exe as a user would click.

Installs, checks every file, the uninstall entry, the shortcuts and that the
installed programs run; removes the product through the registered command
(with a file held open during the removal) and checks that everything is
gone; interrupts an install with Abort in a retry prompt and finishes the
clean-up through the entry; starts the installer outside the temporary
folder. Leaves PNG pictures of every page and box in the screenshots folder.
With DEBUGPAGES=1 in the environment, also prints each page the driver found,
with its window handle."""
import argparse
import os
import re
import shutil
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "..", "scripts"))
sys.path.insert(0, os.path.join(HERE, "..", "..", "..", "Corvex", "tests", "static"))
import bmp2png  # noqa: E402
from check_pe import PeImage  # noqa: E402
from testrun import Checks, run_program, windows_path  # noqa: E402

ENTRY = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quillbox"
THRESHOLD_KEY = "Software\\TALVEN\\Corvex"
SHELL_FOLDERS = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders"
INSTALLED = ["Corvex.dll", "Quillrun.exe", "Kelpo.exe", "quillrun.chm", "readme.txt",
             "readme-en.txt", "setup.exe", "setup.ini"]

# The installer's texts and the pages' prompts in both languages.
TEXTS = {
    "en": {
        "caption": "Quillbox Setup",
        "exit?": "Installation is not completed. Are you sure to exit?",
        "old": 'Installer detected an old version in the following folder.\n\nTo start '
               'installation in this folder, click "Install".',
        "remove?": "Are you sure you want to remove %s from your computer?",
        "create?": 'The folder "%s" does not exist. Do you want to create it?',
        "copy-failed": 'Copying "%s" failed.',
        "delete-failed": 'Deleting "%s" failed.',
        "not-from-temp": "This installer program cannot be run directly. Please open control "
                         "panel to call the installer.",
        "prompt": 'To start installation in this folder, click "Install".\n\nTo install in a '
                  'different folder, enter it below or click "Browse".',
        "licence": "License Agreement", "folder": "Select Installation Folder",
        "finish": "Installation Complete", "interrupted": "Installation Interrupted",
    },
    "ja": {
        "caption": "Quillbox セットアップ",
        "exit?": "インストールは完了していません。終了してもよろしいですか?",
        "old": "インストーラは以下のフォルダに旧バージョンを検出しました。\n\nこのフォルダにインストールを"
               "開始するには [インストール] をクリックしてください。",
        "remove?": "コンピュータから %s を削除しますか?",
        "create?": 'フォルダ "%s" は存在しません。作成してもよろしいですか?',
        "copy-failed": '"%s" のコピーに失敗しました。',
        "delete-failed": '"%s" の削除に失敗しました。',
        "not-from-temp": "このインストーラを直接呼び出すことはできません。コントロールパネルを開いて"
                         "インストーラを呼び出してください。",
        "prompt": "このフォルダにインストールを開始するには [インストール] をクリックしてください。\n\n"
                  "別のフォルダにインストールするには、フォルダのパスを入力するか、[参照] をクリックしてください。",
        "licence": "使用許諾契約書", "folder": "インストールフォルダの選択",
        "finish": "作業の完了", "interrupted": "作業の中断",
    },
}

check = Checks()


class Wine:
    def __init__(self, prefix, locale, loader):
        self.prefix = prefix
        self.loader = loader
        self.codepage = "cp932" if locale == "ja" else "cp1252"
        self.env = dict(os.environ, WINEPREFIX=prefix, WINEDEBUG="-all",
                        LC_ALL="ja_JP.SJIS" if locale == "ja" else "en_US.UTF-8")

    def run(self, args, timeout=300):
        """Runs a Windows program; returns its exit status and output."""
        # Wine reads its arguments as UTF-8 whatever the locale.
        args = [a.encode("utf-8") for a in args]
        status, out, self.errors = run_program([self.loader.encode()] + args, env=self.env,
                                               timeout=timeout)
        return status, out

    def text(self, data):
        """Bytes of the ANSI code page as text."""
        return data.decode(self.codepage, errors="replace")

    def unix(self, path):
        """A C: or Z: path of the prefix as a path of this machine."""
        if path[:2].upper() == "Z:":
            return path[2:].replace("\\", "/")
        return os.path.join(self.prefix, "drive_c", path[3:].replace("\\", "/"))


def first_line(text):
    """The first line of a package text (code page 932) as UTF-8, as the
    driver reports what a text box holds."""
    return text.decode("cp932").splitlines()[0].encode("utf-8")


class Driver:
    def __init__(self, wine, driver):
        self.wine, self.driver = wine, driver

    def __call__(self, *args):
        status, out = self.wine.run([self.driver] + list(args))
        seen, values = {}, {}
        for raw in out.replace(b"\r\n", b"\n").split(b"\n"):
            key, _, value = raw.partition(b"=")
            key = key.decode("ascii", errors="replace")
            value = value.replace(b"\x01", b"\r").replace(b"\x02", b"\n")
            if key == "failure":
                check(False, "driver %s: %s" % (args[0], self.wine.text(value)))
            elif key == "page" and os.environ.get("DEBUGPAGES"):
                print("     page: %s" % self.wine.text(value))
            elif key == "window":
                print("     on the screen: %s" % self.wine.text(value))
            elif key.startswith("value:"):
                values[key[6:]] = value
            elif key:
                seen.setdefault(key, value)
        print("   driver %s: exit %d" % (args[0], status))
        if status != 0 and not seen:
            # The driver said nothing at all: what Wine said instead.
            for line in self.wine.errors.decode("utf-8", "replace").splitlines()[-20:]:
                print("     wine: %s" % line)
        return status, seen, values


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--prefix", required=True)
    parser.add_argument("--wine", default="/usr/lib/wine/wine64",
                        help="the Wine of the build's width")
    parser.add_argument("--locale", choices=("ja", "en"), required=True)
    parser.add_argument("--driver", required=True)
    parser.add_argument("--package", required=True)
    parser.add_argument("--payload", required=True)
    parser.add_argument("--samples", required=True)
    parser.add_argument("--screenshots", required=True)
    args = parser.parse_args()
    # The log is UTF-8 whatever the locale the tests run in.
    sys.stdout.reconfigure(encoding="utf-8", errors="replace")

    tag = args.locale
    wine = Wine(args.prefix, tag, args.wine)
    texts = {k: v.encode(wine.codepage) for k, v in TEXTS[tag].items()}
    os.makedirs(args.screenshots, exist_ok=True)
    driver = Driver(wine, windows_path(args.driver))
    shots = windows_path(args.screenshots)
    package = windows_path(args.package)
    payload = {name: open(os.path.join(args.payload, name), "rb").read()
               for name in os.listdir(args.payload)}
    cp = wine.codepage

    def registry(key):
        _, seen, values = driver("reg", key)
        return seen.get("exists") == b"yes", values

    _, shell = registry(SHELL_FOLDERS)
    menu = wine.text(shell["Common Programs"])
    menu_folder = menu + "\\Quillbox"
    _, seen, _ = driver("folders")
    temp = wine.unix(wine.text(seen["temp"]))
    windows = wine.text(seen["windows"])
    _, program_files = registry("Software\\Microsoft\\Windows\\CurrentVersion")
    folder = wine.text(program_files["ProgramFilesDir"]) + "\\Quillbox"
    folder_unix = wine.unix(folder)

    def temp_leftovers():
        return sorted(n for n in os.listdir(temp)
                      if n.startswith("Quillbox-Setup-") or re.match(r"ins.*\.tmp\.exe$", n, re.I)
                      or n.lower() == "setup.ini")

    def clean():
        """What an earlier broken run may have left in the prefix."""
        wine.run(["reg", "delete", "HKLM\\" + ENTRY, "/f"])
        wine.run(["reg", "delete", "HKLM\\" + THRESHOLD_KEY, "/f"])
        shutil.rmtree(folder_unix, ignore_errors=True)
        shutil.rmtree(wine.unix(menu_folder), ignore_errors=True)
        for name in temp_leftovers():
            path = os.path.join(temp, name)
            if os.path.isdir(path):
                shutil.rmtree(path, ignore_errors=True)
            else:
                os.remove(path)

    def nothing_left(when):
        check(not os.path.exists(folder_unix), "%s: the install folder is gone" % when)
        check(not registry(ENTRY)[0], "%s: the uninstall entry is gone" % when)
        check(not os.path.exists(wine.unix(menu_folder)), "%s: the menu folder is gone" % when)
        check(not registry(THRESHOLD_KEY)[0], "%s: the library's key is gone" % when)
        check(temp_leftovers() == [], "%s: no temporary copies are left (%s)" % (when, temp_leftovers()))

    def equal(got, expected, what):
        check(got == expected, "%s (%r)" % (what, wine.text(got) if isinstance(got, bytes) else got))

    clean()

    # Started outside the temporary folder: refused, nothing changed.
    cd = os.path.join(args.prefix, "drive_c", "quillbox-cd-" + tag)
    shutil.rmtree(cd, ignore_errors=True)
    os.makedirs(cd)
    for name in ("setup.exe", "setup.ini"):
        shutil.copy(os.path.join(args.payload, name), cd)
    status, seen, _ = driver("refused", "C:\\quillbox-cd-%s\\setup.exe" % tag, shots, tag)
    check(status == 0, "the refusal was driven to its end")
    equal(seen.get("refusal"), texts["not-from-temp"], "outside the temporary folder: text 125")
    equal(seen.get("refusal-caption"), texts["caption"], "the box carries the installer caption")
    equal(seen.get("pages"), b"no", "no page was shown")
    equal(seen.get("exit-code"), b"0", "the refused installer ends with 0")
    check(not os.path.exists(folder_unix) and not registry(ENTRY)[0], "the refusal changed nothing")
    shutil.rmtree(cd, ignore_errors=True)

    # The install, as a user clicks through it.
    status, seen, _ = driver("install", package, shots, tag)
    check(status == 0, "the install was driven to its end")
    equal(seen.get("caption"), texts["caption"], "the pages carry the installer caption")
    for page in ("licence", "folder", "finish"):
        equal(seen.get(page + "-title"), texts[page], "the %s page's title" % page)
    equal(seen.get("licence-next-enabled"), b"no", "Next waits for I Agree")
    # The texts in the pages' language, read back as Unicode: the package's
    # files are Shift-JIS, and the Japanese ones must not be shown as bytes
    # of a Western code page.
    licence, readme = ("eula.txt", "readme.txt") if tag == "ja" else ("eula-en.txt",
                                                                      "readme-en.txt")
    equal(seen.get("licence-first-line"), first_line(payload[licence]),
          "the licence page shows %s" % licence)
    equal(seen.get("folder"), folder.encode(cp), "the folder page offers the script's folder")
    equal(seen.get("folder-prompt"), texts["prompt"], "the folder page's prompt")
    equal(seen.get("create-question"), texts["create?"].replace(b"%s", folder.encode(cp)),
          "the missing folder is offered to be made")
    equal(seen.get("readme-shown"), b"yes", "the finish page shows the readme")
    equal(seen.get("readme-first-line"), first_line(payload[readme]),
          "the finish page shows %s" % readme)
    equal(seen.get("cancel-enabled"), b"no", "the finish page cannot be cancelled")
    equal(seen.get("exit-code"), b"1", "the package ends with the installer's 1")

    for name in INSTALLED:
        path = os.path.join(folder_unix, name)
        check(os.path.isfile(path) and open(path, "rb").read() == payload[name],
              "installed: %s, as packed" % name)
    exists, values = registry(ENTRY)
    check(exists, "the uninstall entry is there")
    # A 32-bit package on a 64-bit system: its folder and its entry are where
    # the system puts a 32-bit program's, which is where the user finds them.
    with open(args.package, "rb") as f:
        wow64 = PeImage(f.read()).machine == 0x14C and os.path.isdir(
            os.path.join(args.prefix, "drive_c", "windows", "syswow64"))
    if wow64:
        check(folder.lower().endswith("\\program files (x86)\\quillbox"),
              "a 32-bit package installs under Program Files (x86) (%s)" % folder)
    native_key = ENTRY.replace("Software\\", "Software\\Wow6432Node\\", 1) if wow64 else ENTRY
    status, out = wine.run(["reg", "query", "HKLM\\" + native_key, "/reg:64"])
    check(status == 0 and b"Quillbox" in out,
          "the entry is in the system's %s view (%s)" % ("32-bit" if wow64 else "native",
                                                     wine.text(out).strip()[:80]))
    expected = {"DisplayName": "Quillbox", "InstallLocation": folder,
                "DisplayIcon": folder + "\\setup.exe",
                "UninstallString": '"%s\\setup.exe" -u' % folder, "DisplayVersion": "1.0.0.1",
                "Publisher": "TALVEN", "URLInfoAbout": "https://talven.jp/quillbox/"}
    for name, value in expected.items():
        equal(values.get(name), value.encode(cp), "the entry's %s" % name)
    help_name = "Quillbox ヘルプ".encode("cp932").decode(cp)
    for name, target, icon in (("Quillbox", "Quillrun.exe", folder + "\\Quillrun.exe"),
                               (help_name, "quillrun.chm", windows + "\\hh.exe")):
        _, link, _ = driver("link", "%s\\%s.lnk" % (menu_folder, name))
        equal(link.get("target"), (folder + "\\" + target).encode(cp), "the shortcut %s" % name)
        equal(link.get("icon"), icon.encode(cp), "the shortcut's icon")
    check(temp_leftovers() == [], "the package removed its folder (%s)" % temp_leftovers())

    status, seen, _ = driver("quillrun", folder + "\\Quillrun.exe")
    equal(seen.get("main-window"), (folder + "\\Quillrun.exe").encode(cp),
          "Quillrun.exe runs from the install folder")
    equal(seen.get("exit-code"), b"0", "Quillrun.exe ends with 0 when closed")
    status, out = wine.run([folder + "\\Kelpo.exe", "-c",
                            windows_path(os.path.join(args.samples, "mailbox.mbox"))])
    count = re.search(rb":\s*(\d+)\s*$", out)
    check(status == 0 and count and count.group(1) == b"3",
          "Kelpo.exe -c counts the sample's 3 messages (%r)" % out)

    # The removal through the registered command, with a file held open.
    wine.run(["reg", "add", "HKLM\\" + THRESHOLD_KEY, "/v", "CRITERIA_KEYWORD_COUNT", "/d", "8",
              "/f"])
    kelpo = folder + "\\Kelpo.exe"
    status, seen, _ = driver("uninstall", shots, tag, ENTRY, kelpo)
    check(status == 0, "the removal was driven to its end")
    equal(seen.get("remove-question"), texts["remove?"].replace(b"%s", b"Quillbox"),
          "the removal asks first")
    equal(seen.get("retry-prompt"), texts["delete-failed"].replace(b"%s", kelpo.encode(cp)),
          "a file that cannot be deleted is asked for")
    equal(seen.get("progress-cancel-enabled"), b"no", "the removal cannot be cancelled")
    equal(seen.get("first-stage-exit-code"), b"1", "the first stage ends with 1")
    equal(seen.get("readme-shown"), b"no", "no readme after a removal")
    second = wine.text(seen.get("second-stage", b""))
    check(re.search(r"\\ins[^\\]*\.tmp\.exe$", second, re.I) is not None,
          "the second stage runs from a temporary copy (%s)" % second)
    equal(seen.get("second-stage-deleted"), b"yes", "the command interpreter deleted the copy")
    nothing_left("after the removal")

    # An install interrupted by Abort, then a look at the old version, then
    # the clean-up through the entry.
    status, seen, _ = driver("interrupt", package, shots, tag, "Kelpo.exe")
    check(status == 0, "the interrupted install was driven to its end")
    held = seen.get("unpacked-into", b"") + b"\\Kelpo.exe"
    equal(seen.get("retry-prompt"), texts["copy-failed"].replace(b"%s", held),
          "the held payload file is asked for")
    equal(seen.get("progress-cancel-enabled"), b"yes", "the install's progress page has Cancel")
    equal(seen.get("interrupted-title"), texts["interrupted"], "the interrupted page follows")
    equal(seen.get("exit-code"), b"0", "an interrupted install ends with 0")
    equal(seen.get("unpacked-left"), b"no", "the package removed its folder")
    check(registry(ENTRY)[0], "the entry stays after the roll-back")
    for name in ("setup.exe", "setup.ini"):
        check(os.path.isfile(os.path.join(folder_unix, name)), "%s stays after the roll-back" % name)
    for name in ("Corvex.dll", "Quillrun.exe", "Kelpo.exe"):
        check(not os.path.exists(os.path.join(folder_unix, name)), "%s is rolled back" % name)

    status, seen, _ = driver("cancel-again", package, shots, tag)
    check(status == 0, "the second install was driven to its end")
    equal(seen.get("folder"), folder.encode(cp), "the old version's folder is shown")
    equal(seen.get("folder-editable"), b"no", "and cannot be changed")
    equal(seen.get("browse-shown"), b"no", "Browse is hidden")
    equal(seen.get("folder-prompt"), texts["old"], "the prompt names the old version")
    equal(seen.get("cancel-question"), texts["exit?"], "Cancel asks first")
    equal(seen.get("exit-code"), b"0", "a cancelled install ends with 0")

    status, seen, _ = driver("uninstall", shots, tag, ENTRY)
    check(status == 0, "the clean-up removal was driven to its end")
    equal(seen.get("first-stage-exit-code"), b"1", "the first stage ends with 1")
    equal(seen.get("second-stage-deleted"), b"yes", "the command interpreter deleted the copy")
    nothing_left("after the clean-up")

    bmps = [os.path.join(args.screenshots, n) for n in os.listdir(args.screenshots)
            if n.startswith("setup-%s-" % tag) and n.endswith(".bmp")]
    bmp2png.main(bmps)
    for name in ("licence", "folder", "create-folder", "finish", "remove-question",
                 "removal-progress", "retry-delete", "removal-finish", "progress", "retry-copy",
                 "interrupted", "folder-old-version", "confirm-exit", "not-from-temp"):
        check(os.path.isfile(os.path.join(args.screenshots, "setup-%s-%s.png" % (tag, name))),
              "picture setup-%s-%s.png" % (tag, name))

    return check.exit_status("setup end to end (%s)" % tag)


if __name__ == "__main__":
    sys.exit(main())
