#!/usr/bin/env python3
"""Checks the release zip as a user receives it, from the files inside it alone
(the 32-bit modules cannot run here).

usage: check_package.py ZIP ENTRY_EXPORT TREE_PROC_EXPORT

The export names are the ones addin/CMakeLists.txt names (tools/run-tests.sh
reads them from the release build's cache). The zip's SHA256SUMS sits beside it. Each failure is printed on its own line;
the exit status is 1 if there is any.
"""
import hashlib
import os
import re
import subprocess
import sys
import tempfile
import zipfile

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
OBJDUMP = "i686-w64-mingw32-objdump"
WINDRES = "i686-w64-mingw32-windres"
# Imports a shipped module may take from Windows itself.
SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "comctl32.dll", "comdlg32.dll",
               "advapi32.dll", "msvcrt.dll", "shell32.dll"}
# vxhtml.dll's grew by a third for the entry filter: code page 932's table of
# double-byte characters (23 KiB), the folding and the filter box.
BUDGETS = {"vxhtml.dll": 96 * 1024, "vxframe.dll": 64 * 1024, "vxpalette.exe": 512 * 1024,
           "vxtags.exe": 512 * 1024}
# The subsystem each program is linked for: the editor has windows, vxtags is
# run from a command prompt and must write to it.
SUBSYSTEMS = {"vxhost.exe": "Windows GUI", "vxpalette.exe": "Windows GUI", "vxtags.exe": "Windows CUI"}
# A console tool needs the kernel and the C runtime only.
ONLY_IMPORTS = {"vxtags.exe": {"kernel32.dll", "msvcrt.dll"}}
# Set from the command line.
CREATE_EXPORT = None
TREE_PROC_EXPORT = None

failures = []


def fail(message):
    failures.append(message)


def run(*command):
    # Native tools only: reading their output through a pipe is safe.
    return subprocess.run(command, capture_output=True, text=True)


def check_sums(zip_path):
    sums = os.path.join(os.path.dirname(zip_path), "SHA256SUMS")
    if not os.path.isfile(sums):
        return fail("no SHA256SUMS beside the zip")
    listed = {}
    for line in open(sums, encoding="ascii"):
        digest, name = line.rstrip("\n").split("  ", 1)
        listed[name] = digest
    name = os.path.basename(zip_path)
    with open(zip_path, "rb") as f:
        actual = hashlib.sha256(f.read()).hexdigest()
    if listed.get(name) != actual:
        fail("SHA256SUMS: %s is %s, listed %s" % (name, actual, listed.get(name)))


def check_layout(archive, version):
    top = "vxhtml-%s/" % version
    names = archive.namelist()
    if names != sorted(names):
        fail("entries are not sorted")
    outside = [n for n in names if not n.startswith(top)]
    if outside:
        fail("entries outside %s: %s" % (top, outside))
    for required in ("vxhtml.dll", "vxframe.dll", "vxhost.exe", "vxpalette.exe", "vxtags.exe", "docs/host-protocol.md",
                     "docs/definition-files.md", "docs/definition-files.en.md", "html5.def",
                     "README-ja.txt", "README-en.txt"):
        if top + required not in names:
            fail("missing %s%s" % (top, required))
    if not any(n.endswith(".def") for n in names):
        fail("no definition file")
    if len({info.date_time for info in archive.infolist()}) != 1:
        fail("entries carry different times")
    # Every text a user opens, as Notepad of any age shows it right.
    texts = [n[len(top):] for n in names if n.endswith(".md")] + ["README-ja.txt", "README-en.txt"]
    for name in texts:
        if top + name not in names:
            continue
        text = archive.read(top + name)
        if not text.startswith(b"\xef\xbb\xbf"):
            fail("%s has no UTF-8 byte order mark" % name)
        if text.count(b"\n") == 0 or text.count(b"\n") != text.count(b"\r\n"):
            fail("%s does not end every line with CR LF" % name)
        if name.startswith("README") and (b"@VERSION@" in text or version.encode() not in text):
            fail("%s does not name version %s" % (name, version))


