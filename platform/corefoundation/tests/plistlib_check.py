"""Cross-checks our property lists against Python's standard plistlib, an independent reader.

usage: plistlib_check.py <plist_tool> <work dir>

1. Files our writer produces (XML and binary) read in plistlib as exactly the expected value,
   types included (integer against real, boolean against integer).
2. Files plistlib writes (XML and binary) of many values read back through our reader as the
   same value, compared in a typed canonical form that plist_tool also prints.
3. Strings and keys holding U+0000, which only the binary format can carry, read whole.
4. Hand-written XML (character references, line ends) reads as plistlib reads it, or is refused
   by both.
5. Every value of 2 and 3, read and written again by us in binary, reads in plistlib as the same
   value; written again in XML, the same, except that XML cannot hold U+0000: there our writer
   refuses, as plistlib's does, and writes nothing.
"""

import math
import os
import plistlib
import subprocess
import sys

EXPECTED_SAMPLE = {
    "version": 0,
    "type": 0x61756678,  # 'aufx'
    "negative": -42,
    "large": 1234567890123456789,
    "real": 0.1,
    "integral real": 2.0,
    "single": 0.5,
    "name": "Vocals / Warm Body \u2212 3 dB \u00b7 \u2026 \U0001f39b <&>",
    "empty": "",
    "yes": True,
    "no": False,
    "data": bytes([0] * 11 + [1, 0, 0, 0, 7, 0x41, 0x20, 0, 0]),
    "list": ["item", "item", True],
    "element-name": {"\u00e9l\u00e9ment": "part"},
    "line ends": "a\r\nb\rc\td\n",
}


def canonical(value):
    """The typed form plist_tool prints."""
    if isinstance(value, bool):
        return "b1" if value else "b0"
    if isinstance(value, int):
        return "i%d" % value
    if isinstance(value, float):
        return "rnan" if math.isnan(value) else "r%.17g" % value
    if isinstance(value, str):
        return "s" + value.encode("utf-8").hex()
    if isinstance(value, bytes):
        return "d" + value.hex()
    if isinstance(value, list):
        return "a[" + "".join(canonical(v) + "," for v in value) + "]"
    if isinstance(value, dict):
        entries = sorted((k.encode("utf-8"), canonical(v)) for k, v in value.items())
        return "{" + "".join(k.hex() + "=" + v + ";" for k, v in entries) + "}"
    raise TypeError(type(value))


def values_for_plistlib():
    deep = "bottom"
    for _ in range(50):
        deep = [deep]
    return {
        "sample": EXPECTED_SAMPLE,
        "integers": [0, 1, 255, 256, 65535, 65536, 2**31 - 1, 2**32, 2**63 - 1, -1, -2**63],
        "reals": [0.0, -0.0, 1e308, 5e-324, 0.1, -2.5, math.inf, -math.inf, math.nan, 1e-7, 123456789.125],
        "strings": ["\u2212", "\U0001f39b\U0001f3b9", "e\u0301", "\u200b", "<&>\"'", "a" * 1000, ""],
        "many keys": {"key %04d \u00b7" % i: i for i in range(300)},
        "shared": ["same"] * 500,
        "deep": deep,
        "large data": bytes(range(256)) * 400,
        "empties": {"a": [], "d": {}, "s": "", "b": b""},
        "top-level array": [1, "two", 3.0, False, b"\x00"],
        "top-level string": "just text \u2026",
    }


# Only binary lists hold U+0000; plistlib writes ASCII and UTF-16 strings alike.
ZERO_CHARACTERS = {
    "ascii value": {"name": "a\0b"},
    "utf-16 value": {"name": "\u00dc\0x"},
    "ascii key beside the real one": {"data\0shadow": b"\x01", "data": b"\x02"},
    "key with a trailing zero": {"subtype\0": 1, "subtype": 2},
    "utf-16 key": {"\u00dcber\0x": "\0"},
}

CHARACTER_REFERENCES = ["&#0;", "&#x0;", "&#00;", "&#1;", "&#x1F;", "&#+65;", "&# 65;", "&#X41;",
                        "&#x+41;", "&#xFFFE;", "&#xFFFF;", "&#xD800;", "&#x110000;", "&#65;",
                        "&#x41;", "&#0065;", "&#9;", "&#10;", "&#13;", "&#x10FFFF;", "&#x1F39B;"]


def run(tool, *args):
    return subprocess.run([tool, *args], capture_output=True, text=True)


