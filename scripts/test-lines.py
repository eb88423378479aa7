#!/usr/bin/env python3
"""Counts the C++ lines of the tests (tests/) against all other C++ lines of the project, blank lines
and comment lines left out, per top folder and in all; for keeping an eye on how much test code
there is beside the code it tests.

    python3 scripts/test-lines.py
"""
import os
import re
import subprocess

root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
files = subprocess.run(['git', 'ls-files', '--cached', '--others', '--exclude-standard'], cwd=root,
                       capture_output=True, text=True, check=True).stdout.split()


def code_lines(path):
    with open(os.path.join(root, path), encoding='utf-8', errors='replace') as file:
        text = re.sub(r'/\*.*?\*/', '', file.read(), flags=re.S)
    return sum(1 for line in text.split('\n') if line.strip() and not line.strip().startswith('//'))


folders = {}
for path in files:
    if re.search(r'\.(cpp|h)$', path) and os.path.exists(os.path.join(root, path)):
        folder = path.split('/')[0]
        folders[folder] = folders.get(folder, 0) + code_lines(path)
tests = folders.get('tests', 0)
other = sum(count for folder, count in folders.items() if folder != 'tests')
for folder, count in sorted(folders.items()):
    print('%-12s %6d' % (folder, count))
print('tests %d lines, other code %d lines: %.1f %%' % (tests, other, 100.0 * tests / other))
