"""The rack editors through kelvo-editor and their bundles: factory and user presets with the
model's subtype and product folder (read and written by Python's plistlib), a preset of the
other rack model refused, and help mode with the user guide window.

usage: editor_host_test.py KELVO_EDITOR WORK_FOLDER
"""

import pathlib
import plistlib
import shutil
import sys

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parents[3] / "testing"))
from editor_script import code, png_size, run_editor, Checks  # noqa: E402

MODELS = {
    # model: product, subtype, a factory preset's menu path, one of its values as printed
    "corvel": ("KelvoCorvel", "Corv", "Vocals/Vocal Presence", "value Mid Frequency = 3.000"),
    "fennic": ("KelvoFennic", "Fenn", "Drums/All Buttons Room", "value Ratio = 4.000"),
}
INVALID = ("alert Preset could not be used: This is not a valid preset for this model. "
           "Current settings were preserved.")


def title(name):
    return f"title PRESETS \u00b7 {name}  \u25be"


def main():
    program, work = sys.argv[1], pathlib.Path(sys.argv[2])
    shutil.rmtree(work, ignore_errors=True)
    checks = Checks()
    saved_states = {}
    for model, (product, subtype, factory, value) in MODELS.items():
        home = work / model / "home"
        home.mkdir(parents=True)
        folder = home / "Library/Audio/Presets/Kelvo Audio Lab" / product / "User Presets"

        lines = run_editor(program, model, home, work / f"{model}-save.png",
                       "--preset-menu", factory,
                       "--preset-menu", "Save Preset\u2026", "--answer", "Mine")
        checks.expect(value in lines, f"{model}: {factory} sets {value}")
        checks.expect(lines[-1] == title("Mine"), f"{model}: title {lines[-1]!r}")
        saved = folder / "Mine.aupreset"
        checks.expect(saved.exists(), f"{model}: saved in {folder}")
        if not saved.exists():
            continue
        state = plistlib.loads(saved.read_bytes(), fmt=plistlib.FMT_XML)
        saved_states[model] = state
        checks.expect(state.get("subtype") == code(subtype), f"{model}: subtype {subtype}")
        checks.expect(state.get("name") == "Mine", f"{model}: name {state.get('name')!r}")

        lines = run_editor(program, model, home, work / f"{model}-open.png",
                       "--preset-menu", "User Presets/Mine")
        checks.expect(value in lines and lines[-1] == title("Mine"),
                      f"{model}: the saved preset opens: {lines[-3:]}")

        guide = work / f"{model}-guide.png"
        lines = run_editor(program, model, home, guide, "--help-mode", "--hover", "560,340", "--guide")
        size = png_size(work / f"{model}-guide-guide.png")
        checks.expect(size is not None and size[0] * 600 == size[1] * 740,
                      f"{model}: the guide window is 740 by 600 points, the image {size}")

    # Each rack model refuses the other's preset and keeps its settings.
    for model, other in (("corvel", "fennic"), ("fennic", "corvel")):
        if other not in saved_states:
            continue
        home = work / model / "home"
        folder = home / "Library/Audio/Presets/Kelvo Audio Lab" / MODELS[model][0] / "User Presets"
        (folder / "Foreign.aupreset").write_bytes(plistlib.dumps(saved_states[other]))
        lines = run_editor(program, model, home, work / f"{model}-foreign.png",
                       "--preset-menu", "User Presets/Foreign")
        checks.expect(lines == [INVALID, title("Studio Start")], f"{model} refuses: {lines}")

    return checks.report()


if __name__ == "__main__":
    sys.exit(main())
