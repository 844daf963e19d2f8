#!/usr/bin/env python3
"""Checks that the program's folders stand in floors: a file includes only
files of its own folder or of a lower floor, and no files (a source with its
header counting as one) include each other in a circle. Prints what breaks
either rule and exits 1; prints the floors and exits 0 otherwise."""
import os
import re
import sys

# Lowest first; folders on one floor do not include each other.
FLOORS = [["resources"], ["text"], ["ground"], ["settings"], ["views"], ["document"], ["editor"],
          ["print", "about", "options"], ["program"]]
FLOOR_OF = {folder: level for level, folders in enumerate(FLOORS) for folder in folders}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)


def units(root):
    found = {}
    for folder in FLOOR_OF:
        directory = os.path.join(root, folder)
        for name in sorted(os.listdir(directory)) if os.path.isdir(directory) else []:
            stem, extension = os.path.splitext(name)
            if extension in (".cpp", ".h"):
                found.setdefault(folder + "/" + stem, []).append(os.path.join(directory, name))
    return found


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..")
    found = units(root)
    edges = {unit: set() for unit in found}
    faults = []
    for unit, paths in found.items():
        folder = unit.split("/")[0]
        for path in paths:
            with open(path, encoding="utf-8", errors="replace") as source:
                for target in INCLUDE.findall(source.read()):
                    target = target if "/" in target else "resources/" + target
                    other = os.path.splitext(target)[0]
                    if other not in found:
                        faults.append("%s includes %s, which is no file of a floor" % (path, target))
                        continue
                    if other == unit:
                        continue
                    edges[unit].add(other)
                    other_folder = other.split("/")[0]
                    if other_folder != folder and FLOOR_OF[other_folder] >= FLOOR_OF[folder]:
                        faults.append("%s includes %s: not a lower floor" % (os.path.relpath(path, root), target))
    # Depth-first search; a grey unit met again closes a circle.
    state = {}
    def visit(unit, trail):
        state[unit] = 1
        for other in sorted(edges[unit]):
            if state.get(other) == 1:
                faults.append("circle: " + " -> ".join(trail[trail.index(other):] + [other]))
            elif other not in state:
                visit(other, trail + [other])
        state[unit] = 2
    for unit in sorted(edges):
        if unit not in state:
            visit(unit, [unit])
    for fault in faults:
        print(fault)
    if faults:
        return 1
    for level in reversed(range(len(FLOORS))):
        print("floor %d: %s" % (level, ", ".join(FLOORS[level])))
    return 0


if __name__ == "__main__":
    sys.exit(main())
