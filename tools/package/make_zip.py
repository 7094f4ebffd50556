"""Packs the release zip from built programs, byte for byte the same for
the same inputs: entries in sorted order under one folder, a fixed time
(1 January 1980, the earliest a zip can hold), fixed permissions, the
programs stripped of debug information, texts with CR LF line ends.

usage: make_zip.py BUILD_DIR OUT_ZIP VERSION STRIP
"""
import os
import subprocess
import sys
import tempfile
import zipfile

HERE = os.path.dirname(os.path.abspath(__file__))
FIXED_TIME = (1980, 1, 1, 0, 0, 0)


def crlf(data):
    return data.replace(b"\r\n", b"\n").replace(b"\n", b"\r\n")


def stripped(strip, path):
    with tempfile.TemporaryDirectory() as scratch:
        copy = os.path.join(scratch, os.path.basename(path))
        subprocess.run([strip, "--strip-debug", "-o", copy, path], check=True)
        with open(copy, "rb") as f:
            image = bytearray(f.read())
    # strip writes the time of day into the PE header, and a checksum over
    # it: both set to 0, which Windows accepts for programs, keep the bytes
    # the same from one packing to the next.
    header = int.from_bytes(image[0x3C:0x40], "little")
    if image[header:header + 4] != b"PE\0\0":
        raise SystemExit(f"{path}: not a PE file")
    image[header + 8:header + 12] = bytes(4)
    image[header + 88:header + 92] = bytes(4)
    return bytes(image)


def main():
    build, out, version, strip = sys.argv[1:5]
    folder = f"Sorvane-{version}/"
    with open(os.path.join(HERE, "README.txt"), "rb") as f:
        readme = b"\xef\xbb\xbf" + crlf(f.read())  # a BOM, so that Notepad reads it as UTF-8
    with open(os.path.join(HERE, "Sorvane.ini"), "rb") as f:
        ini = crlf(f.read())
    entries = {
        "README.txt": readme,
        "Sorvane.exe": stripped(strip, os.path.join(build, "src", "Sorvane.exe")),
        "Sorvane.ini": ini,
        "sorvane-cal.exe": stripped(strip, os.path.join(build, "src", "sorvane-cal.exe")),
    }
    os.makedirs(os.path.dirname(os.path.abspath(out)), exist_ok=True)
    partial = out + ".part"
    with zipfile.ZipFile(partial, "w") as archive:
        for name in sorted(entries):
            info = zipfile.ZipInfo(folder + name, date_time=FIXED_TIME)
            info.compress_type = zipfile.ZIP_DEFLATED
            info.create_system = 3  # Unix, so that the permissions below count
            info.external_attr = (0o100755 if name.endswith(".exe") else 0o100644) << 16
            archive.writestr(info, entries[name], compresslevel=9)
    os.replace(partial, out)
    print(out)


if __name__ == "__main__":
    main()
