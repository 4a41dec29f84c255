#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Checks that every folder's Qt-free sources include only their own folder and the folders
below it, as the build's library edges say (build/layers.txt, written by CMake).

Usage: check-layers.py LAYERS_FILE SOURCE_ROOT

A file is a UI file (exempt: the Qt layer may use everything) when it is a source of the Qt
library, when it is the header of such a source, when it includes a Qt header, or when it lies
under app/skin. A Qt-free file must not include a UI file either. Prints one line per breach
and exits 1 when there is any."""
import pathlib
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.MULTILINE)
QT_INCLUDE = re.compile(r'^\s*#\s*include\s+<Q', re.MULTILINE)


def read_layers(path):
    layers, ui_sources = {}, set()
    for line in pathlib.Path(path).read_text().splitlines():
        if line.startswith("layer "):
            folder, _, deps = line[len("layer "):].partition(":")
            layers[folder.strip()] = deps.split()
        elif line.startswith("ui:"):
            ui_sources = {pathlib.Path(p).resolve() for p in line[3:].split()}
    return layers, ui_sources


def closure(layers, folder):
    seen, stack = set(), [folder]
    while stack:
        for dep in layers.get(stack.pop(), []):
            if dep not in seen:
                seen.add(dep)
                stack.append(dep)
    return seen


def main():
    layers, ui_sources = read_layers(sys.argv[1])
    root = pathlib.Path(sys.argv[2]).resolve()
    texts = {}
    for folder in layers:
        for file in sorted((root / folder).rglob("*")):
            if file.suffix in (".h", ".cpp"):
                texts[file] = file.read_text(encoding="utf-8", errors="replace")

    def is_ui(file):
        if file in ui_sources or file.with_suffix(".cpp") in ui_sources:
            return True
        rel = file.relative_to(root).as_posix()
        return rel.startswith("app/skin/") or bool(QT_INCLUDE.search(texts.get(file, "")))

    breaches = []
    for file, text in texts.items():
        if is_ui(file):
            continue
        folder = file.relative_to(root).parts[0]
        allowed = closure(layers, folder) | {folder}
        for include in INCLUDE.findall(text):
            target = root / include
            top = pathlib.PurePosixPath(include).parts[0]
            if top not in layers and top not in allowed:
                continue  # not a project folder (tests/, generated headers)
            rel = file.relative_to(root).as_posix()
            if top not in allowed:
                breaches.append(f"{rel}: includes {include}, but {folder}/ does not build on {top}/")
            elif target.exists() and is_ui(target.resolve()):
                breaches.append(f"{rel}: includes the UI file {include} from Qt-free code")
    for line in breaches:
        print(line)
    if breaches:
        print(f"{len(breaches)} include(s) break the folder layering; see the library edges in CMakeLists.txt")
        return 1
    print(f"layering holds for {len(texts)} files in {len(layers)} folders")
    return 0


if __name__ == "__main__":
    sys.exit(main())
