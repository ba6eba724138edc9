#!/usr/bin/env python3
"""Checks that the folders keep to the layers their targets draw.

Reads the map the build writes (target|type|folder|sources|links per line) and the
sources themselves. A quoted include must name a header of the including file's own
folder, a file its target builds, or a header of a folder whose library the target
links, directly or through what that links. A target that links one that links it
back is reported too, and so is a folder that links, or includes a header of, a
folder its rule below forbids it. Prints each fault and exits with 1 when there is any.
"""
import os
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"', re.M)

# Folders kept free of what the layers alone would let them use: the changeover's
# database work and the show data hold no conversation with the operator, so neither
# links nor includes the dialogs, the backup client (with its component) or the
# settings; the runs above them do that. A forbidden folder covers its subfolders.
FORBIDDEN = {
    'catalogue/changeover': ('dialogs', 'backup', 'settings'),
    'catalogue/data': ('dialogs', 'backup', 'settings'),
}


def within(folder, forbidden):
    return folder == forbidden or folder.startswith(forbidden + '/')


def forbidden_uses(targets, root, name, rules):
    """The faults of a library whose folder has a rule: a direct link to a library of a
    forbidden folder, or an include of a forbidden folder's header."""
    t = targets[name]
    barred = rules.get(t['folder'], ())
    faults = []
    for link in t['links']:
        folder = targets[link]['folder'] if link in targets else ''
        for forbidden in barred:
            if within(folder, forbidden):
                faults.append('%s (%s) links %s, of %s, which it must not use' % (name, t['folder'], link, folder))
    for source in t['sources']:
        path = os.path.join(root, t['folder'], source)
        if not os.path.exists(path):
            continue
        for header in INCLUDE.findall(open(path, encoding='utf-8').read()):
            for forbidden in barred:
                if within(os.path.dirname(header), forbidden):
                    faults.append('%s/%s: includes "%s" of %s, which %s must not use'
                                  % (t['folder'], source, header, forbidden, t['folder']))
    return faults


def read_map(path):
    targets = {}
    with open(path, encoding='utf-8') as f:
        for line in f:
            name, kind, folder, sources, links = line.rstrip('\n').split('|')
            targets[name] = {
                'kind': kind,
                'folder': folder,
                'sources': [s for s in sources.split(',') if s],
                'links': [l for l in links.split(',') if l],
            }
    return targets


def closure(targets, name):
    seen, stack = set(), list(targets[name]['links'])
    while stack:
        link = stack.pop()
        if link in seen or link not in targets:
            continue
        seen.add(link)
        stack.extend(targets[link]['links'])
    return seen


def main(root, map_path, rules=FORBIDDEN):
    targets = read_map(map_path)
    libraries = {name: t for name, t in targets.items() if t['kind'] != 'EXECUTABLE'}
    owner = {}  # folder -> library target
    faults = []
    for name, t in libraries.items():
        if t['folder'] in owner and not t['folder'].startswith('tests/'):
            faults.append('folder %s holds two libraries: %s and %s' % (t['folder'], owner[t['folder']], name))
        owner.setdefault(t['folder'], name)

    for name in sorted(libraries):
        faults.extend(forbidden_uses(targets, root, name, rules))

    for name in targets:
        if name in closure(targets, name):
            faults.append('%s links a target that links it back' % name)

    for name, t in sorted(targets.items()):
        reach = {targets[l]['folder'] for l in closure(targets, name)}
        built = set()
        for source in t['sources']:
            path = os.path.normpath(os.path.join(root, t['folder'], source))
            if path.startswith(root + os.sep):
                built.add(os.path.relpath(path, root))
        for source in sorted(built):
            if not os.path.exists(os.path.join(root, source)):
                continue
            text = open(os.path.join(root, source), encoding='utf-8').read()
            for header in INCLUDE.findall(text):
                folder = os.path.dirname(header)
                if not os.path.exists(os.path.join(root, header)):
                    faults.append('%s: "%s" is not a path from the project folder' % (source, header))
                elif folder in (t['folder'], os.path.dirname(source)) or header in built or folder in reach:
                    continue
                elif folder in owner:
                    faults.append('%s: includes "%s", but %s does not link %s'
                                  % (source, header, name, owner[folder]))
                else:
                    faults.append('%s: includes "%s" of a folder no library of %s stands for'
                                  % (source, header, name))
    for fault in faults:
        print(fault)
    print('%d targets checked, %d faults' % (len(targets), len(faults)))
    return 1 if faults else 0


if __name__ == '__main__':
    sys.exit(main(os.path.abspath(sys.argv[1]), sys.argv[2]))
