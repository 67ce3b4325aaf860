#!/usr/bin/env python3
"""Checks that each shipped program carries the manifest that lets paths past
260 characters through (longPathAware), read from the built files without
running them: a manifest resource is stored as its own bytes.

usage: check_program_manifest.py PROGRAM...
"""
import sys

WANTED = b"<ws2:longPathAware>true</ws2:longPathAware>"


def main():
    failed = False
    for program in sys.argv[1:]:
        with open(program, "rb") as f:
            if WANTED not in f.read():
                print("%s: no longPathAware manifest" % program)
                failed = True
    return 1 if failed or len(sys.argv) < 2 else 0


if __name__ == "__main__":
    sys.exit(main())