def pe_headers(path):
    result = run(OBJDUMP, "-p", "-h", path)
    if result.returncode != 0:
        fail("objdump cannot read %s: %s" % (path, result.stderr.strip()))
        return ""
    return result.stdout


def check_pe(path, headers, shipped):
    name = os.path.basename(path)
    if "file format pei-i386" not in headers or not re.search(r"^Magic\s+010b\s+\(PE32\)", headers, re.M):
        fail("%s is not PE32 for i386" % name)
    if not re.search(r"^Time/Date\s+Thu Jan  1 00:00:00 1970$", headers, re.M):
        fail("%s carries a link time stamp" % name)
    debug = sorted(set(re.findall(r"^\s*\d+\s+(\.debug\w*)", headers, re.M)))
    if debug:
        fail("%s carries debug sections %s" % (name, debug))
    for imported in re.findall(r"DLL Name: (\S+)", headers):
        if imported.lower() not in SYSTEM_DLLS and imported.lower() not in shipped:
            fail("%s imports %s, which is neither shipped nor a system DLL" % (name, imported))
        elif name in ONLY_IMPORTS and imported.lower() not in ONLY_IMPORTS[name]:
            fail("%s imports %s; it may import only %s" % (name, imported, ", ".join(sorted(ONLY_IMPORTS[name]))))
    subsystem = SUBSYSTEMS.get(name)
    if subsystem and not re.search(r"^Subsystem\s+\w+\s+\(%s\)$" % subsystem, headers, re.M):
        fail("%s is not a %s program" % (name, subsystem))
    budget = BUDGETS.get(name)
    size = os.path.getsize(path)
    if budget:
        print("%-12s %7d bytes, %.2f of its %d-byte budget" % (name, size, size / budget, budget))
        if size > budget:
            fail("%s is %d bytes, over its budget of %d" % (name, size, budget))
    else:
        print("%-12s %7d bytes" % (name, size))


def check_version(path, version):
    name = os.path.basename(path)
    rc = run(WINDRES, "-J", "coff", "-O", "rc", "-i", path).stdout
    numbers = ", ".join(version.split(".") + ["0"])
    for field in ("FILEVERSION", "PRODUCTVERSION"):
        if not re.search(r"^\s*%s %s$" % (field, numbers), rc, re.M):
            fail("%s: %s is not %s" % (name, field, numbers))
    values = dict(re.findall(r'^\s*VALUE "(\w+)", L?"([^"]*)"$', rc, re.M))
    expected = {"FileVersion": version, "ProductVersion": version, "OriginalFilename": name,
                "ProductName": "vxhtml"}
    for key, want in expected.items():
        if values.get(key) != want:
            fail("%s: version value %s is %r, want %r" % (name, key, values.get(key), want))
    if not values.get("FileDescription"):
        fail("%s: no FileDescription" % name)


def disassembly(path):
    """Every instruction of the module's code: address -> (size, mnemonic, operands)."""
    text = run(OBJDUMP, "-d", "--no-show-raw-insn", "-M", "att", "-j", ".text", path).stdout
    code = {}
    previous = None
    for line in text.splitlines():
        m = re.match(r"^\s*([0-9a-f]+):\s+(\S+)\s*(.*)$", line)
        if not m:
            continue
        address = int(m.group(1), 16)
        if previous is not None:
            code[previous[0]] = (address - previous[0],) + previous[1:]
        previous = (address, m.group(2), m.group(3).strip())
    if previous is not None:
        code[previous[0]] = (1,) + previous[1:]
    return code


def returns_reachable(code, entry):
    """The return instructions reachable from entry, following every branch and
    tail jump; None when the walk leaves the decoded code."""
    seen, pending, returns = set(), [entry], []
    while pending:
        address = pending.pop()
        while address not in seen:
            if address not in code:
                return None
            seen.add(address)
            size, mnemonic, operands = code[address]
            if mnemonic.startswith("ret"):
                returns.append((address, mnemonic, operands))
                break
            target = re.match(r"^(?:0x)?([0-9a-f]+)(?:\s|$)", operands)
            if mnemonic.startswith("j") and target:
                pending.append(int(target.group(1), 16))
                if mnemonic == "jmp":
                    break
            elif mnemonic == "jmp":  # an indirect jump: an import, never a return here
                break
            address += size
    return returns


