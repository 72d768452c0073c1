#!/usr/bin/env python3
"""Seconds of every object of a BMS chart, read straight from the file.

A second reading of the timing rules, written apart from the program so that
the two can be held against each other:

    scripts/chart_times.py CHART                 # pos, channel, cell, seconds
    scripts/chart_times.py CHART --compare DUMP  # DUMP: beatloom-cli dump --times

The rules: 192 ticks a measure whatever its length; a cell i of n sits
exactly 192 i / n ticks into its measure; a 4/4 measure of factor L lasts
4 L beats; channel 03 holds a hexadecimal tempo, channel 08 names a #BPMxx
and channel 09 a #STOPxx (in 1/192 of a 4/4 measure); on one tick the tempo
changes act first (03, then 08, the last line winning) and the stops, added
up, are measured at the new tempo; an object on the tick of a stop sounds as
the stop begins. Tempos of 0 or below, undefined indices and measure factors
of 0 or below count for nothing. Of #IF/#RANDOM blocks only the branch
every player takes counts, and only for its timing lines (#BPMxx, #STOPxx,
channels 02, 03, 08 and 09): under "#RANDOM 1", "#IF 1" (or, without a
matching #IF, its #ELSE); all other lines inside such blocks are skipped.

Long notes: cells of channels 51-59 and 61-69 pair up in order on their
channel (start, end) under "#LNTYPE 1" or no #LNTYPE; with "#LNOBJ xx" a
note of value xx on 11-29 ends the long note begun by the note before it on
its channel. A long note is one object at its start; a start without an end
stays an object. --compare also holds the long notes' places against the
dump's "longNotes".
"""
import bisect
import json
import re
import sys
from fractions import Fraction

TICKS = 192
FALLBACK_BPM = Fraction(120)
KEY_CHANNELS = set(range(11, 20)) | set(range(21, 30))
LONG_CHANNELS = set(range(51, 60)) | set(range(61, 70))
OBJECT_CHANNELS = {1, 3, 4, 6, 7, 8, 9} | KEY_CHANNELS | set(range(31, 40)) | set(range(41, 50)) | LONG_CHANNELS
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
    return Fraction(TICKS * i, n)


def integer(text):
    try:
        return int(text.strip())
    except ValueError:
        return None


class Branches:
    """Which lines of conditional blocks every player reads."""

    def __init__(self):
        self.frames = []  # [outer random, decided, taken, done]
        self.random = None

    def taken(self):
        return all(f[2] for f in self.frames)

    def feed(self, word, rest):
        if word == "IF":
            decided = self.random == 1 and integer(rest) is not None
            hit = decided and integer(rest) == 1
            self.frames.append([self.random, decided, hit, hit])
        elif word == "ENDIF":
            if self.frames:
                self.random = self.frames.pop()[0]
        elif word in ("ELSE", "ELSEIF"):
            if self.frames:
                f = self.frames[-1]
                match = word == "ELSE" or integer(rest) == 1
                f[2] = f[1] and not f[3] and match
                f[3] = f[3] or f[2]
        elif word == "RANDOM":
            self.random = 1 if integer(rest) == 1 else None
        else:  # SETRANDOM, ENDRANDOM
            self.random = None


def read_chart(path):
    bpm = FALLBACK_BPM
    tempo_defs, stop_defs, lengths = {}, {}, {}
    cells = []  # (pos, channel, cell text, file order)
    block_orders = set()  # lines of taken branches: timing, but no objects
    long_form = {"type": "", "lnobj": None}
    depth = 0
    branches = Branches()
    for order, line in enumerate(read_lines(path)):
        m = CONDITIONAL.match(line)
        if m or depth:
            word = m.group(1).upper() if m else ""
            depth += 1 if word == "IF" else -1 if word == "ENDIF" and depth else 0
            if m:
                branches.feed(word, line[m.end(1):])
                continue
            if not branches.taken():
                continue
            timing_only = True
            block_orders.add(order)
        else:
            timing_only = False
        up = line.upper()
        if timing_only and re.match(r"#BPM[ \t]", up):
            continue
        if re.match(r"#BPM[ \t]", up):
            value = number(line[4:])
            bpm = value if value is not None and value > 0 else FALLBACK_BPM
            continue
        if not timing_only and re.match(r"#LNTYPE[ \t]", up):
            long_form["type"] = line[7:].strip()
            continue
        if not timing_only and re.match(r"#LNOBJ[ \t]", up) and len(line[6:].strip()) == 2:
            long_form["lnobj"] = line[6:].strip().upper()
            continue
        d = re.match(r"#(BPM|STOP)(\w\w)[ \t](.*)$", line, re.I)
        if d:
            (tempo_defs if d.group(1).upper() == "BPM" else stop_defs)[d.group(2).upper()] = number(d.group(3))
            continue
        m = DATA.match(line)
        if not m:
            continue
        measure, channel, data = int(m.group(1)), int(m.group(2)), m.group(3).rstrip(" \t")
        if timing_only and channel not in (2, 3, 8, 9):
            continue
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
    return bpm, tempo_defs, stop_defs, lengths, cells, block_orders, long_form


