#!/usr/bin/env python3
"""Fails when a library includes a header of a library above it.

The libraries build on each other in one direction: core at the bottom, toolkit and logstore on
core, the windows on those, the program on top; the data tool on core and logstore alone. A header
is found by its file name among the project's folders, the way the build's include paths find it,
so an include written as "Name.h" or <Name.h> counts the same.

    python3 scripts/check-layers.py
"""
import os
import re
import subprocess
import sys

ALLOWED = {
    'core': {'core'},
    'toolkit': {'core', 'toolkit'},
    'logstore': {'core', 'logstore'},
    'overview': {'core', 'toolkit', 'logstore', 'overview'},
    'editor': {'core', 'toolkit', 'logstore', 'editor'},
    'calculator': {'core', 'toolkit', 'logstore', 'overview', 'editor', 'calculator'},
    'app': {'core', 'toolkit', 'logstore', 'overview', 'editor', 'calculator', 'app'},
    'datatool': {'core', 'logstore', 'datatool'},
}
INCLUDE = re.compile(r'^\s*#\s*include\s*[<"]([^>"]+)[>"]')

root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
files = subprocess.run(['git', 'ls-files', '--cached', '--others', '--exclude-standard'], cwd=root,
                       capture_output=True, text=True, check=True).stdout.split()
sources = [f for f in files if re.search(r'\.(cpp|h)$', f) and os.path.exists(os.path.join(root, f))]

# Which library each header belongs to, by the path an include names relative to its folder.
owner = {}
for path in sources:
    library = path.split('/')[0]
    if library in ALLOWED and path.endswith('.h'):
        # A library's rooms (datatool/exchange/…) are on its include path too: a header is named
        # by its path below the library's folder and by its file name alone.
        owner.setdefault(path[len(library) + 1:], set()).add(library)
        owner.setdefault(os.path.basename(path), set()).add(library)

problems = []
for path in sources:
    library = path.split('/')[0]
    if library not in ALLOWED:
        continue
    with open(os.path.join(root, path), encoding='utf-8', errors='replace') as file:
        for number, line in enumerate(file, 1):
            match = INCLUDE.match(line)
            if not match:
                continue
            for other in sorted(owner.get(match.group(1), ())):
                if other not in ALLOWED[library]:
                    problems.append('%s:%d: %s includes %s from %s, a library above it or beside it'
                                    % (path, number, library, match.group(1), other))

for problem in problems:
    print(problem)
if problems:
    sys.exit(1)
print('layers: %d files read, no include climbs to a library above' % len(sources))
