#!/usr/bin/env python3
"""Runs scripts/package-macos --dry-run with and without a Developer ID and notarization
credentials, and checks the commands it would run and what it says, in order.

usage: check-package-dry-run.py PACKAGE_SCRIPT PROJECT_CMAKELISTS
"""
import os
import re
import subprocess
import sys

script, cmakelists = sys.argv[1:3]
with open(cmakelists, encoding="utf-8") as f:
    version = re.search(r"project\(\s*Sentravex\s+VERSION\s+([0-9.]+)", f.read()).group(1)
dmg = f"build/Sentravex-{version}.dmg"
failures = []


def dry_run(identity, **credentials):
    env = {k: v for k, v in os.environ.items() if not k.startswith("SENTRAVEX_")}
    env.update(credentials)
    args = [script, "--dry-run"] + ([identity] if identity else [])
    done = subprocess.run(args, env=env, capture_output=True, text=True, check=False)
    if done.returncode != 0:
        failures.append(f"{args}: exit {done.returncode}: {done.stderr}")
    return done.stdout.splitlines()


def expect_in_order(what, lines, expected, absent=()):
    at = 0
    for part in expected:
        found = next((i for i in range(at, len(lines)) if part in lines[i]), None)
        if found is None:
            failures.append(f"{what}: no line with {part!r} after line {at}:\n" + "\n".join(lines))
            return
        at = found + 1
    for part in absent:
        if any(part in line for line in lines):
            failures.append(f"{what}: a line with {part!r}:\n" + "\n".join(lines))


DEV_ID = "Developer ID Application: Sentravex Test (TEAM123456)"
SIGNING = ["macdeployqt", "codesign --force --options runtime --sign", "--entitlements",
           "codesign --verify", "hdiutil create"]

expect_in_order("ad hoc", dry_run(None, SENTRAVEX_NOTARY_PROFILE="notary"),
                SIGNING + ["Signed ad hoc, not notarized", ".dmg"],
                absent=["notarytool", "stapler", "--timestamp"])
expect_in_order("a Developer ID without credentials", dry_run(DEV_ID),
                SIGNING + [f"codesign --force --timestamp --sign {DEV_ID} build/Sentravex-",
                           "not notarized", ".dmg"],
                absent=["notarytool", "stapler"])
expect_in_order("a keychain profile", dry_run(DEV_ID, SENTRAVEX_NOTARY_PROFILE="notary"),
                SIGNING + ["codesign --force --timestamp --sign",
                           f"xcrun notarytool submit {dmg} --keychain-profile notary --wait",
                           f"xcrun stapler staple {dmg}",
                           "xcrun stapler validate", "notarized and stapled"])
with_apple_id = dry_run(DEV_ID, SENTRAVEX_APPLE_ID="dev@example.org",
                        SENTRAVEX_TEAM_ID="TEAM123456", SENTRAVEX_APP_PASSWORD="abcd-efgh")
expect_in_order("an Apple ID", with_apple_id,
                SIGNING + [f"xcrun notarytool submit {dmg} --apple-id dev@example.org "
                           "--team-id TEAM123456 --password **** --wait",
                           "stapler staple"],
                absent=["abcd-efgh"])
expect_in_order("an Apple ID without its password", dry_run(
    DEV_ID, SENTRAVEX_APPLE_ID="dev@example.org", SENTRAVEX_TEAM_ID="TEAM123456"),
    SIGNING + ["not notarized"], absent=["notarytool"])

if failures:
    print("\n\n".join(failures), file=sys.stderr)
    sys.exit(1)