def length_of(lengths, measure):
    value = lengths.get(measure)
    return value if value is not None and value > 0 else Fraction(1)


def timing(path):
    """Returns time_at(pos) and the chart's object cells."""
    bpm0, tempo_defs, stop_defs, lengths, cells, timing_orders, long_form = read_chart(path)
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

    objects = [(pos, channel, cell, order) for pos, channel, cell, order in cells
               if channel in OBJECT_CHANNELS and order not in timing_orders]
    objects, long_notes = pair_long_notes(objects, long_form)
    return time_at, objects, long_notes


def pair_long_notes(objects, long_form):
    """The objects without the long notes' ends, and the long notes as (start, end)."""
    by_channel = {}
    for o in sorted(objects, key=lambda o: (o[0], o[3])):
        by_channel.setdefault(o[1], []).append(o)
    ends, long_notes = set(), []
    for channel, cells in by_channel.items():
        if channel in LONG_CHANNELS and long_form["type"] in ("", "1"):
            for start, end in zip(cells[0::2], cells[1::2]):
                ends.add(end)
                long_notes.append((start[0], end[0]))
        elif channel in KEY_CHANNELS and long_form["lnobj"]:
            before = None
            for o in cells:
                if o[2] != long_form["lnobj"]:
                    before = o
                    continue
                if before is not None:
                    ends.add(o)
                    long_notes.append((before[0], o[0]))
                before = None
    return [(p, c, v) for p, c, v, order in objects if (p, c, v, order) not in ends], sorted(long_notes)


def compare(path, dump_path):
    time_at, objects, long_notes = timing(path)
    # Positions between ticks come as decimals (167.75); read as written.
    dump = json.load(open(dump_path, encoding="utf-8"), parse_float=Fraction)
    dumped = dump["objects"]
    # A place that no short decimal writes (a third of a tick) is printed to
    # the nearest double; it is timed at the exact place of this reading's
    # object there, since a stop's own place must not fall just after it.
    ours = sorted(p for p, _, _ in objects)

    def exact(pos):
        i = bisect.bisect_left(ours, pos)
        near = [p for p in ours[max(i - 1, 0):i + 1] if abs(p - pos) < Fraction(1, 10**9)]
        return near[0] if near else pos

    worst = 0.0
    for lane, pos, value, hidden, seconds in dumped:
        worst = max(worst, abs(float(time_at(exact(Fraction(pos)))) - float(seconds)))
    theirs = sorted(Fraction(o[1]) for o in dumped)
    positions_agree = len(ours) == len(theirs) and all(abs(a - b) < Fraction(1, 10**9) for a, b in zip(ours, theirs))
    theirs_long = sorted((Fraction(start), Fraction(end)) for _, start, end, _ in dump.get("longNotes", []))
    long_agree = len(long_notes) == len(theirs_long) and all(
        abs(a[0] - b[0]) + abs(a[1] - b[1]) < Fraction(1, 10**9) for a, b in zip(long_notes, theirs_long))
    print(f"{path}: {len(dumped)} objects, largest difference {worst * 1000:.6f} ms, "
          f"positions {'agree' if positions_agree else 'DIFFER'}, "
          f"{len(long_notes)} long notes {'agree' if long_agree else 'DIFFER'}")
    return 0 if worst < 0.001 and positions_agree and long_agree else 1


def main(argv):
    if len(argv) == 4 and argv[2] == "--compare":
        return compare(argv[1], argv[3])
    if len(argv) != 2:
        print(__doc__, file=sys.stderr)
        return 2
    time_at, objects, _ = timing(argv[1])
    for pos, channel, cell in sorted(objects):
        print(f"{float(pos):g}\t{channel:02d}\t{cell}\t{float(time_at(pos)):.6f}")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
