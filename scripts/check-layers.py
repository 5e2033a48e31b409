#!/usr/bin/env python3
"""Checks the shape of the source tree:

1. Every quoted include names its folder ("link/CommandLayer.h" under src/, "tests/support/TempFolder.h"
   elsewhere).
2. The folders of src/ include each other in one direction only: link and core at the bottom, the
   features above them, the shell (app) on top; no feature includes another, and there is no cycle.
3. Every CMake target links (directly or through what it links) the library of each header it includes.

    check-layers.py SOURCE_DIR [BUILD_DIR]

Without BUILD_DIR only points 1 and 2 are checked. With it, the build's CMake file API reply is read
(the script asks for it and re-runs CMake in BUILD_DIR when there is none yet).
Prints every fault it finds and exits with 1 if there is one.
"""
import glob
import json
import os
import re
import subprocess
import sys

# The rank of each folder of src/: a folder may include only folders of a lower rank.
RANKS = {"link": 0, "core": 0, "chart": 1,
         "config": 2, "monitor": 2, "console": 2, "procedures": 2, "calibration": 2, "testpanel": 2,
         "app": 3}
AREAS = ("src", "tools", "tests", "bench", "fuzz")
SOURCE_SUFFIXES = (".h", ".hpp", ".cpp", ".cc", ".inc")
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)


def source_files(root):
    for area in AREAS:
        for folder, dirs, names in os.walk(os.path.join(root, area)):
            dirs[:] = [d for d in dirs if d != "corpus"]
            for name in names:
                if name.endswith(SOURCE_SUFFIXES):
                    yield os.path.relpath(os.path.join(folder, name), root)


def includes_of(root, path):
    with open(os.path.join(root, path), encoding="utf-8", errors="replace") as f:
        return INCLUDE.findall(f.read())


def resolve(root, name):
    """The repository path of a quoted include, or None when it is not in the tree (a generated file)."""
    for base in ("src", ""):
        candidate = os.path.normpath(os.path.join(base, name))
        if os.path.isfile(os.path.join(root, candidate)):
            return candidate
    return None


def check_includes(root, faults):
    edges = {}
    for path in source_files(root):
        for name in includes_of(root, path):
            if "/" not in name:
                faults.append(f"{path}: bare include \"{name}\": name its folder")
                continue
            target = resolve(root, name)
            if target is None:
                if "/generated/" not in name:
                    faults.append(f"{path}: include \"{name}\" is not in the tree")
                continue
            if path.startswith("src/") and target.startswith("src/"):
                a, b = path.split("/")[1], target.split("/")[1]
                if a != b:
                    edges.setdefault(a, set()).add(b)
            elif path.startswith("src/") and not target.startswith("src/"):
                faults.append(f"{path}: product code includes {target}")
    for a, bs in sorted(edges.items()):
        for b in sorted(bs):
            if a not in RANKS or b not in RANKS:
                faults.append(f"src/{a} includes src/{b}: give the folder its rank in this script")
            elif RANKS[b] >= RANKS[a]:
                faults.append(f"src/{a} includes src/{b}: only lower layers may be included")
    # A cycle cannot pass the rank rule, but it is looked for on its own so that the message says so.
    state = {}

    def visit(node, trail):
        state[node] = 1
        for nxt in sorted(edges.get(node, ())):
            if state.get(nxt) == 1:
                faults.append("folder cycle: " + " -> ".join(trail[trail.index(nxt):] + [nxt]))
            elif nxt not in state:
                visit(nxt, trail + [nxt])
        state[node] = 2

    for node in sorted(edges):
        if node not in state:
            visit(node, [node])
    return edges


def codemodel(build):
    query = os.path.join(build, ".cmake", "api", "v1", "query", "codemodel-v2")
    reply = os.path.join(build, ".cmake", "api", "v1", "reply")
    if not os.path.exists(query) or not glob.glob(os.path.join(reply, "index-*.json")):
        os.makedirs(os.path.dirname(query), exist_ok=True)
        open(query, "w").close()
        subprocess.run(["cmake", build], check=True, stdout=subprocess.DEVNULL)
    index = json.load(open(max(glob.glob(os.path.join(reply, "index-*.json")))))
    model = json.load(open(os.path.join(reply, index["reply"]["codemodel-v2"]["jsonFile"])))
    targets = {}
    for entry in model["configurations"][0]["targets"]:
        t = json.load(open(os.path.join(reply, entry["jsonFile"])))
        targets[t["id"]] = t
    return targets


def check_targets(root, build, faults):
    targets = codemodel(build)
    name_of = {tid: t["name"] for tid, t in targets.items()}
    deps = {tid: [d["id"] for d in t.get("dependencies", [])] for tid, t in targets.items()}

    def closure(tid):
        seen, todo = set(), [tid]
        while todo:
            for d in deps.get(todo.pop(), []):
                if d not in seen:
                    seen.add(d)
                    todo.append(d)
        return seen

    # Which library owns a header: the one that names it or compiles the file of the same name, else the
    # libraries of the header's folder that compile something (for the folder's header-only parts).
    owner, folder_libraries = {}, {}
    for tid, t in targets.items():
        if t["type"] not in ("STATIC_LIBRARY", "INTERFACE_LIBRARY", "SHARED_LIBRARY", "OBJECT_LIBRARY", "MODULE_LIBRARY"):
            continue
        for s in t.get("sources", []):
            path = s["path"]
            if os.path.isabs(path) or path.startswith(".."):
                continue
            stem, _ = os.path.splitext(path)
            owner.setdefault(stem + ".h", set()).add(tid)
            if t["type"] != "INTERFACE_LIBRARY":  # a header-only library owns just the headers it names
                folder_libraries.setdefault(os.path.dirname(path), set()).add(tid)
    checked = 0
    for tid, t in sorted(targets.items(), key=lambda kv: kv[1]["name"]):
        if t["type"] == "UTILITY":
            continue
        reachable = closure(tid) | {tid}
        for s in t.get("sources", []):
            path = s["path"]
            if os.path.isabs(path) or path.startswith("..") or not path.endswith(SOURCE_SUFFIXES):
                continue
            if not os.path.isfile(os.path.join(root, path)):
                continue  # generated in the build folder
            for name in includes_of(root, path):
                header = resolve(root, name)
                if header is None or not header.startswith("src/"):
                    continue
                libraries = owner.get(header) or folder_libraries.get(os.path.dirname(header), set())
                if not libraries:
                    continue
                checked += 1
                if not libraries & reachable:
                    wanted = ", ".join(sorted(name_of[l] for l in libraries))
                    faults.append(f"target {t['name']}: {path} includes {header} but does not link {wanted}")
    return checked


def main():
    if len(sys.argv) < 2:
        print(__doc__)
        return 2
    root = os.path.abspath(sys.argv[1])
    faults = []
    edges = check_includes(root, faults)
    print("folder graph of src/: " + "; ".join(f"{a} -> {', '.join(sorted(b))}" for a, b in sorted(edges.items())))
    if len(sys.argv) > 2:
        checked = check_targets(root, os.path.abspath(sys.argv[2]), faults)
        print(f"{checked} includes of product headers checked against the targets' links")
    for fault in faults:
        print("FAULT: " + fault)
    print("layers: " + ("ok" if not faults else f"{len(faults)} faults"))
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
