#!/usr/bin/env python3
"""The package check must catch what it is there for: each case below damages
one thing in a copy of a good zip and expects the check to fail and say so.

usage: check_package_test.py GOOD_ZIP ENTRY_EXPORT TREE_PROC_EXPORT
"""
import hashlib
import os
import re
import struct
import subprocess
import sys
import tempfile
import zipfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import check_package  # noqa: E402


def text_offset(dll, address):
    """File offset of a virtual address inside the module's .text."""
    headers = check_package.run(check_package.OBJDUMP, "-h", dll).stdout
    m = re.search(r"^\s*\d+ \.text\s+([0-9a-f]+)\s+([0-9a-f]+)\s+[0-9a-f]+\s+([0-9a-f]+)", headers, re.M)
    size, vma, offset = (int(g, 16) for g in m.groups())
    assert vma <= address < vma + size
    return address - vma + offset


def tree_proc_returns_plainly(files, unpacked):
    dll = os.path.join(unpacked, "vxhtml.dll")
    headers = check_package.pe_headers(dll)
    base = int(re.search(r"^ImageBase\s+([0-9a-f]+)", headers, re.M).group(1), 16)
    names = re.findall(r"^\s+\[\s*\d+\] (\S+)$", headers.split("[Ordinal/Name Pointer] Table", 1)[-1], re.M)
    rvas = re.findall(r"\+base\[\s*\d+\]\s+([0-9a-f]+) Export RVA", headers)
    entry = base + int(dict(zip(names, rvas))[check_package.TREE_PROC_EXPORT], 16)
    code = check_package.disassembly(dll)
    data = bytearray(files["vxhtml.dll"])
    for address, _, _ in check_package.returns_reachable(code, entry):
        at = text_offset(dll, address)
        assert data[at:at + 3] == b"\xc2\x10\x00"
        data[at:at + 3] = b"\xc3\x90\x90"  # ret; nop; nop: the caller's arguments stay behind
    files["vxhtml.dll"] = bytes(data)


def stamped(files, unpacked):
    data = bytearray(files["vxframe.dll"])
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    struct.pack_into("<I", data, pe + 8, 0x5F000000)
    files["vxframe.dll"] = bytes(data)


def windowed_vxtags(files, unpacked):
    data = bytearray(files["vxtags.exe"])
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    struct.pack_into("<H", data, pe + 24 + 68, 2)  # the optional header's Subsystem: GUI
    files["vxtags.exe"] = bytes(data)


def without_framework(files, unpacked):
    del files["vxframe.dll"]


def unix_readme(files, unpacked):
    files["README-en.txt"] = files["README-en.txt"].replace(b"\r\n", b"\n")


def markdown_without_mark(files, unpacked):
    files["docs/host-protocol.md"] = files["docs/host-protocol.md"][3:]


# name: (damage, what the check must say, the zip's version, whether SHA256SUMS is left stale)
CASES = {
    "stdcall return lost": (tree_proc_returns_plainly, "must return with 'ret $0x10'", None, False),
    "link time stamp": (stamped, "vxframe.dll carries a link time stamp", None, False),
    "vxtags without a console": (windowed_vxtags, "vxtags.exe is not a Windows CUI program", None, False),
    "framework missing": (without_framework, "imports vxframe.dll, which is neither shipped", None, False),
    "readme with LF": (unix_readme, "README-en.txt does not end every line with CR LF", None, False),
    "document without byte order mark": (markdown_without_mark, "docs/host-protocol.md has no UTF-8 byte order mark",
                                         None, False),
    "stale sums": (None, "SHA256SUMS: vxhtml-", None, True),
    "name says another version": (None, "FILEVERSION is not 9, 9, 9, 0", "9.9.9", False),
}


def write_zip(path, top, files, date_time, stale_sums):
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as out:
        for name in sorted(files):
            info = zipfile.ZipInfo(top + name, date_time)
            out.writestr(info, files[name])
    with open(path, "rb") as f:
        digest = hashlib.sha256(f.read()).hexdigest()
    if stale_sums:
        digest = "0" * 64
    with open(os.path.join(os.path.dirname(path), "SHA256SUMS"), "w") as sums:
        sums.write("%s  %s\n" % (digest, os.path.basename(path)))


def main():
    good = sys.argv[1]
    exports = sys.argv[2:4]
    check_package.CREATE_EXPORT, check_package.TREE_PROC_EXPORT = exports
    version = re.match(r"^vxhtml-(.+)-win32\.zip$", os.path.basename(good)).group(1)
    top = "vxhtml-%s/" % version
    with zipfile.ZipFile(good) as archive:
        original = {n[len(top):]: archive.read(n) for n in archive.namelist()}
        date_time = archive.infolist()[0].date_time
    failures = 0
    for case, (damage, expected, zip_version, stale_sums) in CASES.items():
        with tempfile.TemporaryDirectory() as work:
            unpacked = os.path.join(work, "unpacked")
            os.mkdir(unpacked)
            for name, data in original.items():
                if "/" not in name:
                    with open(os.path.join(unpacked, name), "wb") as f:
                        f.write(data)
            files = dict(original)
            if damage:
                damage(files, unpacked)
            zip_path = os.path.join(work, "vxhtml-%s-win32.zip" % (zip_version or version))
            write_zip(zip_path, "vxhtml-%s/" % (zip_version or version), files, date_time, stale_sums)
            result = subprocess.run([sys.executable, os.path.join(HERE, "check_package.py"), zip_path] + exports,
                                    capture_output=True, text=True)
            if result.returncode == 0 or expected not in result.stdout:
                failures += 1
                print("FAIL: %s: status %d, output:\n%s" % (case, result.returncode, result.stdout))
            else:
                print("ok: %s is caught" % case)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
