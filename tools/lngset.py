#!/usr/bin/env python3
"""Sets English texts of the language file by slot number (a developer's tool).

    tools/lngset.py 638 "Error" 639 "Confirmation" ...
    tools/lngset.py --get 638 639
    tools/lngset.py --empty          # slot numbers whose text is empty

A comma in a text is stored as \\a, a line break as \\n and a tab as \\t.
The file is locked while it is rewritten, so several people may run it at once.
"""
import fcntl
import os
import sys

LNG = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'lang', 'zmp318t.lng')


def escape(text):
    return text.replace('\n', '\\n').replace('\t', '\\t').replace(',', '\\a')


def main(argv):
    with open(LNG, 'r+', encoding='latin-1', newline='') as f:
        fcntl.flock(f, fcntl.LOCK_EX)
        lines = f.read().split('\n')
        slot_line = {}
        for i, line in enumerate(lines):
            if line.startswith('; ') and line[2:].isdigit() and i + 1 < len(lines):
                slot_line[int(line[2:])] = i + 1
        if argv and argv[0] == '--get':
            for n in argv[1:]:
                print(n, lines[slot_line[int(n)]].split(',', 1)[1])
            return 0
        if argv and argv[0] == '--empty':
            print(' '.join(str(n) for n, i in sorted(slot_line.items())
                           if lines[i].split(',', 1)[1] == ''))
            return 0
        if len(argv) % 2:
            print(__doc__)
            return 2
        for n, text in zip(argv[0::2], argv[1::2]):
            i = slot_line[int(n)]
            key = lines[i].split(',', 1)[0]
            lines[i] = key + ',' + escape(text)
        f.seek(0)
        f.write('\n'.join(lines))
        f.truncate()
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1:]))
