"""kelvo-editor's --guide through the Tolvar bundle: the GUIDE button opens the guide window,
written as a second image beside the faceplate's.

usage: guide_host_test.py KELVO_EDITOR WORK_FOLDER
"""

import pathlib
import shutil
import struct
import subprocess
import sys


def png_size(path):
    header = path.read_bytes()[:24]
    if header[:8] != b"\x89PNG\r\n\x1a\n" or header[12:16] != b"IHDR":
        return None
    return struct.unpack(">II", header[16:24])


def main():
    program, work = sys.argv[1], pathlib.Path(sys.argv[2])
    shutil.rmtree(work, ignore_errors=True)
    work.mkdir(parents=True)
    faceplate = work / "faceplate.png"
    result = subprocess.run([program, "tolvar", "--png", str(faceplate), "--help-mode",
                             "--hover", "200,30", "--guide", "--guide", "--ticks", "1"],
                            capture_output=True, text=True, timeout=120, check=False)
    failed = []
    if result.returncode != 0:
        failed.append(f"kelvo-editor failed ({result.returncode}): {result.stderr}")
    face, guide = png_size(faceplate), png_size(work / "faceplate-guide.png")
    if face is None or guide is None:
        failed.append(f"images: faceplate {face}, guide {guide}")
    elif guide[0] * 600 != guide[1] * 740:
        failed.append(f"the guide window is 740 by 600 points, the image {guide}")
    # --answer belongs to a --preset-menu.
    stray = subprocess.run([program, "tolvar", "--png", str(work / "x.png"), "--answer", "x"],
                           capture_output=True, text=True, timeout=60, check=False)
    if stray.returncode != 2 or "--preset-menu" not in stray.stderr:
        failed.append(f"a stray --answer: {stray.returncode} {stray.stderr!r}")
    for line in failed:
        print("FAILED:", line)
    print(f"{3 - len(failed)} passed, {len(failed)} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
