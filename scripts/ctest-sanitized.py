#!/usr/bin/env python3
# Copyright (c) 2026 The Tessra developers
# SPDX-License-Identifier: MIT
"""Runs ctest in a sanitizer build directory, passing its arguments on.

LeakSanitizer's own stop-the-world tracer now and then crashes at a
process's exit ("Tracer caught signal 11 ... LeakSanitizer has encountered a
fatal error") after every test function passed: a fault of the tool, not a
finding. A test that failed that way, and only that way, runs once more;
every other failure stands as it is.
"""
import re
import subprocess
import sys

TRACER_CRASH = "LeakSanitizer has encountered a fatal error"
FINDINGS = ("ERROR: AddressSanitizer", "ERROR: LeakSanitizer: detected", "runtime error:",
            "WARNING: ThreadSanitizer", "FAIL!", "QFATAL", "Timeout")
RESULT = re.compile(r"^\s*\d+/\d+ Test\s+#\d+: (\S+) \.+\s*(\*\*\*|Passed|Not Run)")
START = re.compile(r"^\s+Start\s+\d+: ")


def run(arguments):
    process = subprocess.Popen(["ctest"] + arguments, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True,
                               errors="replace")
    lines = []
    for line in process.stdout:
        sys.stdout.write(line)
        lines.append(line)
    return process.wait(), lines


def failures(lines):
    """Each failed test's name and the output ctest printed after it."""
    found = {}
    current = None
    for line in lines:
        result = RESULT.match(line)
        if result:
            current = result.group(1) if result.group(2) == "***" or "Failed" in line or "Exception" in line else None
            if current:
                found[current] = [line]
            continue
        if START.match(line) or line.startswith("The following tests FAILED"):
            current = None
        elif current:
            found[current].append(line)
    return found


def only_the_tracer_crashed(output):
    text = "".join(output)
    return TRACER_CRASH in text and not any(finding in text for finding in FINDINGS)


def main():
    arguments = sys.argv[1:]
    status, lines = run(arguments)
    if status == 0:
        return 0
    failed = failures(lines)
    if not failed or not all(only_the_tracer_crashed(output) for output in failed.values()):
        return status
    names = sorted(failed)
    print("LeakSanitizer's tracer crashed at the exit of %s; running %s once more"
          % (", ".join(names), "it" if len(names) == 1 else "them"), flush=True)
    again = []
    skip = False
    for argument in arguments:  # one at a time now: "-j N" and "-jN" go
        if skip:
            skip = False
        elif argument == "-j":
            skip = True
        elif not argument.startswith("-j"):
            again.append(argument)
    status, _ = run(again + ["-R", "^(%s)$" % "|".join(re.escape(name) for name in names)])
    return status


if __name__ == "__main__":
    sys.exit(main())
