#!/usr/bin/env bash
# Checks every `#include "folder/..."` of every source file, and every project
# target a CMake file links or file of another folder it names, against the
# one layer graph, scripts/layers.txt.
# Every target sees the whole tree through one include folder, so the
# compiler cannot tell; this does, in make test, before anything is built
# (which is why it reads the CMake files, not the build's).
set -euo pipefail
cd "$(dirname "$0")/.."
exec /usr/bin/python3 - scripts/layers.txt <<'PY'
import pathlib, re, subprocess, sys

def read_graph(path):
    uses = {}
    for number, line in enumerate(open(path, encoding="utf-8"), 1):
        line = line.split("#", 1)[0].strip()
        if not line:
            continue
        folder, _, rest = line.partition(":")
        if not _ or not folder.strip():
            sys.exit(f"{path}:{number}: expected 'folder: folder ...'")
        uses[folder.strip()] = rest.split()
    for folder, names in uses.items():
        for name in names:
            if name not in uses:
                sys.exit(f"{path}: {folder} names {name}, which has no line")
    return uses

def closure(edges):
    reach = {}
    for start in edges:
        seen, todo = {start}, [start]
        while todo:
            for name in edges[todo.pop()]:
                if name not in seen:
                    seen.add(name)
                    todo.append(name)
        reach[start] = seen
    return reach

def folder_of(path, folders):
    best = None
    for folder in folders:
        if path.startswith(folder + "/") and (best is None or len(folder) > len(best)):
            best = folder
    return best

# The file's CMake commands as (line, name, arguments), without comments and
# quoted strings (which name no target; a string keeps its line breaks).
def cmake_commands(text):
    text = re.sub(r'"(?:[^"\\]|\\.)*"', lambda m: '""' + "\n" * m.group().count("\n"), text)
    text = re.sub(r"#[^\n]*", "", text)
    for match in re.finditer(r"\b(\w+)\s*\(", text):
        depth, end = 1, match.end()
        while depth and end < len(text):
            depth += {"(": 1, ")": -1}.get(text[end], 0)
            end += 1
        line = text.count("\n", 0, match.start()) + 1
        yield line, match.group(1).lower(), text[match.end():end - 1].split()

DEFINE = {"add_library", "add_executable", "qov_add_library", "qov_add_test",
          "qov_add_bench", "qov_add_fuzzer"}
LINK = {"target_link_libraries", "qov_add_library", "qov_add_test", "qov_add_bench",
        "qov_add_fuzzer"}

uses = read_graph(sys.argv[1])
may_use = closure(uses)
folders = list(uses)
listed = subprocess.run(["git", "ls-files", "--cached", "--others", "--exclude-standard"],
                        check=True, capture_output=True, text=True).stdout.splitlines()
tracked = [pathlib.Path(p) for p in listed if pathlib.Path(p).is_file()]
status = 0

def fail(message):
    global status
    print(message)
    status = 1

for path in sorted(p for p in tracked if p.suffix in (".h", ".cpp")):
    here = folder_of(path.as_posix(), folders)
    if here is None:
        fail(f"{path}: no folder of scripts/layers.txt holds it")
        continue
    for number, line in enumerate(path.read_text(encoding="utf-8", errors="replace").splitlines(), 1):
        match = re.match(r'\s*#\s*include\s+"([^"]+)"', line)
        used = match and folder_of(match.group(1), folders)
        if used and used not in may_use[here]:
            fail(f"{path}:{number}: {here} may not include {match.group(1)}")

cmake_files = sorted(p for p in tracked if p.name == "CMakeLists.txt" or p.suffix == ".cmake")
# A helper's own links (qov_add_test's test support) count for each caller,
# wherever the helper is written.
implied, outside = {}, []
for path in cmake_files:
    here, helper = folder_of(path.as_posix(), folders), None
    for line, name, args in cmake_commands(path.read_text(encoding="utf-8")):
        if name == "function" and args:
            helper = args[0].lower()
        elif name == "endfunction":
            helper = None
        elif helper:
            implied.setdefault(helper, []).append((line, name, args))
        else:
            outside.append((f"{path}:{line}", here, name, args))

def linked(name, args, depth=0):
    found = args[1:] if name in LINK else []
    for _, inner, inner_args in implied.get(name, []) if depth < 8 else []:
        found += [a for a in linked(inner, inner_args, depth + 1) if not a.startswith("${")]
    return found

targets, statements = {}, []
for path, here, name, args in outside:
    if name in DEFINE and args and here:
        targets[args[0]] = here
    if args and (name in LINK or name in implied):
        statements.append((path, here, linked(name, args)))

# A name built from a variable (qov_raster_rows_${form}) belongs to the
# target whose name is the longest start of its fixed part.
def target_folder(name):
    fixed = name.split("${", 1)[0]
    if fixed == name:
        return targets.get(name)
    starts = [t for t in targets if fixed.startswith(t)]
    return targets[max(starts, key=len)] if starts else None

for path, here, args in statements:
    for arg in args:
        if not arg.startswith("qov") or arg.startswith("${"):
            continue
        used = target_folder(arg)
        if used is None:
            fail(f"{path}: cannot tell which folder defines the target {arg}")
        elif here is None:
            fail(f"{path}: links {arg} outside every folder of scripts/layers.txt")
        elif used not in may_use[here]:
            fail(f"{path}: {here} may not link {arg} ({used})")

# A file of another folder named in a folder's CMake file (a source, say)
# is a use of that folder, like an include.
for path, here, name, args in outside:
    for arg in args if here else []:
        named = re.match(r"\$\{(?:PROJECT|CMAKE)_SOURCE_DIR\}/(.+)", arg)
        used = named and folder_of(named.group(1), folders)
        if used and used not in may_use[here]:
            fail(f"{path}: {here} may not use {named.group(1)} ({used})")

if status:
    print("check-layers: the uses above are not in scripts/layers.txt", file=sys.stderr)
sys.exit(status)
PY
