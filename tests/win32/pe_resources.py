#!/usr/bin/env python3
"""Reads the resources of a Windows program file (its .rsrc section), and,
run as a script, checks ravolin.exe's: the icon in the sizes Explorer, the
taskbar and the title bar use, the version Explorer shows, and the manifest
(common controls 6, the supported systems, the DPI setting, no elevation)."""

import argparse
import struct
import sys
import xml.etree.ElementTree as ET

RT_ICON, RT_GROUP_ICON, RT_VERSION, RT_MANIFEST = 3, 14, 16, 24


def resources(path):
    """{(type, name): bytes} of the first language of every resource."""
    data = open(path, "rb").read()
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    if data[pe:pe + 4] != b"PE\0\0":
        raise ValueError(path + " is no PE file")
    sections, optional_size = struct.unpack_from("<H12xH", data, pe + 6)
    optional = pe + 24
    magic = struct.unpack_from("<H", data, optional)[0]
    directories = optional + (96 if magic == 0x10B else 112)
    rsrc_rva, _ = struct.unpack_from("<II", data, directories + 2 * 8)
    table = optional + optional_size
    for i in range(sections):
        _, _, vaddr, raw_size, raw_ptr = struct.unpack_from("<8sIIII", data, table + 40 * i)
        if vaddr <= rsrc_rva < vaddr + raw_size:
            base, delta = raw_ptr + rsrc_rva - vaddr, vaddr - raw_ptr
            break
    else:
        return {}

    def entries(offset):
        named, numbered = struct.unpack_from("<12xHH", data, base + offset)
        for i in range(named + numbered):
            name, target = struct.unpack_from("<II", data, base + offset + 16 + 8 * i)
            yield name, target

    found = {}
    for rtype, type_dir in entries(0):
        for name, name_dir in entries(type_dir & 0x7FFFFFFF):
            _, leaf = next(entries(name_dir & 0x7FFFFFFF))
            rva, size = struct.unpack_from("<II", data, base + leaf)
            found[(rtype, name)] = data[rva - delta:rva - delta + size]
    return found


def manifest(found):
    blob = next((v for (t, _), v in found.items() if t == RT_MANIFEST), None)
    return ET.fromstring(blob.decode("utf-8-sig")) if blob else None


def execution_level(root):
    for element in root.iter():
        if element.tag.endswith("requestedExecutionLevel"):
            return element.get("level")
    return None


def version_strings(blob):
    """The StringFileInfo values: key and value, both UTF-16 and 0-ended."""
    text = blob.decode("utf-16-le", errors="replace")
    values = {}
    for key in ("CompanyName", "FileDescription", "FileVersion", "ProductName", "ProductVersion",
                "OriginalFilename"):
        at = text.find(key + "\0")
        if at >= 0:
            rest = text[at + len(key) + 1:].lstrip("\0")
            values[key] = rest[:rest.find("\0")]
    return values


def check_program(path):
    found = resources(path)
    problems = []
    groups = [v for (t, _), v in found.items() if t == RT_GROUP_ICON]
    if len(groups) != 1:
        problems.append("%d icon groups instead of 1" % len(groups))
    else:
        count = struct.unpack_from("<H", groups[0], 4)[0]
        sizes = sorted(groups[0][6 + 14 * i] or 256 for i in range(count))
        icons = sum(1 for (t, _) in found if t == RT_ICON)
        if not {16, 32, 48, 256} <= set(sizes) or icons != count:
            problems.append("icon sizes %s in %d images" % (sizes, icons))

    version = found.get((RT_VERSION, 1))
    if version is None:
        problems.append("no version resource")
    else:
        fixed = version.find(struct.pack("<I", 0xFEEF04BD))
        file_ms, _, product_ms, _ = struct.unpack_from("<IIII", version, fixed + 8)
        strings = version_strings(version)
        expected = {"ProductName": "Ravolin", "FileVersion": "3.0", "ProductVersion": "3.0",
                    "OriginalFilename": "ravolin.exe"}
        if any(strings.get(k) != v for k, v in expected.items()) or not strings.get("FileDescription"):
            problems.append("version strings %r" % strings)
        if file_ms != 3 << 16 or product_ms != 3 << 16:
            problems.append("fixed version %#x, %#x" % (file_ms, product_ms))

    root = manifest(found)
    if root is None:
        problems.append("no manifest")
    else:
        text = ET.tostring(root, encoding="unicode")
        controls = [e for e in root.iter() if e.get("name") == "Microsoft.Windows.Common-Controls"]
        if not controls or controls[0].get("version") != "6.0.0.0":
            problems.append("no dependency on common controls 6")
        systems = {e.get("Id") for e in root.iter() if e.tag.endswith("supportedOS")}
        if "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}" not in systems or len(systems) < 4:
            problems.append("supported systems %s" % sorted(systems))
        dpi = [e.text for e in root.iter() if e.tag.endswith("}dpiAware")]
        gdi = [e.text for e in root.iter() if e.tag.endswith("}gdiScaling")]
        if dpi != ["false"] or gdi != ["true"]:
            problems.append("DPI setting %s, GDI scaling %s in %s" % (dpi, gdi, text))
        if execution_level(root) != "asInvoker":
            problems.append("execution level %s" % execution_level(root))
    return problems


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("program")
    problems = check_program(parser.parse_args().program)
    for problem in problems:
        print("ProgramResources: " + problem)
    if not problems:
        print("ProgramResources: icon, version and manifest as expected")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
