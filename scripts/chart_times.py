#!/usr/bin/env python3
"""Seconds of every object of a BMS chart, read straight from the file.

A second reading of the timing rules, written apart from the program so that
the two can be held against each other:

    scripts/chart_times.py CHART                 # pos, channel, cell, seconds
    scripts/chart_times.py CHART --compare DUMP  # DUMP: beatloom-cli dump --times

The rules: 192 ticks a measure whatever its length; a cell i of n sits on the
nearest tick to 192 i / n (halves to even); a 4/4 measure of factor L lasts
4 L beats; channel 03 holds a hexadecimal tempo, channel 08 names a #BPMxx
and channel 09 a #STOPxx (in 1/192 of a 4/4 measure); on one tick the tempo
changes act first (03, then 08, the last line winning) and the stops, added
up, are measured at the new tempo; an object on the tick of a stop sounds as
the stop begins. Tempos of 0 or below, undefined indices and measure factors
of 0 or below count for nothing; lines inside #IF/#RANDOM blocks are skipped.
"""
import bisect
import json
import re
import sys
from fractions import Fraction

TICKS = 192
FALLBACK_BPM = Fraction(120)
OBJECT_CHANNELS = {1, 3, 4, 6, 7, 8, 9} | set(range(11, 20)) | set(range(21, 30)) | set(range(31, 40)) | set(range(41, 50))
CONDITIONAL = re.compile(r"#(IF|ENDIF|RANDOM|SETRANDOM|ENDRANDOM|ELSE|ELSEIF)(\s|$)", re.I)
DATA = re.compile(r"#(\d{3})(\d{2}).(.*)$")


def number(text):
    try:
        return Fraction(text.strip())
    except (ValueError, ZeroDivisionError):
        return None


def read_lines(path):
    data = open(path, "rb").read().split(b"\x1a")[0]
    if data.startswith(b"\xef\xbb\xbf"):
        data = data[3:]
    text = data.decode("latin-1")
    return re.split(r"\r\n|\r|\n", text)


def cell_offset(i, n):
    return round(Fraction(TICKS * i, n))  # round() takes halves to even


def read_chart(path):
    bpm = FALLBACK_BPM
    tempo_defs, stop_defs, lengths = {}, {}, {}
    cells = []  # (pos, channel, cell text, file order)
    depth = 0
    for order, line in enumerate(read_lines(path)):
        m = CONDITIONAL.match(line)
        if m or depth:
            word = m.group(1).upper() if m else ""
            depth += 1 if word == "IF" else -1 if word == "ENDIF" and depth else 0
            continue
        up = line.upper()
        if re.match(r"#BPM[ \t]", up):
            value = number(line[4:])
            bpm = value if value is not None and value > 0 else FALLBACK_BPM
            continue
        d = re.match(r"#(BPM|STOP)(\w\w)[ \t](.*)$", line, re.I)
        if d:
            (tempo_defs if d.group(1).upper() == "BPM" else stop_defs)[d.group(2).upper()] = number(d.group(3))
            continue
        m = DATA.match(line)
        if not m:
            continue
        measure, channel, data = int(m.group(1)), int(m.group(2)), m.group(3).rstrip(" \t")
        if channel == 2:
            lengths[measure] = number(data)
            continue
        if channel not in OBJECT_CHANNELS and channel not in (8, 9):
            continue
        pairs = [data[2 * i:2 * i + 2] for i in range(len(data) // 2)]
        if not all(re.fullmatch(r"[0-9A-Za-z]{2}", p) for p in pairs):
            continue
        for i, p in enumerate(pairs):
            if p != "00":
                cells.append((measure * TICKS + cell_offset(i, len(pairs)), channel, p.upper(), order))
    return bpm, tempo_defs, stop_defs, lengths, cells


def length_of(lengths, measure):
    value = lengths.get(measure)
    return value if value is not None and value > 0 else Fraction(1)


def timing(path):
    """Returns time_at(pos) and the chart's object cells."""
    bpm0, tempo_defs, stop_defs, lengths, cells = read_chart(path)
    changes = {}  # pos -> (tempo or None, stop ticks)
    for pos, channel, cell, order in sorted(cells, key=lambda c: (c[0], {3: 0, 8: 1}.get(c[1], 2), c[3])):
        tempo, stop = changes.get(pos, (None, 0))
        if channel == 3:
            tempo = Fraction(int(cell, 16))
        elif channel == 8 and (tempo_defs.get(cell) or 0) > 0:
            tempo = tempo_defs[cell]
        elif channel == 9 and (stop_defs.get(cell) or 0) > 0:
            stop += stop_defs[cell]
        changes[pos] = (tempo, stop)
    points = sorted(changes)

    def span(pos, end, bpm):  # seconds from pos to end at one tempo, measure by measure
        seconds = Fraction(0)
        while pos < end:
            measure = pos // TICKS
            step = min(end, (measure + 1) * TICKS) - pos
            seconds += step * length_of(lengths, measure) * 4 * 60 / (TICKS * bpm)
            pos += step
        return seconds

    # Time and tempo just after each point's changes, so that a question costs
    # one search.
    after, seconds, bpm, pos = [], Fraction(0), bpm0, 0
    for p in points:
        seconds += span(pos, p, bpm)
        pos = p
        tempo, stop = changes[p]
        bpm = tempo or bpm
        seconds += stop * 4 * 60 / (TICKS * bpm)
        after.append((p, seconds, bpm))

    def time_at(target):
        # Only the points before the target count: an object on the tick of a
        # stop sounds as the stop begins.
        i = bisect.bisect_left(points, target)
        start, seconds, bpm = after[i - 1] if i else (0, Fraction(0), bpm0)
        return seconds + span(start, target, bpm)

    objects = [(pos, channel, cell) for pos, channel, cell, _ in cells if channel in OBJECT_CHANNELS]
    return time_at, objects


def compare(path, dump_path):
    time_at, objects = timing(path)
    dumped = json.load(open(dump_path, encoding="utf-8"))["objects"]
    worst = 0.0
    for lane, pos, value, hidden, seconds in dumped:
        worst = max(worst, abs(float(time_at(pos)) - seconds))
    positions_agree = sorted(p for p, _, _ in objects) == sorted(o[1] for o in dumped)
    print(f"{path}: {len(dumped)} objects, largest difference {worst * 1000:.6f} ms, "
          f"positions {'agree' if positions_agree else 'DIFFER'}")
    return 0 if worst < 0.001 and positions_agree else 1


def main(argv):
    if len(argv) == 4 and argv[2] == "--compare":
        return compare(argv[1], argv[3])
    if len(argv) != 2:
        print(__doc__, file=sys.stderr)
        return 2
    time_at, objects = timing(argv[1])
    for pos, channel, cell in sorted(objects):
        print(f"{pos}\t{channel:02d}\t{cell}\t{float(time_at(pos)):.6f}")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
