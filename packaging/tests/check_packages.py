#!/usr/bin/env python3
"""Host-side checks of the release packages, run by ctest of the Windows build.

  check_packages.py zip ZIP SOURCE_DIR VERSION
      the portable ZIP: exactly the shipped files, the Japanese name stored in UTF-8 with the
      UTF-8 name flag (general purpose bit 11) in both the central directory and the local header,
      contents equal to what the build made, trellane.exe's version resource = VERSION
  check_packages.py exclusion-list FILE
      the shipped exclusion list: ANSI text (plain ASCII here), CR LF line ends, one class name a line
  check_packages.py versions README VERSION ZIP SETUP
      the package names carry VERSION, the README names them by pattern and never by another
      version, the installer's version resource = VERSION
  check_packages.py manual README_TXT
      the Japanese manual: UTF-8 with a byte-order mark (so that every Notepad reads it), CR LF line
      ends, at most MANUAL_MAX_LINES lines, and every section a user is sent to, in order
"""
import re
import struct
import sys
import zipfile
from pathlib import Path

JAPANESE_LIST = "tools/除外リスト.txt"
SHIPPED = ["trellane.exe", "tools/Vellum.dll", JAPANESE_LIST, "ReadMe.txt"]
UTF8_NAME_FLAG = 1 << 11
# A manual that a user reads through in a few minutes; past this it has grown repetitive again.
MANUAL_MAX_LINES = 420
# The manual's sections by their headings (without their numbers), in their order: the panel's
# help button, the tray notice and the messages send users to them.
MANUAL_SECTIONS = ["概要", "まず使ってみる", "インストールとアンインストール", "使い方", "設定",
                   "除外リスト", "注意事項", "何も起きないとき", "更新履歴", "設定ファイル",
                   "ライセンス条文"]

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)
    return condition


def central_directory(data):
    """The entries of the central directory, read from the bytes: (name bytes, flags, local offset)."""
    eocd = data.rfind(b"PK\x05\x06")
    if eocd < 0:
        raise ValueError("no end-of-central-directory record")
    count, size, offset = struct.unpack_from("<HII", data, eocd + 10)
    entries = []
    position = offset
    for _ in range(count):
        if data[position:position + 4] != b"PK\x01\x02":
            raise ValueError(f"bad central directory header at {position}")
        flags, = struct.unpack_from("<H", data, position + 8)
        name_length, extra_length, comment_length = struct.unpack_from("<HHH", data, position + 28)
        local_offset, = struct.unpack_from("<I", data, position + 42)
        name = data[position + 46:position + 46 + name_length]
        entries.append((name, flags, local_offset))
        position += 46 + name_length + extra_length + comment_length
    if position != offset + size:
        raise ValueError("central directory size does not add up")
    return entries


def local_header(data, offset):
    if data[offset:offset + 4] != b"PK\x03\x04":
        raise ValueError(f"bad local header at {offset}")
    flags, = struct.unpack_from("<H", data, offset + 6)
    name_length, = struct.unpack_from("<H", data, offset + 26)
    return data[offset + 30:offset + 30 + name_length], flags


def fixed_version(pe_bytes):
    """The file version of a Windows executable's VS_FIXEDFILEINFO, as (a, b, c, d), or None."""
    at = pe_bytes.find(struct.pack("<I", 0xFEEF04BD))
    if at < 0:
        return None
    ms, ls = struct.unpack_from("<II", pe_bytes, at + 8)
    return (ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF)


def version_quad(version):
    parts = [int(p) for p in version.split(".")]
    return tuple((parts + [0, 0, 0, 0])[:4])


def check_zip(zip_path, source_dir, version):
    data = Path(zip_path).read_bytes()
    entries = central_directory(data)
    files = []
    for raw_name, flags, offset in entries:
        is_ascii = all(b < 0x80 for b in raw_name)
        try:
            name = raw_name.decode("utf-8")
        except UnicodeDecodeError:
            check(False, f"entry name {raw_name!r} is not UTF-8")
            continue
        if not is_ascii:
            check(flags & UTF8_NAME_FLAG, f"{name}: UTF-8 name flag (bit 11) not set in the central directory")
            local_name, local_flags = local_header(data, offset)
            check(local_name == raw_name, f"{name}: local header names {local_name!r}")
            check(local_flags & UTF8_NAME_FLAG, f"{name}: UTF-8 name flag (bit 11) not set in the local header")
        check("\\" not in name and not name.startswith("/"), f"{name}: not a relative path with forward slashes")
        if name.endswith("/"):
            check(name == "tools/", f"unexpected folder entry {name}")
        else:
            files.append(name)
    check(sorted(files) == sorted(SHIPPED), f"files {sorted(files)} instead of {sorted(SHIPPED)}")
    check(JAPANESE_LIST.encode("utf-8") in [e[0] for e in entries],
          f"{JAPANESE_LIST} is not stored under its UTF-8 name")

    with zipfile.ZipFile(zip_path) as archive:
        check(archive.testzip() is None, "a member fails its CRC check")
        names = set(archive.namelist())
        source = Path(source_dir)
        if JAPANESE_LIST in names:
            check(archive.read(JAPANESE_LIST) == (source / "packaging" / "exclusion-list.txt").read_bytes(),
                  "the exclusion list in the ZIP differs from packaging/exclusion-list.txt")
        if "ReadMe.txt" in names:
            check(archive.read("ReadMe.txt") == (source / "app" / "ReadMe.txt").read_bytes(),
                  "ReadMe.txt in the ZIP differs from app/ReadMe.txt")
        if "trellane.exe" in names:
            exe = archive.read("trellane.exe")
            check(exe[:2] == b"MZ", "trellane.exe is not a Windows executable")
            check(fixed_version(exe) == version_quad(version),
                  f"trellane.exe's version resource is {fixed_version(exe)}, the project's version {version}")
        for binary in ["tools/Vellum.dll"]:
            if binary in names:
                check(archive.read(binary)[:2] == b"MZ", f"{binary} is not a Windows program or library")


