#!/usr/bin/env python3
"""The dependency walker against objdump: for real DLLs of the prefix's system32, the list that
`corvane-cli deps` prints must equal the depth-first closure of the import names that objdump
reads, found with the same search order (the importer's folder, then the program's folder, the
current folder, system32, system, the Windows folder).

usage: dependency_closure_test.py WINE_RUN CORVANE_CLI OBJDUMP PREFIX DLL...
"""
import csv
import os
import subprocess
import sys


def import_names(objdump, unix_path):
    out = subprocess.run([objdump, "-p", unix_path], capture_output=True, text=True).stdout
    return [line.split("DLL Name:", 1)[1].strip() for line in out.splitlines()
            if "DLL Name:" in line]


class Prefix:
    def __init__(self, root, program_dir, cwd):
        self.drive_c = os.path.join(root, "drive_c")
        self.program_dir = program_dir
        self.cwd = cwd

    def unix(self, windows_path):
        if windows_path[:2].upper() == "Z:":
            return windows_path[2:].replace("\\", "/")
        assert windows_path[:2].upper() == "C:", windows_path
        return self.drive_c + windows_path[2:].replace("\\", "/")

    def find(self, windows_folder, name):
        """The Windows path of name in the folder, matched without regard to case."""
        folder = self.unix(windows_folder)
        try:
            for entry in os.listdir(folder):
                if entry.lower() == name.lower() and os.path.isfile(os.path.join(folder, entry)):
                    return windows_folder + "\\" + name
        except OSError:
            pass
        return None

    def search(self, importer_folder, name):
        for folder in (importer_folder, self.program_dir, self.cwd, "C:\\windows\\system32",
                       "C:\\windows\\system", "C:\\windows"):
            found = self.find(folder, name)
            if found:
                return found
        return ""


def closure(prefix, objdump, path):
    entries, known = [], set()
    stack = [[import_names(objdump, prefix.unix(path)), 0, path.rsplit("\\", 1)[0]]]
    while stack:
        level = stack[-1]
        if level[1] == len(level[0]):
            stack.pop()
            continue
        name = level[0][level[1]]
        level[1] += 1
        if name.upper() in known:
            continue
        known.add(name.upper())
        found = prefix.search(level[2], name)
        entries.append((name, found))
        if found:
            stack.append([import_names(objdump, prefix.unix(found)), 0, found.rsplit("\\", 1)[0]])
    return entries


def walker(wine_run, cli, path):
    run = subprocess.run([wine_run, cli, "deps", path], capture_output=True, text=True)
    if run.returncode != 0:
        raise SystemExit(f"corvane-cli deps {path} failed: {run.stderr}")
    entries = []
    for name, found, _how, _delay in csv.reader(run.stdout.splitlines()):
        entries.append((name, found))
    return entries


def windows_folder(unix_path):
    return "Z:" + os.path.dirname(os.path.abspath(unix_path)).replace("/", "\\")


def main():
    wine_run, cli, objdump, root = sys.argv[1:5]
    prefix = Prefix(root, windows_folder(cli), "Z:" + os.getcwd().replace("/", "\\"))
    failed = False
    for dll in sys.argv[5:]:
        path = "C:\\windows\\system32\\" + dll
        expected = closure(prefix, objdump, path)
        actual = walker(wine_run, cli, path)
        norm = lambda entries: [(n.lower(), f.lower()) for n, f in entries]
        if norm(expected) != norm(actual):
            failed = True
            print(f"FAIL {dll}: {len(actual)} entries from the walker, {len(expected)} expected")
            for i, (e, a) in enumerate(zip(norm(expected), norm(actual))):
                if e != a:
                    print(f"  first difference at {i}: expected {e}, got {a}")
                    break
        else:
            missing = sum(1 for _, f in actual if not f)
            print(f"ok {dll}: {len(actual)} DLLs, {missing} missing")
    print("1 passed, 0 failed" if not failed else "0 passed, 1 failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
