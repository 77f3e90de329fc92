"""The command line every artwork script shares: write the pictures into a
folder, or (--check) tell whether the shipped pictures are exactly what the
script makes."""
import filecmp
import os
import sys
import tempfile


def run(pictures, write, shipped, script):
    """pictures: the names the script makes; write(folder) writes them;
    shipped: the folder they are shipped in; script: the script's name for messages."""
    if len(sys.argv) > 1 and sys.argv[1] == "--check":
        with tempfile.TemporaryDirectory() as made:
            write(made)
            _, mismatch, errors = filecmp.cmpfiles(made, shipped, sorted(pictures), shallow=False)
            if mismatch or errors:
                print(f"not what {script} makes:", ", ".join(mismatch + errors))
                return 1
        return 0
    write(sys.argv[1] if len(sys.argv) > 1 else shipped)
    return 0