def main():
    tool, work = sys.argv[1], sys.argv[2]
    os.makedirs(work, exist_ok=True)
    failures = []

    # 1. Ours, read by plistlib.
    result = run(tool, "write", work)
    if result.returncode != 0:
        print("plist_tool write failed:", result.stderr)
        return 1
    for name, fmt in (("sample.xml", plistlib.FMT_XML), ("sample.bin", plistlib.FMT_BINARY)):
        with open(os.path.join(work, name), "rb") as f:
            raw = f.read()
        value = plistlib.loads(raw, fmt=fmt)
        if canonical(value) != canonical(EXPECTED_SAMPLE):
            failures.append("%s reads in plistlib as %r" % (name, value))

    # 2. plistlib's, read by us.
    for label, value in values_for_plistlib().items():
        for fmt, suffix in ((plistlib.FMT_XML, "xml"), (plistlib.FMT_BINARY, "bin")):
            path = os.path.join(work, "plistlib %s.%s" % (label, suffix))
            with open(path, "wb") as f:
                plistlib.dump(value, f, fmt=fmt)
            # The truth is what plistlib itself reads back (its binary writer, for one, merges
            # 0.0 and -0.0 into one object).
            with open(path, "rb") as f:
                truth = canonical(plistlib.load(f))
            result = run(tool, "dump", path)
            if result.returncode != 0:
                failures.append("%s: refused: %s" % (path, result.stderr.strip()))
            elif result.stdout.strip() != truth:
                failures.append("%s: read as %s" % (path, result.stdout.strip()[:200]))

    # 3. Zero characters.
    for label, value in ZERO_CHARACTERS.items():
        path = os.path.join(work, "plistlib zero %s.bin" % label)
        with open(path, "wb") as f:
            plistlib.dump(value, f, fmt=plistlib.FMT_BINARY)
        result = run(tool, "dump", path)
        if result.returncode != 0:
            failures.append("%s: refused: %s" % (path, result.stderr.strip()))
        elif result.stdout.strip() != canonical(value):
            failures.append("%s: read as %s" % (path, result.stdout.strip()[:200]))

    # 4. Character references, in a key and in a value, and raw line ends.
    documents = ["<string>a\r\nb\rc\nd&#13;</string>", "<dict><key>a\r\nb</key><true/></dict>"]
    for reference in CHARACTER_REFERENCES:
        documents.append("<dict><key>k%sk</key><string>v</string></dict>" % reference)
        documents.append("<dict><key>k</key><string>v%sv</string></dict>" % reference)
    for number, document in enumerate(documents):
        raw = ('<?xml version="1.0" encoding="UTF-8"?><plist version="1.0">%s</plist>'
               % document).encode()
        path = os.path.join(work, "hand-written %d.xml" % number)
        with open(path, "wb") as f:
            f.write(raw)
        try:
            truth = canonical(plistlib.loads(raw))
        except Exception:
            truth = None
        result = run(tool, "dump", path)
        ours = result.stdout.strip() if result.returncode == 0 else None
        if ours != truth:
            failures.append("%r: plistlib %s, ours %s"
                            % (document, truth or "refuses", ours or "refuses"))

    # 5. Ours again, from what plistlib wrote, read by plistlib.
    rewritten = [(label, value, False) for label, value in values_for_plistlib().items()]
    rewritten += [("zero " + label, value, True) for label, value in ZERO_CHARACTERS.items()]
    for label, value, zeros in rewritten:
        source = os.path.join(work, "plistlib %s.bin" % label)
        with open(source, "wb") as f:
            plistlib.dump(value, f, fmt=plistlib.FMT_BINARY)
        with open(source, "rb") as f:
            truth = canonical(plistlib.load(f))
        for fmt, suffix in ((plistlib.FMT_BINARY, "bin"), (plistlib.FMT_XML, "xml")):
            path = os.path.join(work, "ours again %s.%s" % (label, suffix))
            if os.path.exists(path):
                os.remove(path)
            result = run(tool, "rewrite", source, path, "binary" if suffix == "bin" else "xml")
            if zeros and suffix == "xml":
                if result.returncode == 0 or os.path.exists(path):
                    failures.append("%s: U+0000 written in XML" % path)
                continue
            if result.returncode != 0:
                failures.append("%s: not written: %s" % (path, result.stderr.strip()))
                continue
            with open(path, "rb") as f:
                again = canonical(plistlib.load(f, fmt=fmt))
            if again != truth:
                failures.append("%s: reads in plistlib as %s" % (path, again[:200]))

    for failure in failures:
        print("FAIL", failure)
    print("%d failure(s)" % len(failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