def check_calling_conventions(path, headers):
    base = int(re.search(r"^ImageBase\s+([0-9a-f]+)", headers, re.M).group(1), 16)
    rvas = [int(r, 16) for r in re.findall(r"^\s+\[\s*\d+\] \+base\[\s*\d+\]\s+([0-9a-f]+) Export RVA", headers, re.M)]
    names = re.findall(r"^\s+\[\s*\d+\] (\S+)$",
                       headers.split("[Ordinal/Name Pointer] Table", 1)[-1], re.M)
    # The name pointer table is sorted by name, and with no gaps its ordinals follow it.
    entries = dict(zip(names, rvas))
    code = disassembly(path)
    rules = {TREE_PROC_EXPORT: ("ret $0x10", "stdcall, four 32-bit arguments popped by the callee"),
             CREATE_EXPORT: ("ret", "cdecl, arguments left to the caller")}
    for export, (want, meaning) in rules.items():
        if export not in entries:
            continue  # the export check reports it
        returns = returns_reachable(code, base + entries[export])
        if returns is None:
            fail("%s: its code could not be followed" % export)
        elif not returns:
            fail("%s: no return instruction reached" % export)
        else:
            wrong = ["%x: %s %s" % r for r in returns if (r[1] + " " + r[2]).strip() != want]
            if wrong:
                fail("%s must return with '%s' (%s); found %s" % (export, want, meaning, wrong))
            else:
                print("ok: %s returns with '%s' at %d places" % (export, want, len(returns)))


def main():
    global CREATE_EXPORT, TREE_PROC_EXPORT
    zip_path = os.path.abspath(sys.argv[1])
    CREATE_EXPORT, TREE_PROC_EXPORT = sys.argv[2:4]
    m = re.match(r"^vxhtml-(\d+\.\d+\.\d+)-win32\.zip$", os.path.basename(zip_path))
    if not m:
        print("the zip's name %s is not vxhtml-<version>-win32.zip" % os.path.basename(zip_path))
        return 1
    version = m.group(1)
    check_sums(zip_path)
    with zipfile.ZipFile(zip_path) as archive, tempfile.TemporaryDirectory() as unpacked:
        check_layout(archive, version)
        archive.extractall(unpacked)
        folder = os.path.join(unpacked, "vxhtml-%s" % version)
        if not os.path.isdir(folder):
            print("FAIL: no folder vxhtml-%s in the zip" % version)
            return 1
        modules = sorted(n for n in os.listdir(folder) if n.lower().endswith((".dll", ".exe")))
        shipped = {n.lower() for n in modules}
        for module in modules:
            path = os.path.join(folder, module)
            headers = pe_headers(path)
            check_pe(path, headers, shipped)
            check_version(path, version)
        addin = os.path.join(folder, "vxhtml.dll")
        if os.path.isfile(addin):
            for command in (
                [os.path.join(ROOT, "tests/addin/check_dll_exports.sh"), OBJDUMP, addin, "PE32",
                 CREATE_EXPORT, TREE_PROC_EXPORT],
                [sys.executable, os.path.join(ROOT, "tests/addin/check_dll_resources.py"), WINDRES,
                 addin, os.path.join(ROOT, "tests/catalogue/catalogue.expected")]):
                result = run(*command)
                print(result.stdout.strip())
                if result.returncode != 0:
                    fail("vxhtml.dll: %s failed" % os.path.basename(command[0 if command[0] != sys.executable else 1]))
            check_calling_conventions(addin, pe_headers(addin))
    for failure in failures:
        print("FAIL: " + failure)
    if not failures:
        print("ok: %s as shipped" % os.path.basename(zip_path))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
