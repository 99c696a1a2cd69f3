#!/usr/bin/env python3
"""Holds the layer rule of src/: a path with a ui/ folder in it, or in app/, is window code; every
other path is core and includes neither a ui/ header nor Qt. A folder and its ui/ folder are one
subsystem (history/ and history/ui/ are `history`); no two subsystems include each other, directly or
round a longer loop, whichever of their core and ui files the includes run between. Prints each
violation with the files and lines that make it and exits 1 when there is one.

usage: check-layers.py [SRC]    (SRC: the source tree, src/ beside this script when not given)"""
import os
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^">]+)[">]')


def is_window_path(path):
    parts = path.split('/')
    return 'ui' in parts[:-1] or parts[0] == 'app'


def subsystem(folder):
    """The subsystem a folder belongs to: its own name without a last ui/ (the shared window folder
    ui/ is a subsystem of its own)."""
    parts = folder.split('/')
    if len(parts) > 1 and parts[-1] == 'ui':
        parts = parts[:-1]
    return '/'.join(parts)


def main(src):
    problems = []
    edges = {}
    for folder, _, files in sorted(os.walk(src)):
        for name in sorted(files):
            if not name.endswith(('.h', '.cpp')):
                continue
            path = os.path.relpath(os.path.join(folder, name), src)
            here = subsystem(os.path.dirname(path))
            with open(os.path.join(src, path), encoding='utf-8', errors='replace') as text:
                for number, line in enumerate(text, 1):
                    match = INCLUDE.match(line)
                    if not match:
                        continue
                    bracket, header = match.groups()
                    if not is_window_path(path):
                        if bracket == '"' and is_window_path(header):
                            problems.append(f'{path}:{number}: core file includes window header {header}')
                        if bracket == '<' and (header.startswith('Q') or header.startswith('qcustomplot')):
                            problems.append(f'{path}:{number}: core file includes Qt header <{header}>')
                    if bracket == '"' and '/' in header:
                        there = subsystem(os.path.dirname(header))
                        if there != here:
                            edges.setdefault(here, {}).setdefault(there, f'{path}:{number} includes {header}')
    problems += subsystem_loops(edges)
    for problem in problems:
        print(problem)
    return 1 if problems else 0


def subsystem_loops(edges):
    """Tarjan's strongly connected components; a component of more than one subsystem is a loop. Each
    include of the loop is named by the first file and line that makes it."""
    index, low, stack, on_stack, loops = {}, {}, [], set(), []

    def visit(node):
        index[node] = low[node] = len(index)
        stack.append(node)
        on_stack.add(node)
        for target in edges.get(node, {}):
            if target not in index:
                visit(target)
                low[node] = min(low[node], low[target])
            elif target in on_stack:
                low[node] = min(low[node], index[target])
        if low[node] == index[node]:
            component = []
            while True:
                member = stack.pop()
                on_stack.discard(member)
                component.append(member)
                if member == node:
                    break
            if len(component) > 1:
                members = set(component)
                where = [f'{a} -> {b} ({edges[a][b]})' for a in sorted(members) for b in sorted(edges.get(a, {}))
                         if b in members]
                loops.append('subsystems include each other: ' + '; '.join(where))

    for node in sorted(edges):
        if node not in index:
            visit(node)
    return loops


if __name__ == '__main__':
    sys.exit(main(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), '..', 'src')))
