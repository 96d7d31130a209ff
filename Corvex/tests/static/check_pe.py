#!/usr/bin/env python3
"""Static check of a shipping 32-bit Windows binary of the product.

Reads the file's PE headers through objdump -p (format, exports, imports,
subsystem) and its version resource straight from the file, and compares
them with what the product must ship. Prints one line per failed check and
exits 1 when any check fails, 0 when all pass, 77 when the file is missing
and --skip-missing was given.
"""
import argparse
import os
import re
import struct
import subprocess
import sys

SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "advapi32.dll", "shell32.dll",
               "comctl32.dll", "comdlg32.dll", "ole32.dll", "gdi32.dll", "msvcrt.dll"}

PRODUCTS = {
    "Corvex.dll": {
        "dll": True,
        "subsystem": None,
        "exports": {1: "InetMailMessageCountInFile", 2: "InetMailMessageCountInFileEx",
                    3: "Kelpo", 4: "KelpoEx", 5: "InetMailMessageCountInFileOfKind",
                    6: "KelpoExWithFlags"},
        "extra_dlls": {},
        "strings": {"CompanyName": "TALVEN", "FileDescription": "Corvex logic DLL",
                    "FileVersion": "1, 0, 8, 2613", "InternalName": "Corvex",
                    "OriginalFilename": "Corvex.dll", "ProductName": "Quillbox",
                    "ProductVersion": "1, 0, 0, 1"},
        "fixed": ((1, 0, 8, 2613), (1, 0, 0, 1)),
    },
    "Kelpo.exe": {
        "dll": False,
        "subsystem": 3,  # console
        "exports": None,
        # The console tool binds the library by name at load time, and only
        # the four functions it calls.
        "extra_dlls": {"corvex.dll": {"Kelpo", "InetMailMessageCountInFile",
                                      "InetMailMessageCountInFileOfKind", "KelpoExWithFlags"}},
        "strings": {"CompanyName": "TALVEN", "FileDescription": "Kelpo (Console application)",
                    "FileVersion": "1, 0, 2, 1127", "InternalName": "Kelpo",
                    "OriginalFilename": "Kelpo.exe", "ProductName": "Quillbox",
                    "ProductVersion": "1, 0, 0, 1"},
        "fixed": ((1, 0, 2, 1127), (1, 0, 0, 1)),
    },
    "Quillrun.exe": {
        "dll": False,
        "subsystem": 2,  # windows
        "exports": None,
        # The desktop program binds the four functions it calls by name at
        # load time, and nothing else of the library.
        "extra_dlls": {"corvex.dll": {"KelpoEx", "InetMailMessageCountInFileEx",
                                      "InetMailMessageCountInFileOfKind", "KelpoExWithFlags"}},
        "strings": {"CompanyName": "TALVEN", "FileDescription": "Quillbox",
                    "FileVersion": "1, 0, 9, 4212", "InternalName": "Quillrun",
                    "OriginalFilename": "Quillrun.exe", "ProductName": "Quillbox",
                    "ProductVersion": "1, 0, 0, 1"},
        "fixed": ((1, 0, 9, 4212), (1, 0, 0, 1)),
        # Version 6 of the common controls, aware of the system DPI, and the
        # program's icon.
        "manifest": [r'name="Microsoft\.Windows\.Common-Controls"[^>]*version="6\.0\.0\.0"',
                     r"<dpiAware>\s*true\s*</dpiAware>"],
        "icon": True,
    },
    "setup.exe": {
        "dll": False,
        "subsystem": 2,  # windows
        "exports": None,
        # The installer links against no other deliverable.
        "extra_dlls": {},
        "strings": {"CompanyName": "TALVEN", "FileDescription": "Installer",
                    "FileVersion": "1, 0, 0, 0", "InternalName": "setup",
                    "OriginalFilename": "setup.exe", "ProductName": "Quillbox",
                    "ProductVersion": "1, 0, 0, 1"},
        "fixed": ((1, 0, 0, 0), (1, 0, 0, 1)),
        # Its identity for this processor, version 6 of the common controls,
        # administrator rights, and icon 107 with its four images.
        "manifest": [r'name="TALVEN\.setup"\s+version="1\.0\.0\.0"\s+processorArchitecture="x86"',
                     r"<description>Installer</description>",
                     r'name="Microsoft\.Windows\.Common-Controls"[^>]*version="6\.0\.0\.0"',
                     r'level="requireAdministrator"'],
        "icon": True,
        "icon_group": (107, 4),
    },
    "Quillbox-Setup.exe": {
        "dll": False,
        "subsystem": 2,  # windows
        "exports": None,
        # The package carries the product as data and links against none of it.
        "extra_dlls": {},
        "strings": {"CompanyName": "TALVEN", "FileDescription": "Quillbox Setup",
                    "FileVersion": "1, 0, 0, 1", "InternalName": "Quillbox-Setup",
                    "OriginalFilename": "Quillbox-Setup.exe", "ProductName": "Quillbox",
                    "ProductVersion": "1, 0, 0, 1"},
        "fixed": ((1, 0, 0, 1), (1, 0, 0, 1)),
        # Administrator rights: a process without them fails the installer's check.
        "manifest": [r'name="TALVEN\.Quillbox\.Setup"[^>]*processorArchitecture="x86"',
                     r'level="requireAdministrator"'],
        "icon": True,
    },
}

