#!/usr/bin/env python3
"""zq-parse end to end: every sample store's listing, the --default/--current
files, and input that is not UTF-8 all give a well-formed snapshot."""
import json
import os
import pathlib
import subprocess
import sys
import tempfile

build, stores = sys.argv[1], sys.argv[2]
sim, parse = os.path.join(build, "zq-bcdedit-sim"), os.path.join(build, "zq-parse")
FIELDS = {"identifier", "description", "device", "osDevice", "path", "bootMenuPolicy", "isWinPe", "isWindows",
          "isDefault", "isCurrent", "isBootSequence", "inDisplayOrder", "displayOrderIndex", "options"}
failures = []


def check(condition, what):
    if not condition:
        failures.append(what)


def run_parse(args, stdin=b""):
    done = subprocess.run([parse] + args, input=stdin, capture_output=True, timeout=60)
    check(done.returncode == 0, f"zq-parse {args} exited {done.returncode}: {done.stderr!r}")
    return json.loads(done.stdout.decode("utf-8"))


def listing(name, *args):
    return subprocess.run([sim, os.path.join(stores, name)] + list(args or ("/enum", "all", "/v")), capture_output=True,
                          check=True, timeout=60).stdout


for name, count in {"uefi-win11.txt": 4, "bios-legacy.txt": 2, "hidden-entries.txt": 4, "repair-modes.txt": 4,
                    "empty.txt": 0}.items():
    snapshot = run_parse(["-"], listing(name))
    check(snapshot["loaded"] is True and len(snapshot["entries"]) == count, f"{name}: {len(snapshot['entries'])} entries")
    for entry in snapshot["entries"]:
        check(set(entry) == FIELDS, f"{name}: entry fields {sorted(entry)}")
        check(entry["inDisplayOrder"] == (entry["displayOrderIndex"] > 0), f"{name}: order flags disagree")
    if name == "repair-modes.txt":  # left half-way through a repair: safe mode with networking and test signing on
        options = snapshot["entries"][0]["options"]
        check(options["safeBoot"] == "Network" and options["testSigning"] and not options["bootLog"], f"options {options}")

with tempfile.TemporaryDirectory() as folder:
    files = {alias: os.path.join(folder, alias.strip("{}") + ".txt") for alias in ("all", "{default}", "{bootmgr}")}
    for alias, path in files.items():
        pathlib.Path(path).write_bytes(listing("uefi-win11.txt", "/enum", alias, "/v"))
    # {current} answered with the boot manager's listing: the first GUID there is the manager's own.
    snapshot = run_parse([files["all"], "--default", files["{default}"], "--current", files["{bootmgr}"]])
    check(snapshot["currentId"] == "{9dea862c-5cdd-4e70-acc1-f32b344d4795}", f"currentId {snapshot['currentId']}")
    check(snapshot["defaultId"] == snapshot["entries"][0]["identifier"] and snapshot["entries"][0]["isDefault"],
          "the default is not the first entry, marked")

    noise = bytes(range(256)) * 64 + b"\xff\xfe{\xc3\r\n-----\r\n\xe1\xbb"
    check(run_parse(["-"], noise)["entries"] == [], "noise produced entries")
    quoted = listing("uefi-win11.txt").replace(b"Windows 11", b'Win "11" \\ \x01 \xe1\xba\xa1')
    check(run_parse(["-"], quoted)["entries"][0]["description"] == 'Win "11" \\ \x01 \u1ea1', "escaping lost characters")

    missing = subprocess.run([parse, os.path.join(folder, "nope")], capture_output=True, timeout=60)
    check(missing.returncode == 1 and missing.stdout == b"", "a missing file must fail without output")

for failure in failures:
    print("FAIL:", failure)
print(f"zq-parse checks: {'failed' if failures else 'passed'}")
sys.exit(1 if failures else 0)
