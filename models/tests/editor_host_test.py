"""A further model's editor through kelvo-editor and the model's own bundle: factory presets
and user preset files in the product's folder with its subtype (read and written by Python's
plistlib as the independent implementation), another model's file refused, help mode over
METER, the guide window, and METER and INIT as the host hears them.

usage: editor_host_test.py KELVO_EDITOR MODEL WORK_FOLDER
"""

import pathlib
import plistlib
import shutil
import sys

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parents[2] / "testing"))
from editor_script import code, png_size, run_editor, Checks  # noqa: E402

# model: product, subtype, a factory preset (its menu path), parameter count
MODELS = {
    "opalin": ("KelvoOpalin", "Opal", "Vocals/Held Lead", 10),
    "mireth": ("KelvoMireth", "Mire", "Bass/Long Notes", 10),
    "vantor": ("KelvoVantor", "Vant", "Drums/Punch Bus", 12),
    "elvane": ("KelvoElvane", "Elva", "Mix Bus/Gentle Iron", 9),
    "quorin": ("KelvoQuorin", "Quor", "Color/Pad and Drive", 10),
}
INVALID = ("alert Preset could not be used: This is not a valid preset for this model. "
           "Current settings were preserved.")
ART = 0.75642965204236  # view points per art unit
METER = f"{1630 * ART},{678.5 * ART}"
INIT = f"{155.5 * ART},{40 * ART}"


def main():
    program, model, work = sys.argv[1], sys.argv[2], pathlib.Path(sys.argv[3])
    product, subtype, preset, count = MODELS[model]
    shutil.rmtree(work, ignore_errors=True)
    home = work / "home"
    home.mkdir(parents=True)
    folder = home / "Library/Audio/Presets/Kelvo Audio Lab" / product / "User Presets"
    checks = Checks()

    def editor(png, *actions):
        return run_editor(program, model, home, work / png, *actions, timeout=300)

    # A factory preset saved as a user preset: the product's folder, its subtype, N values.
    lines = editor("save.png", "--preset-menu", preset,
                   "--preset-menu", "Save Preset\u2026", "--answer", "Mine")
    checks.expect(lines[-1] == "title PRESETS \u00b7 Mine  \u25be", f"title {lines[-1]!r}")
    saved = folder / "Mine.aupreset"
    checks.expect(saved.is_file(), f"saved in {folder}")
    if not saved.is_file():
        return report(checks)
    state = plistlib.loads(saved.read_bytes(), fmt=plistlib.FMT_XML)
    checks.expect(state.get("name") == "Mine", f"name {state.get('name')!r}")
    checks.expect(state.get("subtype") == code(subtype), f"subtype {subtype}")
    checks.expect(state.get("manufacturer") == code("Kvlo"), "manufacturer Kvlo")
    data = state.get("data", b"")
    checks.expect(len(data) == 12 + 8 * count, f"data of {len(data)} bytes")

    # The saved file, written again by plistlib in binary form, chosen from the menu.
    (folder / "Binary.aupreset").write_bytes(plistlib.dumps(state, fmt=plistlib.FMT_BINARY))
    lines = editor("binary.png", "--preset-menu", "User Presets/Binary")
    checks.expect(lines[-1] == "title PRESETS \u00b7 Binary  \u25be", f"title {lines[-1]!r}")
    checks.expect(not any(line.startswith("alert") for line in lines), "no sheet")
    checks.expect(sum(line.startswith("value ") for line in lines) == count,
                  f"one value change per parameter: {lines}")

    # Another model's preset: refused, nothing set.
    other = dict(state, subtype=code("Tolv" if subtype != "Tolv" else "Opal"))
    (folder / "Other Model.aupreset").write_bytes(plistlib.dumps(other, fmt=plistlib.FMT_XML))
    lines = editor("other.png", "--preset-menu", "User Presets/Other Model")
    checks.expect(lines == [INVALID, "title PRESETS \u00b7 Studio Start  \u25be"],
                  f"refused: {lines}")

    # METER switches the Meter parameter in one edit; INIT then sends every start value and
    # keeps the title; help mode over METER and the guide window are drawn.
    lines = editor("meter.png", "--click", METER, "--click", INIT, "--help-mode",
                   "--hover", METER, "--guide")
    checks.expect(lines[:3] == ["begin Meter", lines[1], "end Meter"] and
                  lines[1].startswith("value Meter = "), f"METER: {lines[:3]}")
    init = lines[3:]
    checks.expect(len(init) == 3 * count and all(
        init[3 * k].startswith("begin ") and init[3 * k + 1].startswith("value ") and
        init[3 * k + 2].startswith("end ") for k in range(count)), f"INIT: {init}")
    guide = png_size(work / "meter-guide.png")
    checks.expect(guide is not None and guide[0] * 600 == guide[1] * 740, f"guide {guide}")
    return checks.report()


if __name__ == "__main__":
    sys.exit(main())