VERSION_LANGUAGE = 0x0411
VERSION_CODEPAGE = 1200
RT_VERSION = 16
RT_GROUP_ICON = 14
RT_MANIFEST = 24


class Checks:
    def __init__(self, label):
        self.label = label
        self.failures = []
        self.passed = 0

    def expect(self, ok, what):
        if ok:
            self.passed += 1
        else:
            self.failures.append(what)
            print("FAIL %s: %s" % (self.label, what))


# ---- objdump -p ---------------------------------------------------------

def parse_objdump(text):
    info = {"format": None, "magic": None, "characteristics": [], "subsystem": None,
            "ordinal_base": None, "export_count": None, "exports": {}, "imports": {}}
    m = re.search(r"file format (\S+)", text)
    info["format"] = m.group(1) if m else None
    m = re.search(r"^Magic\s+([0-9a-fA-F]+)", text, re.M)
    info["magic"] = int(m.group(1), 16) if m else None
    m = re.search(r"^Characteristics 0x[0-9a-fA-F]+\n((?:\t.*\n)*)", text, re.M)
    if m:
        info["characteristics"] = [line.strip() for line in m.group(1).splitlines()]
    m = re.search(r"^Subsystem\s+([0-9a-fA-F]+)", text, re.M)
    info["subsystem"] = int(m.group(1), 16) if m else None

    m = re.search(r"^Export Address Table -- Ordinal Base (\d+)", text, re.M)
    if m:
        info["ordinal_base"] = int(m.group(1))
    m = re.search(r"^\tExport Address Table\s+([0-9a-fA-F]+)\n\t\[Name Pointer/Ordinal\] Table\s+([0-9a-fA-F]+)",
                  text, re.M)
    if m:
        info["export_count"] = (int(m.group(1), 16), int(m.group(2), 16))
    m = re.search(r"^\[Ordinal/Name Pointer\] Table\n((?:\t\[.*\n)*)", text, re.M)
    if m:
        for line in m.group(1).splitlines():
            e = re.match(r"\t\[\s*(\d+)\]\s+(\S+)", line)
            if e:
                info["exports"].setdefault(e.group(2), []).append(int(e.group(1)))

    current = None
    for line in text.splitlines():
        d = re.match(r"\tDLL Name: (.+)$", line)
        if d:
            current = d.group(1).strip()
            info["imports"].setdefault(current, [])
            continue
        if current is None:
            continue
        if not line.strip():
            continue
        if line.startswith("\tvma:"):
            continue
        member = re.match(r"\t[0-9a-fA-F]+\t\s*(\d+)\s+(\S+)", line)
        if member:
            info["imports"][current].append(member.group(2))
        elif not line.startswith("\t"):
            current = None
    return info


# ---- version resource -----------------------------------------------------

