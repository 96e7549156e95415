#!/usr/bin/env python3
"""Writes a synthetic cache tree: nested folders, many tiny files, some links and one folder
nobody may read. Usage: make-cache-tree.py FOLDER ENTRIES"""
import os
import sys

folder, wanted = sys.argv[1], int(sys.argv[2])
os.makedirs(folder, exist_ok=True)
made = 0
payload = b"cache entry\n"


def entry():
    global made
    made += 1
    return made <= wanted


app = 0
while made < wanted:
    app += 1
    top = os.path.join(folder, f"com.example.app{app}")
    os.mkdir(top)
    entry()
    for level in range(10):
        sub = os.path.join(top, *[f"d{i}" for i in range(level + 1)])
        os.mkdir(sub)
        if not entry():
            break
        for n in range(98):
            if not entry():
                break
            path = os.path.join(sub, f"f{n}" if n % 10 else f".hidden{n}")
            fd = os.open(path, os.O_WRONLY | os.O_CREAT, 0o644)
            os.write(fd, payload * (1 + n % 3))
            os.close(fd)
        if level == 3 and entry():
            os.symlink("/", os.path.join(sub, "to-root"))
        if level == 5 and entry():
            os.symlink(top, os.path.join(sub, "loop"))
    if app % 50 == 1 and entry():
        locked = os.path.join(top, "locked")
        os.mkdir(locked)
        with open(os.path.join(locked, "secret"), "w") as f:
            f.write("x")
        os.chmod(locked, 0)
print(made if made < wanted else wanted)
