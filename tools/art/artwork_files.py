"""Writing and checking the SVG files an art script makes.

A script gives a function that returns {path under resources/: SVG text}.
`run` writes them into resources/ (or a folder named on the command line),
or with --check compares them with the shipped files and returns 1 when any
differs or is missing.
"""
import filecmp
import os
import sys
import tempfile

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")


def write(files, folder):
    for name, content in files.items():
        path = os.path.join(folder, name)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "w", encoding="utf-8", newline="\n") as f:
            f.write(content)


def run(artwork, shipped_folder_text):
    """artwork: a function giving the files; shipped_folder_text: how the
    check names the folder it compared ("resources/", "resources/skins/")."""
    files = artwork()
    if len(sys.argv) > 1 and sys.argv[1] == "--check":
        resources = os.path.join(ROOT, "resources")
        with tempfile.TemporaryDirectory() as fresh:
            write(files, fresh)
            bad = [name for name in files
                   if not os.path.exists(os.path.join(resources, name))
                   or not filecmp.cmp(os.path.join(fresh, name), os.path.join(resources, name), shallow=False)]
        for name in bad:
            print(f"differs from the script's output: resources/{name}")
        if not bad:
            print(f"{shipped_folder_text} holds exactly what the script makes")
        return 1 if bad else 0
    write(files, sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "resources"))
    return 0