class PeImage:
    def __init__(self, data):
        self.data = data
        if data[:2] != b"MZ":
            raise ValueError("no MZ header")
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        if data[pe:pe + 4] != b"PE\0\0":
            raise ValueError("no PE signature")
        self.machine, nsections = struct.unpack_from("<HH", data, pe + 4)
        opt_size, self.characteristics = struct.unpack_from("<HH", data, pe + 20)
        opt = pe + 24
        self.magic = struct.unpack_from("<H", data, opt)[0]
        dirs = opt + (96 if self.magic == 0x10B else 112)
        self.resource_rva, self.resource_size = struct.unpack_from("<II", data, dirs + 2 * 8)
        self.sections = []
        sec = opt + opt_size
        for i in range(nsections):
            vsize, vaddr, rsize, raddr = struct.unpack_from("<IIII", data, sec + 40 * i + 8)
            self.sections.append((vaddr, max(vsize, rsize), raddr))

    def offset(self, rva):
        for vaddr, size, raddr in self.sections:
            if vaddr <= rva < vaddr + size:
                return raddr + rva - vaddr
        raise ValueError("RVA %#x outside every section" % rva)

    def resources(self, type_id):
        """(name, language, bytes) for every resource of a numeric type."""
        if not self.resource_rva:
            return []
        base = self.offset(self.resource_rva)

        def entries(table):
            named, ids = struct.unpack_from("<HH", self.data, base + table + 12)
            for i in range(named + ids):
                ident, target = struct.unpack_from("<II", self.data, base + table + 16 + 8 * i)
                yield ident, target

        found = []
        for ident, target in entries(0):
            if ident != type_id or not target & 0x80000000:
                continue
            for name, ltable in entries(target & 0x7FFFFFFF):
                if not ltable & 0x80000000:
                    continue
                for lang, leaf in entries(ltable & 0x7FFFFFFF):
                    rva, size = struct.unpack_from("<II", self.data, base + leaf)
                    start = self.offset(rva)
                    found.append((name, lang, self.data[start:start + size]))
        return found


def parse_version_block(data, pos):
    """One VS_VERSIONINFO-style node: (key, value bytes, value type, children, end)."""
    length, value_length, value_type = struct.unpack_from("<HHH", data, pos)
    end = pos + length
    key_start = pos + 6
    key_end = key_start
    while data[key_end:key_end + 2] != b"\0\0":
        key_end += 2
    key = data[key_start:key_end].decode("utf-16-le")
    cursor = (key_end + 2 + 3) & ~3
    value_bytes = value_length * 2 if value_type == 1 else value_length
    value = data[cursor:cursor + value_bytes]
    cursor = (cursor + value_bytes + 3) & ~3
    children = []
    while cursor < end:
        child = parse_version_block(data, cursor)
        children.append(child)
        cursor = (child[4] + 3) & ~3
    return key, value, value_type, children, end


def read_version(image):
    blocks = image.resources(RT_VERSION)
    if not blocks:
        return None
    _, language, raw = blocks[0]
    key, value, _, children, _ = parse_version_block(raw, 0)
    result = {"count": len(blocks), "resource_language": language, "key": key,
              "fixed": None, "tables": {}, "translations": []}
    if len(value) >= 52:
        sig, _, fms, fls, pms, pls = struct.unpack_from("<IIIIII", value, 0)
        if sig == 0xFEEF04BD:
            result["fixed"] = ((fms >> 16, fms & 0xFFFF, fls >> 16, fls & 0xFFFF),
                               (pms >> 16, pms & 0xFFFF, pls >> 16, pls & 0xFFFF))
    for ckey, _, _, grandchildren, _ in children:
        if ckey == "StringFileInfo":
            for table_key, _, _, strings, _ in grandchildren:
                table = {}
                for skey, svalue, stype, _, _ in strings:
                    text = svalue.decode("utf-16-le") if stype == 1 else svalue.decode("latin-1")
                    table[skey] = text.rstrip("\0")
                result["tables"][table_key.lower()] = table
        elif ckey == "VarFileInfo":
            for vkey, vvalue, _, _, _ in grandchildren:
                if vkey == "Translation":
                    for i in range(0, len(vvalue) - 3, 4):
                        result["translations"].append(struct.unpack_from("<HH", vvalue, i))
    return result


# ---- the checks -----------------------------------------------------------

