"""User preset files read and written by an independent property-list implementation.

kelvo-editor saves a preset through the PRESETS menu of the Tolvar bundle's editor; Python's
plistlib must read it as the unit's class-info state. Files plistlib writes (binary, or of
another model) are then chosen from the menu: the first is applied, the second refused.

usage: presets_plistlib_test.py KELVO_EDITOR WORK_FOLDER
"""

import pathlib
import plistlib
import shutil
import struct
import sys

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parents[3] / "testing"))
from editor_script import code, run_editor, Checks  # noqa: E402

PRODUCT_FOLDER = "Library/Audio/Presets/Kelvo Audio Lab/KelvoTolvar/User Presets"
NAMES = ["Gain", "Level", "Low EQ", "High EQ", "Low Frequency", "High Frequency", "Pad",
         "Polarity", "Input Trim", "Output Trim", "Parallel Mix", "Meter", "Bypass",
         "Analog Shimmer"]
WARM_BODY = [3, 2.8, 6, 5, 1, 1, 0, 0, 0, 0, 100, 1, 0, 0]
INVALID = ("alert Preset could not be used: This is not a valid preset for this model. "
           "Current settings were preserved.")


def f32(value):
    return struct.unpack(">f", struct.pack(">f", value))[0]


def blob(values):
    data = struct.pack(">III", 0, 0, len(values))
    for parameter, value in enumerate(values):
        data += struct.pack(">If", parameter, value)
    return data


def editor(program, home, png, *actions):
    return run_editor(program, "tolvar", home, png, *actions)


def main():
    program, work = sys.argv[1], pathlib.Path(sys.argv[2])
    shutil.rmtree(work, ignore_errors=True)
    home = work / "home"
    home.mkdir(parents=True)
    folder = home / PRODUCT_FOLDER
    checks = Checks()

    # Saved by the editor, read by plistlib.
    lines = editor(program, home, work / "save.png",
                   "--preset-menu", "Vocals/Warm Body",
                   "--preset-menu", "Save Preset\u2026", "--answer", "Warm Copy")
    checks.expect(lines[-1] == "title PRESETS \u00b7 Warm Copy  \u25be", f"title {lines[-1]!r}")
    saved = folder / "Warm Copy.aupreset"
    raw = saved.read_bytes()
    checks.expect(raw.startswith(b"<?xml"), "saved as XML")
    state = plistlib.loads(raw, fmt=plistlib.FMT_XML)
    checks.expect(state.get("name") == "Warm Copy", f"name {state.get('name')!r}")
    checks.expect(state.get("version") == 0, "version 0")
    checks.expect(state.get("type") == code("aufx"), "type aufx")
    checks.expect(state.get("subtype") == code("Tolv"), "subtype Tolv")
    checks.expect(state.get("manufacturer") == code("Kvlo"), "manufacturer Kvlo")
    data = state.get("data", b"")
    checks.expect(len(data) == 124, f"data of {len(data)} bytes")
    if len(data) == 124:
        scope, element, count = struct.unpack(">III", data[:12])
        checks.expect((scope, element, count) == (0, 0, 14), "global scope, element 0, 14 values")
        entries = [struct.unpack(">If", data[12 + 8 * k:20 + 8 * k]) for k in range(14)]
        checks.expect([p for p, _ in entries] == list(range(14)), "IDs in ascending order")
        checks.expect([v for _, v in entries] == [f32(v) for v in WARM_BODY], "Warm Body values")

    # Written by plistlib in binary form, chosen from a subfolder of the menu.
    changed = list(WARM_BODY)
    changed[0], changed[9] = 4, -6.5
    binary = dict(state, data=blob(changed), name="whatever the file says")
    (folder / "Sub").mkdir()
    (folder / "Sub" / "Binary Copy.aupreset").write_bytes(
        plistlib.dumps(binary, fmt=plistlib.FMT_BINARY))
    lines = editor(program, home, work / "binary.png", "--preset-menu", "User Presets/Sub/Binary Copy")
    checks.expect("value Gain = 4.000" in lines, "binary preset sets Gain")
    checks.expect("value Output Trim = -6.500" in lines, "binary preset sets Output Trim")
    checks.expect(lines[-1] == "title PRESETS \u00b7 Binary Copy  \u25be", f"title {lines[-1]!r}")
    checks.expect(not any(line.startswith("alert") for line in lines), "no sheet")

    # Another model's preset: refused, nothing set.
    other = dict(state, subtype=code("Opal"))
    (folder / "Other Model.aupreset").write_bytes(plistlib.dumps(other, fmt=plistlib.FMT_XML))
    lines = editor(program, home, work / "other.png", "--preset-menu", "User Presets/Other Model")
    checks.expect(lines == [INVALID, "title PRESETS \u00b7 Studio Start  \u25be"], f"refused: {lines}")

    return checks.report()


if __name__ == "__main__":
    sys.exit(main())