def check_exclusion_list(path):
    data = Path(path).read_bytes()
    check(not data.startswith(b"\xef\xbb\xbf"), "the exclusion list starts with a byte-order mark")
    check(b"\0" not in data, "the exclusion list holds a NUL byte (it would end the list there)")
    check(all(b < 0x80 for b in data), "the exclusion list is not plain ASCII (the same in every ANSI code page)")
    check(data.endswith(b"\r\n"), "the exclusion list's last line has no CR LF")
    check(data.count(b"\n") == data.count(b"\r\n") and data.count(b"\r") == data.count(b"\r\n"),
          "the exclusion list has line ends other than CR LF")
    lines = data.split(b"\r\n")[:-1]
    for line in lines:
        check(line != b"", "the exclusion list has an empty line")
        check(line == line.strip(), f"the entry {line!r} has leading or trailing blanks, which would take part in the match")
        check(re.fullmatch(rb"[A-Za-z0-9_.#:-]+", line) is not None, f"the entry {line!r} does not look like a window class name")
    lowered = [line.lower() for line in lines]
    check(len(set(lowered)) == len(lowered), "the exclusion list repeats an entry")
    for needed in (b"Shell_TrayWnd", b"Progman", b"WorkerW"):
        check(needed in lines, f"the exclusion list lacks {needed.decode()}")


def check_versions(readme, version, zip_path, setup_path):
    check(Path(zip_path).name in (f"Trellane-{version}-win32.zip", f"Trellane-{version}-win64.zip"),
          f"{zip_path} does not carry the version {version}")
    check(Path(setup_path).name == f"Trellane-{version}-setup.exe", f"{setup_path} does not carry the version {version}")
    text = Path(readme).read_text(encoding="utf-8")
    for edition in ("win32", "win64"):
        check(f"Trellane-<version>-{edition}.zip" in text,
              f"README does not name the ZIP as Trellane-<version>-{edition}.zip")
    check("Trellane-<version>-setup.exe" in text, "README does not name the installer as Trellane-<version>-setup.exe")
    for named in re.findall(r"Trellane-(\d+(?:\.\d+)*)-(?:win32\.zip|win64\.zip|setup\.exe)", text):
        check(named == version, f"README names a package of version {named}, the project is at {version}")
    setup = Path(setup_path).read_bytes()
    check(setup[:2] == b"MZ", "the installer is not a Windows executable")
    check(fixed_version(setup) == version_quad(version),
          f"the installer's version resource is {fixed_version(setup)}, the project's version {version}")


def manual_headings(lines):
    """The section titles of the manual: the line after each rule of dashes, without its number and
    without a closing remark in brackets (付録 A. 設定ファイル（trellane.ini） is 設定ファイル)."""
    headings = []
    for rule, title in zip(lines, lines[1:]):
        if len(rule) >= 20 and set(rule) == {"-"}:
            title = re.sub(r"^(?:\d+|付録 [A-Z])\.\s*", "", title)
            headings.append(re.sub(r"（[^（）]*）$", "", title).strip())
    return headings


def check_manual(path):
    data = Path(path).read_bytes()
    check(data.startswith(b"\xef\xbb\xbf"), "the manual has no UTF-8 byte-order mark")
    try:
        text = data.decode("utf-8-sig")
    except UnicodeDecodeError as error:
        check(False, f"the manual is not UTF-8: {error}")
        return
    check(text.count("\n") == text.count("\r\n") and text.count("\r") == text.count("\r\n"),
          "the manual has line ends other than CR LF")
    lines = text.split("\r\n")
    if lines and lines[-1] == "":
        lines.pop()
    check(len(lines) <= MANUAL_MAX_LINES, f"the manual has {len(lines)} lines, more than {MANUAL_MAX_LINES}")
    headings = manual_headings(lines)
    found = [title for title in headings if title in MANUAL_SECTIONS]
    for section in MANUAL_SECTIONS:
        check(section in headings, f"the manual has no section headed {section}")
    check(found == [s for s in MANUAL_SECTIONS if s in found],
          f"the manual's sections are in the order {found}, not {MANUAL_SECTIONS}")


def main(argv):
    command = argv[1] if len(argv) > 1 else ""
    if command == "zip" and len(argv) == 5:
        check_zip(argv[2], argv[3], argv[4])
    elif command == "exclusion-list" and len(argv) == 3:
        check_exclusion_list(argv[2])
    elif command == "versions" and len(argv) == 6:
        check_versions(argv[2], argv[3], argv[4], argv[5])
    elif command == "manual" and len(argv) == 3:
        check_manual(argv[2])
    else:
        print(__doc__, file=sys.stderr)
        return 2
    for failure in failures:
        print("FAIL:", failure)
    if failures:
        return 1
    print(f"{command}: all checks passed")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
