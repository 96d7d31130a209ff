#!/usr/bin/env python3
"""Checks that the Windows versions which the package's setup.ini accepts
([OS]) are the ones its binaries really run on, judged from their PE
headers and imports, neither more nor less:

- the NT family from the highest of the binaries' OS and subsystem
  versions and the NT versions that introduced the functions they import
  (from a table of the functions that came after Windows NT 4.0);
- the 9x family only when no binary imports a function that the 9x family
  does not implement (wide-character functions other than the few it has,
  and functions of NT 5.0 and later).

    check_os.py --objdump i686-w64-mingw32-objdump PAYLOAD_FOLDER [OTHER_BINARY...]

(The package program itself, which runs first, is an other binary.)

Prints what it judged; exits 1 when setup.ini says otherwise, 77 when the
folder does not exist (the win32 preset is not built)."""
import argparse
import configparser
import os
import re
import subprocess
import sys

# The first NT version (major*100+minor) that has each function, for the
# functions that came after NT 4.0.
NT_VERSION = {
    "GetFileSizeEx": 500, "SetFilePointerEx": 500, "GetLongPathNameA": 500,
    "GetLongPathNameW": 500, "GetFileAttributesExA": 400, "LockFileEx": 400,
    "CreateHardLinkA": 500, "GetVolumePathNameA": 500, "FindFirstVolumeA": 500,
    "MoveFileWithProgressA": 500, "ReplaceFileA": 500, "GetConsoleWindow": 500,
    "GetModuleHandleExA": 501, "GetModuleHandleExW": 501, "AddVectoredExceptionHandler": 501,
    "RemoveVectoredExceptionHandler": 501, "GetNativeSystemInfo": 501, "AttachConsole": 501,
    "IsWow64Process": 501, "GetSystemTimes": 501, "SetDllDirectoryA": 502,
    "SetDllDirectoryW": 502, "GetProcessId": 502, "FlsAlloc": 502, "FlsGetValue": 502,
    "FlsSetValue": 502, "FlsFree": 502, "SetThreadStackGuarantee": 502, "RegGetValueA": 502,
    "RegDeleteKeyExA": 502, "GetTickCount64": 600, "InitializeCriticalSectionEx": 600,
    "InitOnceExecuteOnce": 600, "InitializeSRWLock": 600, "AcquireSRWLockExclusive": 600,
    "AcquireSRWLockShared": 600, "InitializeConditionVariable": 600,
    "SleepConditionVariableCS": 600, "WakeConditionVariable": 600,
    "QueryFullProcessImageNameA": 600, "QueryFullProcessImageNameW": 600,
    "GetFileInformationByHandleEx": 600, "CreateSymbolicLinkA": 600, "CompareStringEx": 600,
    "LocaleNameToLCID": 600, "GetUserDefaultLocaleName": 600, "RegDeleteTreeA": 600,
    "SetProcessDPIAware": 600, "ChangeWindowMessageFilter": 600, "SHGetKnownFolderPath": 600,
    "TaskDialogIndirect": 600, "TaskDialog": 600, "GetSystemTimePreciseAsFileTime": 602,
}

# Wide-character functions that the 9x family implements.
WIDE_ON_9X = {
    "MultiByteToWideChar", "WideCharToMultiByte", "lstrlenW", "GetCommandLineW",
    "MessageBoxW", "MessageBoxExW", "TextOutW", "ExtTextOutW", "GetTextExtentPoint32W",
    "GetTextExtentPointW", "GetCharWidthW", "EnumResourceLanguagesW", "FindResourceW",
    "FindResourceExW", "WriteConsoleW", "wcslen",
}


def imports_of(path, objdump):
    text = subprocess.run([objdump, "-p", path], stdout=subprocess.PIPE,
                          universal_newlines=True, check=True).stdout
    versions = []
    for field in ("OSystem", "Subsystem"):
        major = re.search(r"^Major%sVersion\s+(\d+)" % field, text, re.M)
        minor = re.search(r"^Minor%sVersion\s+(\d+)" % field, text, re.M)
        versions.append(int(major.group(1)) * 100 + int(minor.group(1)))
    functions = set()
    in_imports = False
    for line in text.splitlines():
        if line.startswith("\tDLL Name:"):
            in_imports = True
        elif in_imports and re.match(r"\t[0-9a-fA-F]+\t\s*\d+\s+\S+", line):
            functions.add(line.split()[-1])
        elif not line.startswith("\t"):
            in_imports = False
    return max(versions), functions


def read_os(path):
    script = configparser.ConfigParser(strict=False, interpolation=None,
                                       comment_prefixes=(";",), inline_comment_prefixes=None)
    with open(path, encoding="cp932") as f:
        script.read_file(f)
    section = script["OS"] if script.has_section("OS") else {}

    def number(key, default):
        match = re.match(r"\s*([+-]?\d+)", section.get(key, default))
        return int(match.group(1)) if match else 0
    return (number("Win9x_Min", "0"), number("Win9x_Max", "9999"),
            number("WinNT_Min", "0"), number("WinNT_Max", "9999"))


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--objdump", default="i686-w64-mingw32-objdump")
    parser.add_argument("payload")
    parser.add_argument("others", nargs="*")
    args = parser.parse_args()
    if not os.path.isdir(args.payload):
        print("%s: not found (build the win32 preset first)" % args.payload)
        return 77

    needed_nt, not_on_9x = 400, []
    binaries = [os.path.join(args.payload, n) for n in sorted(os.listdir(args.payload))
                if n.lower().endswith((".exe", ".dll"))] + args.others
    for path in binaries:
        name = os.path.basename(path)
        header, functions = imports_of(path, args.objdump)
        newest = max([header] + [NT_VERSION.get(f, 0) for f in functions])
        needed_nt = max(needed_nt, newest)
        wide = sorted(f for f in functions
                      if (f.endswith("W") and f not in WIDE_ON_9X) or NT_VERSION.get(f, 0) >= 500)
        not_on_9x += ["%s: %s" % (name, f) for f in wide]
        print("%s: header %d, needs NT %d%s" % (name, header, newest,
                                                 ", not the 9x family (%s)" % ", ".join(wide)
                                                 if wide else ""))

    win9x_min, win9x_max, nt_min, nt_max = read_os(os.path.join(args.payload, "setup.ini"))
    accepts_9x = win9x_min <= 490 and win9x_max >= 400 and win9x_min <= win9x_max
    failed = False
    if nt_min != needed_nt:
        print("FAIL: setup.ini accepts the NT family from %d; the binaries need %d" %
              (nt_min, needed_nt))
        failed = True
    if accepts_9x == bool(not_on_9x):
        print("FAIL: setup.ini %s the 9x family, but %s" %
              ("accepts" if accepts_9x else "refuses",
               "the binaries use what it lacks" if not_on_9x else "nothing the binaries use "
               "is missing there"))
        failed = True
    if nt_max < 9999:
        print("FAIL: setup.ini refuses NT versions above %d, which the binaries do not" % nt_max)
        failed = True
    print("setup.ini [OS]: 9x %s, NT from %d: %s" %
          ("accepted" if accepts_9x else "refused", nt_min, "FAILED" if failed else "right"))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
