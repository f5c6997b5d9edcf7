#!/usr/bin/env python3
"""Checks that the src/ libraries include only what they link, and only downwards.

Usage: check-layers.py SRC_DIR LINKS_FILE

LINKS_FILE is written by CMake: one line per library, its folder (e.g.
"inventory" or "inventory/ui") followed by the folders of the libraries it
links directly. Every include of the form "folder/..." or "folder/ui/..." in a
library's sources must name the library itself, a library it links, and one
of a lower layer; a core library must include every library it links.
"""
import pathlib
import re
import sys

# The layer order, lowest first. A library may include libraries of lower
# layers only; folders of one layer never include one another. A folder's ui/
# library stands in the folder's layer, above the folder's core library.
LAYERS = [
    ["platform"],
    ["nodes", "scene", "remote", "drives", "commands"],
    ["network", "model"],
    ["inventory", "dialogs"],
    ["fleet"],
    ["app"],
]

INCLUDE = re.compile(r'^\s*#\s*include\s+"([a-z_]+)/(ui/)?[^"]+"', re.M)


def rank_of(folder):
    base = folder.split("/")[0]
    for rank, layer in enumerate(LAYERS):
        if base in layer:
            return rank
    return None


def read_links(path):
    links = {}
    for line in pathlib.Path(path).read_text().splitlines():
        words = line.split()
        if words:
            links[words[0]] = set(words[1:])
    return links


def check(src, links):
    errors = []
    for folder in sorted(links):
        if rank_of(folder) is None:
            errors.append(f"{folder}: not in the layer order of {pathlib.Path(__file__).name}")
            continue
        base = folder.split("/")[0]
        is_ui = folder.endswith("/ui")
        included = set()
        for source in sorted((src / folder).glob("*.[hc]*")):
            for match in INCLUDE.finditer(source.read_text(errors="replace")):
                target = match.group(1) + ("/ui" if match.group(2) else "")
                if rank_of(target) is None:
                    continue  # not a src/ folder
                name = f"{source.relative_to(src)}: includes {match.group(0).split(None, 1)[1]}"
                if target == folder:
                    continue
                if not is_ui and target == base + "/ui":
                    errors.append(f"{name}, the user interface above its own library")
                    continue
                if target.split("/")[0] != base:
                    if rank_of(target) > rank_of(folder):
                        errors.append(f"{name}, a higher layer")
                        continue
                    if rank_of(target) == rank_of(folder):
                        errors.append(f"{name}, a library of its own layer")
                        continue
                # A ui/ library stands on its core library: including it uses both.
                included.update({target, target.split("/")[0]})
                if target not in links[folder]:
                    errors.append(f"{name}, a library {folder} does not link")
        if not is_ui:
            for unused in sorted(links[folder] - included):
                errors.append(f"{folder}: links {unused} without including it")
    return errors


def main(argv):
    if len(argv) != 3:
        print(__doc__.strip().splitlines()[2], file=sys.stderr)
        return 2
    src = pathlib.Path(argv[1])
    errors = check(src, read_links(argv[2]))
    for error in errors:
        print(error)
    if errors:
        print(f"{len(errors)} layer fault(s)")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
