#!/usr/bin/env python3
"""Checks that the code under src/ keeps the layers of docs/architecture.md.

Usage: check-layers.py [SRC_DIR]   (default: src beside this script's folder)

Every file of src/ has a layer, from the bottom: 1 Common, 2 Platform, 3 Rules,
4 Browsing state, 5 Features, 6 Shell, 7 the program (src/main.cpp). A file is pure when
its folder's CMakeLists.txt hands it to pavix_pure_sources(): a pure file of pavix_common
is Common, one of pavix_logic is Rules. Any other file takes its folder's layer below.

Reads every #include of src/ that names a file of src/ (resolved as the compiler does:
beside the including file first, then from src/) and fails, naming file and line, when
  - a file includes a file of a higher layer;
  - a pure file includes a file that is not pure (the build's pure include root stops
    this for "folder/file.h", not for a path relative to the including file);
  - a file of a feature folder includes a file of another feature folder, pure or not;
  - the folders include each other in a cycle (possible within one layer);
  - a file lies in a folder that has no layer, or is not pure in a folder that holds only
    pure code.
"""
import os
import re
import sys

COMMON, PLATFORM, RULES, BROWSER, FEATURES, SHELL, PROGRAM = range(1, 8)
LAYER_NAMES = {COMMON: "Common", PLATFORM: "Platform", RULES: "Rules", BROWSER: "Browsing state",
               FEATURES: "Features", SHELL: "Shell", PROGRAM: "Program"}
# The layer of the files of each folder that are not pure; None for a folder of pure code
# only. "" is src/ itself.
FOLDER_LAYERS = {
    "common": None, "thumbcache": None, "catalogue": None,
    "platform": PLATFORM,
    "browser": BROWSER,
    "foldertree": FEATURES, "listview": FEATURES, "thumbs": FEATURES, "preview": FEATURES,
    "toolbox": FEATURES, "options": FEATURES, "about": FEATURES, "wallpaper": FEATURES,
    "shell": SHELL,
    "": PROGRAM,
}
FEATURE_FOLDERS = {folder for folder, layer in FOLDER_LAYERS.items() if layer == FEATURES}
PURE_LAYERS = {"pavix_common": COMMON, "pavix_logic": RULES}
SOURCE_ENDINGS = (".h", ".hpp", ".cpp", ".cc")

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')
PURE_SOURCES = re.compile(r"pavix_pure_sources\s*\(\s*(\w+)([^)]*)\)")


def pure_files(root):
    """Maps the path (relative to root) of each pure file to its library."""
    pure = {}
    for dirpath, _, files in os.walk(root):
        if "CMakeLists.txt" not in files:
            continue
        with open(os.path.join(dirpath, "CMakeLists.txt"), encoding="utf-8") as f:
            text = re.sub(r"#[^\n]*", "", f.read())
        folder = os.path.relpath(dirpath, root)
        for library, names in PURE_SOURCES.findall(text):
            for name in names.split():
                pure[os.path.normpath(os.path.join(folder, name))] = library
    return pure


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "src")
    root = os.path.realpath(root)
    pure = pure_files(root)
    problems = []

    def folder_of(path):
        parts = path.split(os.sep)
        return parts[0] if len(parts) > 1 else ""

    def layer_of(path):
        """The file's layer, or None after reporting why it has none."""
        if path in pure:
            return PURE_LAYERS[pure[path]]
        folder = folder_of(path)
        if folder not in FOLDER_LAYERS:
            problems.append(f"{path}: the folder {folder}/ has no layer (docs/architecture.md, scripts/check-layers.py)")
            return None
        if FOLDER_LAYERS[folder] is None:
            problems.append(f"{path}: {folder}/ holds pure code only; list the file in pavix_pure_sources()")
            return None
        return FOLDER_LAYERS[folder]

    sources = []
    for dirpath, _, files in os.walk(root):
        for name in sorted(files):
            if name.endswith(SOURCE_ENDINGS):
                sources.append(os.path.relpath(os.path.join(dirpath, name), root))
    layers = {path: layer_of(path) for path in sorted(sources)}

    edges = {}
    checked = 0
    for path in sorted(sources):
        with open(os.path.join(root, path), encoding="utf-8", errors="replace") as f:
            lines = f.readlines()
        for number, line in enumerate(lines, 1):
            match = INCLUDE.match(line)
            if not match:
                continue
            quote, name = match.groups()
            candidates = [os.path.join(root, name)]
            if quote == '"':
                candidates.insert(0, os.path.join(root, os.path.dirname(path), name))
            target = next((os.path.realpath(c) for c in candidates if os.path.isfile(c)), None)
            if target is None or not target.startswith(root + os.sep):
                continue  # a system, Qt or generated header
            included = os.path.relpath(target, root)
            if included == path:
                continue
            checked += 1
            where = f"{path}:{number}: includes {included}"
            mine, theirs = layers[path], layers.get(included)
            if mine is None or theirs is None:
                continue
            if theirs > mine:
                problems.append(f"{where}: {LAYER_NAMES[mine]} (layer {mine}) may not include "
                                f"{LAYER_NAMES[theirs]} (layer {theirs})")
            elif path in pure and included not in pure:
                problems.append(f"{where}: a pure file may include only pure files")
            source_folder, target_folder = folder_of(path), folder_of(included)
            if source_folder != target_folder:
                edges.setdefault(source_folder, set()).add(target_folder)
                if source_folder in FEATURE_FOLDERS and target_folder in FEATURE_FOLDERS:
                    problems.append(f"{where}: a feature may not include another feature "
                                    f"({source_folder}/ -> {target_folder}/)")

    # Folders that reach one another through their includes form a cycle; each cycle is
    # named once, with all its folders.
    def reachable(start):
        seen, todo = set(), [start]
        while todo:
            for nxt in edges.get(todo.pop(), ()):
                if nxt not in seen:
                    seen.add(nxt)
                    todo.append(nxt)
        return seen

    reach = {folder: reachable(folder) for folder in edges}
    named = set()
    for folder in sorted(edges):
        if folder in reach[folder] and folder not in named:
            cycle = sorted(other for other in reach[folder] if folder in reach.get(other, ()))
            named.update(cycle)
            problems.append("a cycle between the folders " + ", ".join(f"{c or 'src'}/" for c in cycle))

    if problems:
        print(f"layers: {len(problems)} problem(s) in {root}:")
        for problem in problems:
            print("  " + problem)
        sys.exit(1)
    print(f"layers: {len(sources)} files, {checked} includes of src/ files, all within the layers")


if __name__ == "__main__":
    main()
