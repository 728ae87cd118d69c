"""What the Python tests that drive kelvo-editor share: running it, tallying checks, reading a
PNG's size and a four-character code.

A test script finds this module through its own path:

    sys.path.insert(0, str(pathlib.Path(__file__).resolve().parents[N] / "testing"))
"""

import struct
import subprocess


def code(text):
    return struct.unpack(">I", text.encode("ascii"))[0]


def png_size(path):
    header = path.read_bytes()[:24]
    if header[:8] != b"\x89PNG\r\n\x1a\n" or header[12:16] != b"IHDR":
        return None
    return struct.unpack(">II", header[16:24])


def run_editor(program, model, home, png, *actions, timeout=120):
    """kelvo-editor MODEL --png PNG --home HOME ACTIONS...: its output lines; exits the script
    when the editor fails."""
    result = subprocess.run([program, model, "--png", str(png), "--home", str(home), *actions],
                            capture_output=True, text=True, timeout=timeout, check=False)
    if result.returncode != 0:
        raise SystemExit(f"kelvo-editor {model} failed ({result.returncode}): {result.stderr}")
    return result.stdout.splitlines()


class Checks:
    def __init__(self):
        self.passed = 0
        self.failed = 0

    def expect(self, condition, what):
        if condition:
            self.passed += 1
        else:
            self.failed += 1
            print("FAILED:", what)

    def report(self):
        """Prints the tally; the script's exit status."""
        print(f"{self.passed} passed, {self.failed} failed")
        return 1 if self.failed else 0
