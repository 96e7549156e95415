#!/usr/bin/env python3
"""Checks the configured Info.plist of the application bundle and the signing entitlements.

usage: check-info-plist.py INFO_PLIST ENTITLEMENTS PROJECT_CMAKELISTS
"""
import plistlib
import re
import sys


def fail(message):
    print(f"check-info-plist: {message}", file=sys.stderr)
    sys.exit(1)


info_path, entitlements_path, cmakelists = sys.argv[1:4]
with open(cmakelists, encoding="utf-8") as f:
    found = re.search(r"project\(\s*Sentravex\s+VERSION\s+([0-9.]+)", f.read())
if not found:
    fail("no version in the project's CMakeLists.txt")
version = found.group(1)

with open(info_path, "rb") as f:
    info = plistlib.load(f)
expected = {
    "CFBundleIdentifier": "com.sentravex.Sentravex",
    # The version approval compares the running version with the server's: one number.
    "CFBundleShortVersionString": version,
    "CFBundleVersion": version,
    "LSMinimumSystemVersion": "13.0",
    "CFBundleExecutable": "Sentravex",
    "CFBundleIconFile": "Sentravex",
    "CFBundlePackageType": "APPL",
}
for key, value in expected.items():
    if info.get(key) != value:
        fail(f"{key} is {info.get(key)!r}, not {value!r}")
# Without a purpose string the system refuses Apple events (quit, restart) without a word.
for key in ("NSHumanReadableCopyright", "NSAppleEventsUsageDescription"):
    if not isinstance(info.get(key), str) or len(info[key]) < 10:
        fail(f"{key} is missing or empty")
left = [k for k, v in info.items() if isinstance(v, str) and "@" in v]
if left:
    fail(f"unconfigured placeholders in {left}")

with open(entitlements_path, "rb") as f:
    entitlements = plistlib.load(f)
if entitlements != {"com.apple.security.automation.apple-events": True}:
    fail(f"entitlements are {entitlements!r}")
print(f"Info.plist and entitlements good, version {version}")
