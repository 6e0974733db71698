#!/usr/bin/env python3
"""Checks that every source file includes only headers of the layers its target links.

Usage: check_layers.py LAYER_PLAN SRC_DIR

LAYER_PLAN is written by the build: one line per folder of src/, "name:linked,linked". A file
in src/<name>/ may include headers of <name> and of every layer <name> links, directly or
through another layer; a test in src/<name>/tests/ may also include src/testing/. Only
src/qt/ may include a Qt header. Exits 1 and names each offending include.
"""
import pathlib
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]', re.MULTILINE)
QT_HEADER = re.compile(r'^(Q[A-Za-z]|Qt[A-Z])')
SOURCE_SUFFIXES = {".h", ".cc", ".cpp", ".hpp"}


def read_plan(path):
    plan = {}
    for line in pathlib.Path(path).read_text().splitlines():
        if not line.strip():
            continue
        name, _, linked = line.partition(":")
        plan[name] = [layer for layer in linked.split(",") if layer]
    return plan


def reachable(plan, name):
    seen = {name}
    todo = [name]
    while todo:
        for layer in plan.get(todo.pop(), []):
            if layer not in seen:
                seen.add(layer)
                todo.append(layer)
    return seen


def allowed_layers(plan, relative):
    layer = relative.parts[0]
    allowed = reachable(plan, layer)
    if len(relative.parts) > 2 and relative.parts[1] == "tests":
        allowed |= reachable(plan, "testing")
    return allowed


def check(plan_path, src_dir):
    plan = read_plan(plan_path)
    src = pathlib.Path(src_dir)
    layers = {child.name for child in src.iterdir() if child.is_dir()}
    problems = []
    for folder in sorted(layers - set(plan)):
        problems.append(f"src/{folder}/: no target declares this layer")
    for path in sorted(src.rglob("*")):
        if path.suffix not in SOURCE_SUFFIXES or not path.is_file():
            continue
        relative = path.relative_to(src)
        if relative.parts[0] not in plan:
            continue
        allowed = allowed_layers(plan, relative)
        for bracket, header in INCLUDE.findall(path.read_text(encoding="utf-8")):
            first = header.split("/")[0]
            if bracket == "<":
                if QT_HEADER.match(first) and relative.parts[0] != "qt":
                    problems.append(f"src/{relative}: Qt header <{header}> outside src/qt/")
            elif "/" in header and first in layers and first not in allowed:
                problems.append(
                    f"src/{relative}: includes \"{header}\", but {relative.parts[0]}"
                    f" does not link {first}")
    return problems


def main():
    if len(sys.argv) != 3:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    problems = check(sys.argv[1], sys.argv[2])
    for problem in problems:
        print(problem, file=sys.stderr)
    if problems:
        print(f"{len(problems)} include(s) break the layer plan", file=sys.stderr)
        return 1
    print("every include keeps to the layer plan")
    return 0


if __name__ == "__main__":
    sys.exit(main())
