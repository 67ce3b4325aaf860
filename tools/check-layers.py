#!/usr/bin/env python3
"""Checks the shape of the source tree, so that it stays as README's "Layout" draws it.

- Includes look only down: each folder includes our headers from the folders it may use.
- A folder's CMake targets link nothing from a folder it may not use, by name or by taking
  in an object library's objects.
- Every file that includes <windows.h> (directly or through one of our headers) is named
  *_win32, and a *_win32 file is one that does.
- Wine tests are named *_test_win32.cpp, native tests *_test.cpp.

Usage: check-layers.py [ROOT]. Prints every breach and exits 1 when there is one.
"""
import os
import re
import subprocess
import sys

# What each folder may include, itself always allowed. tests/ and bench/ sit on top.
MAY_USE = {
    "protocol": set(),
    "runtime": set(),
    "framework": {"runtime"},
    "deffile": {"protocol"},
    "catalogue": {"protocol"},
    "tree": {"protocol", "catalogue", "deffile"},
    "resources": set(),
    "addin": {"protocol", "runtime", "framework", "catalogue", "deffile", "tree", "resources"},
    "hostkit": {"protocol", "runtime", "framework", "deffile"},
    "host": {"protocol", "runtime", "framework", "deffile", "hostkit"},
    "palette": {"protocol", "runtime", "framework", "deffile", "hostkit"},
    "vxtags": {"protocol", "catalogue", "deffile", "tree"},
}
# Targets defined by each folder, for the link check.
TARGETS = {
    "protocol": {"vx_protocol"},
    "runtime": {"vx_allocation"},
    "framework": {"vxframe"},
    "deffile": {"vx_deffile"},
    "catalogue": {"vx_catalogue", "vx_catalogue_win32"},
    "tree": {"vx_tree", "vx_tree_win32"},
    "resources": {"vx_resources"},
    "addin": {"vx_addin", "vx_host_connection_win32", "vx_addin_win32", "vxhtml"},
    "hostkit": {"vx_hostkit"},
    "host": {"vxhost_logic", "vxhost_core", "vxhost"},
    "palette": {"vxpalette_rules", "vxpalette_core", "vxpalette", "vxpalette_insert_core", "vxpalette_insert"},
    "vxtags": {"vx_vxtags", "vxtags_recording_seams", "vxtags"},
}
WINDOWS_HEADERS = {"windows.h", "commctrl.h", "commdlg.h", "psapi.h"}
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]', re.M)


def tracked_files(root):
    out = subprocess.run(["git", "-C", root, "ls-files"], check=True, stdout=subprocess.PIPE,
                         text=True).stdout
    return [f for f in out.split() if os.path.isfile(os.path.join(root, f))]


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..")
    files = tracked_files(root)
    sources = [f for f in files if f.endswith((".h", ".cpp"))]
    includes = {}
    for f in sources:
        with open(os.path.join(root, f), encoding="utf-8") as text:
            includes[f] = INCLUDE.findall(text.read())
    breaches = []

    for f in sources:
        folder = f.split("/")[0]
        if folder not in MAY_USE:
            continue
        for kind, header in includes[f]:
            if kind != '"':
                continue
            used = header.split("/")[0]
            if used != folder and used not in MAY_USE[folder]:
                breaches.append(f"{f}: includes {header}, but {folder}/ may use only "
                                f"{', '.join(sorted(MAY_USE[folder])) or 'itself'}")

    for folder, allowed in MAY_USE.items():
        cmake = os.path.join(root, folder, "CMakeLists.txt")
        if not os.path.isfile(cmake):
            continue
        with open(cmake, encoding="utf-8") as text:
            cmake_text = text.read()
        # Targets linked by name, and object libraries whose objects a target takes in.
        links = re.findall(r"target_link_libraries\(([^)]*)\)", cmake_text)
        links += re.findall(r"\$<TARGET_OBJECTS:([A-Za-z0-9_]+)>", cmake_text)
        words = set(re.findall(r"[A-Za-z0-9_]+", " ".join(links)))
        for other, targets in TARGETS.items():
            if other == folder or other in allowed:
                continue
            for target in sorted(targets & words):
                breaches.append(f"{folder}/CMakeLists.txt: links {target} of {other}/, which "
                                f"{folder}/ may not use")

    memo = {}

    def uses_windows(f, path=()):
        if f not in memo:
            memo[f] = False
            for kind, header in includes.get(f, []):
                if header in WINDOWS_HEADERS or (kind == '"' and header in includes and
                                                 header not in path and
                                                 uses_windows(header, path + (f,))):
                    memo[f] = True
        return memo[f]

    for f in sources:
        stem = os.path.splitext(os.path.basename(f))[0]
        if uses_windows(f) and not stem.endswith("_win32"):
            breaches.append(f"{f}: reaches <windows.h> but is not named *_win32")
        if stem.endswith("_win32") and not uses_windows(f):
            breaches.append(f"{f}: named *_win32 but never reaches <windows.h>")
        if f.startswith("tests/") and f.endswith(".cpp") and "test" in stem:
            if uses_windows(f) and not stem.endswith("_test_win32"):
                breaches.append(f"{f}: a Wine test is named *_test_win32.cpp")
            if not uses_windows(f) and not stem.endswith("_test"):
                breaches.append(f"{f}: a native test is named *_test.cpp")

    for breach in breaches:
        print(breach)
    print(f"layering: {len(sources)} sources, {len(breaches)} breaches")
    return 1 if breaches else 0


if __name__ == "__main__":
    sys.exit(main())
