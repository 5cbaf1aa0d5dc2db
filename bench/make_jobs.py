#!/usr/bin/env python3
"""Writes the benchmark jobs in bench/jobs/ (deterministic: run it again and
the files come out the same). Glass-shop-like sizes: doors, shelves, windows,
with grain on some part types and a 3 mm kerf on the larger jobs."""

import os
import random

HERE = os.path.dirname(os.path.abspath(__file__))

SHEETS = [("浮法白玻 6mm", 3300, 2440), ("浮法白玻 6mm", 2440, 1830), ("超白玻 8mm", 3660, 2440)]


def job(name, part_types, pieces, sheet_types, kerf, grain_share, seed):
    rnd = random.Random(seed)
    counts = [1] * part_types
    for _ in range(pieces - part_types):
        counts[rnd.randrange(part_types)] += 1
    lines = ['<?xml version="1.0" encoding="gb2312"?>',
             f'<KAVO BladeWidth="{kerf}" Priority="1" FirstCut="1" LayStyle="1" EdgL="10" EdgR="10" '
             'EdgT="10" EdgB="10" BinL="300" BinW="300" wucha="0">', '<RLST>']
    for i, (sname, l, w) in enumerate(SHEETS[:sheet_types]):
        lines.append(f'<RW XH="{i + 1}" RN="{sname}" DM="" RL="{l}" RW="{w}" RC="999" '
                     f'PRC="{45 + 10 * i}" PRI="0" DBID="-1"/>')
    lines += ['</RLST>', '<ELST>']
    for i in range(part_types):
        length = rnd.randrange(150, 1800)
        width = rnd.randrange(100, min(length, 1200) + 1)
        grain = rnd.random() < grain_share
        if grain and rnd.random() < 0.5:
            length, width = width, length
        lines.append(f'<ELE XH="{i + 1}" EN="件{i + 1}" DM="" EL="{length}" EW="{width}" '
                     f'EC="{counts[i]}" XZ="{0 if grain else 1}"/>')
    lines += ['</ELST>', '<FYS>', '</FYS>', '</KAVO>']
    with open(os.path.join(HERE, 'jobs', name), 'wb') as f:
        f.write(('\r\n'.join(lines) + '\r\n').encode('gb18030'))


os.makedirs(os.path.join(HERE, 'jobs'), exist_ok=True)
job('small-10.FBL', 10, 40, 1, 0, 0.0, 1)
job('medium-40.FBL', 40, 250, 2, 3, 0.2, 2)
job('large-150.FBL', 150, 1000, 3, 3, 0.2, 3)
