#!/usr/bin/env python3
"""Writes a synthetic registry of COM classes for the scale benchmark.

  make_synthetic_classes.py CLASSES REG_FILE FILES_LIST

REG_FILE gets the classes in the registry editor's import format, below
HKEY_LOCAL_MACHINE\\Software\\Classes\\CLSID; FILES_LIST gets the Unix-relative paths of the
server files to create below drive_c. Like a real registry: mostly DLL servers, a few
controls and EXE servers, about four classes to a server file, one in ten files missing, and
half the EXE servers registered with arguments.
"""
import sys


def main():
    classes = int(sys.argv[1])
    reg_path, files_path = sys.argv[2], sys.argv[3]
    distinct = max(1, classes // 4)
    files = set()
    lines = ["REGEDIT4", ""]
    for i in range(classes):
        clsid = "{%08X-5EED-4C1A-9000-%012X}" % (i, i * 7919)
        key = "[HKEY_LOCAL_MACHINE\\Software\\Classes\\CLSID\\%s]" % clsid
        server = i % distinct
        missing = server % 10 == 9
        kind = i % 20  # 0: control, 1: EXE server, else DLL server
        lines += [key, '@="Synthetic class %d"' % i, ""]
        lines += [key[:-1] + "\\ProgID]", '@="Synthetic.Class%d.1"' % i, ""]
        if kind == 1:
            exe = "bench\\exe\\app%04d.exe" % (server % 500)
            if not missing:
                files.add(exe)
            arguments = " /automation" if i % 2 else ""
            lines += [key[:-1] + "\\LocalServer32]",
                      '@="C:\\\\%s%s"' % (exe.replace("\\", "\\\\"), arguments), ""]
        else:
            dll = "bench\\srv\\server%05d.%s" % (server, "ocx" if kind == 0 else "dll")
            if kind == 0:
                dll = dll[:-3] + "dll"  # controls in DLLs list under both tabs
                lines += [key[:-1] + "\\Control]", ""]
            if not missing:
                files.add(dll)
            lines += [key[:-1] + "\\InprocServer32]",
                      '@="C:\\\\%s"' % dll.replace("\\", "\\\\"),
                      '"ThreadingModel"="Apartment"', ""]
    with open(reg_path, "w", newline="\r\n") as out:
        out.write("\n".join(lines) + "\n")
    with open(files_path, "w") as out:
        for name in sorted(files):
            out.write(name.replace("\\", "/") + "\n")


if __name__ == "__main__":
    main()