def check(path, product, objdump):
    expected = PRODUCTS[product]
    checks = Checks(os.path.basename(path))
    run = subprocess.run([objdump, "-p", path], stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                         universal_newlines=True)
    checks.expect(run.returncode == 0, "objdump -p failed: %s" % run.stderr.strip())
    info = parse_objdump(run.stdout)

    checks.expect(info["format"] == "pei-i386", "file format is %s, not pei-i386" % info["format"])
    checks.expect(info["magic"] == 0x10B, "optional header magic is %s, not 010b (PE32)" % info["magic"])
    is_dll = "DLL" in info["characteristics"]
    checks.expect(is_dll == expected["dll"],
                  "DLL flag is %s, expected %s" % (is_dll, expected["dll"]))
    if expected["subsystem"] is not None:
        checks.expect(info["subsystem"] == expected["subsystem"],
                      "subsystem is %s, expected %s" % (info["subsystem"], expected["subsystem"]))

    with open(path, "rb") as f:
        image = PeImage(f.read())
    checks.expect(image.machine == 0x14C, "machine is %#x, not i386 (0x14c)" % image.machine)

    if expected["exports"] is not None:
        base = info["ordinal_base"]
        checks.expect(base is not None, "no export table")
        by_name = {name: [base + i for i in idx] for name, idx in info["exports"].items()} if base else {}
        checks.expect(info["export_count"] == (len(expected["exports"]), len(expected["exports"])),
                      "export address / name tables hold %s entries, expected exactly %d"
                      % (info["export_count"], len(expected["exports"])))
        checks.expect(len(by_name) == len(expected["exports"]),
                      "%d exported names, expected exactly %d: %s"
                      % (len(by_name), len(expected["exports"]), sorted(by_name)))
        for name in by_name:
            checks.expect("@" not in name and not name.startswith("_"),
                          "export name %r is decorated" % name)
        for ordinal, name in sorted(expected["exports"].items()):
            checks.expect(by_name.get(name) == [ordinal],
                          "%s is at ordinal(s) %s, expected %d" % (name, by_name.get(name), ordinal))

    allowed = set(SYSTEM_DLLS) | set(expected["extra_dlls"])
    imported = {name.lower(): members for name, members in info["imports"].items()}
    checks.expect(bool(imported), "no import table found")
    for dll in sorted(imported):
        checks.expect(dll in allowed, "imports %s, which is not a system DLL" % dll)
    for dll, members in expected["extra_dlls"].items():
        got = set(imported.get(dll, []))
        checks.expect(got == members, "imports %s from %s, expected %s by name"
                      % (sorted(got), dll, sorted(members)))

    version = read_version(image)
    checks.expect(version is not None, "no version resource")
    if version:
        checks.expect(version["count"] == 1, "%d version resources, expected one" % version["count"])
        checks.expect(version["key"] == "VS_VERSION_INFO", "version root key is %r" % version["key"])
        checks.expect(version["resource_language"] == VERSION_LANGUAGE,
                      "version resource language is %#06x, expected %#06x"
                      % (version["resource_language"], VERSION_LANGUAGE))
        checks.expect(version["translations"] == [(VERSION_LANGUAGE, VERSION_CODEPAGE)],
                      "Translation is %s, expected [(0x411, 1200)]" % version["translations"])
        table_key = "%04x%04x" % (VERSION_LANGUAGE, VERSION_CODEPAGE)
        checks.expect(list(version["tables"]) == [table_key],
                      "string tables %s, expected only %s" % (list(version["tables"]), table_key))
        table = version["tables"].get(table_key, {})
        for key, value in expected["strings"].items():
            checks.expect(table.get(key) == value,
                          "%s is %r, expected %r" % (key, table.get(key), value))
        checks.expect(version["fixed"] == expected["fixed"],
                      "fixed file/product version %s, expected %s" % (version["fixed"], expected["fixed"]))

    manifests = image.resources(RT_MANIFEST)
    for pattern in expected.get("manifest", []):
        text = manifests[0][2].decode("utf-8", errors="replace") if manifests else ""
        checks.expect(re.search(pattern, text) is not None,
                      "the manifest does not match %s" % pattern)
    if expected.get("icon"):
        checks.expect(bool(image.resources(RT_GROUP_ICON)), "no icon")
    if expected.get("icon_group"):
        group_id, images = expected["icon_group"]
        groups = {name: data for name, _, data in image.resources(RT_GROUP_ICON)}
        count = struct.unpack_from("<H", groups[group_id], 4)[0] if group_id in groups else None
        checks.expect(count == images, "icon %d holds %s images, expected %d"
                      % (group_id, count, images))

    if checks.failures:
        print("%s: %d of %d checks failed" % (checks.label, len(checks.failures),
                                             len(checks.failures) + checks.passed))
        return 1
    print("%s: all %d checks passed" % (checks.label, checks.passed))
    return 0


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--objdump", default="i686-w64-mingw32-objdump")
    parser.add_argument("--skip-missing", action="store_true",
                        help="exit 77 (skipped) when the file does not exist")
    parser.add_argument("product", choices=sorted(PRODUCTS))
    parser.add_argument("path")
    args = parser.parse_args()
    if not os.path.isfile(args.path):
        print("%s: not found (build the win32 preset first)" % args.path)
        return 77 if args.skip_missing else 1
    return check(args.path, args.product, args.objdump)


if __name__ == "__main__":
    sys.exit(main())
