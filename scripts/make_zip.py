#!/usr/bin/env python3
"""Zips the files of a folder the same way every time: entries sorted by name, each dated
SOURCE_DATE_EPOCH, with fixed attributes, so that two runs over the same files give the same
bytes.

    make_zip.py OUT.zip FOLDER
"""
import os
import sys
import time
import zipfile


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: make_zip.py OUT.zip FOLDER")
    out, folder = sys.argv[1], sys.argv[2]
    # Zip times have two-second steps and start in 1980.
    epoch = max(int(os.environ.get("SOURCE_DATE_EPOCH", "315532800")), 315532800)
    stamp = time.gmtime(epoch - epoch % 2)[:6]
    names = sorted(
        os.path.relpath(os.path.join(top, name), folder).replace(os.sep, "/")
        for top, _, files in os.walk(folder) for name in files)
    if not names:
        sys.exit("make_zip: %s holds no files" % folder)
    partial = out + ".part"
    with zipfile.ZipFile(partial, "w") as archive:
        for name in names:
            entry = zipfile.ZipInfo(name, stamp)
            entry.create_system = 0  # MS-DOS: no host-dependent attributes
            entry.external_attr = 0x20  # FILE_ATTRIBUTE_ARCHIVE
            entry.compress_type = zipfile.ZIP_DEFLATED
            with open(os.path.join(folder, name), "rb") as source:
                archive.writestr(entry, source.read(), compresslevel=9)
    os.replace(partial, out)


if __name__ == "__main__":
    main()
