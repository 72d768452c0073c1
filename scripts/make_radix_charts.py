#!/usr/bin/env python3
"""Writes the radix test charts into the folder given (the build does, for the
tests): one base-36 chart (CP932 title), one base-62 chart with "#BASE 62"
(UTF-8 title) and one hexadecimal chart written with lower-case cells.
Deterministic: run it again and the files come out the same."""
import os
import random
import sys

DIGITS = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"
OUT = sys.argv[1] if len(sys.argv) > 1 else "."


def label(value, radix):
    return DIGITS[value // radix] + DIGITS[value % radix]


def data_line(measure, channel, cells):
    return "#%03d%s:%s" % (measure, channel, "".join(cells))


def spread(rng, count, values):
    """count cells, some of them holding one of values, the rest 00."""
    return [rng.choice(values) if rng.random() < 0.4 else "00" for _ in range(count)]


def body(rng, measures, wav_labels, bmp_labels, key_channels):
    lines = []
    for m in range(measures):
        if m % 9 == 4:
            lines.append("#%03d02:0.75" % m)
        if m % 8 == 0:
            lines.append(data_line(m, "03", [rng.choice(["96", "AE", "B4"]), "00"]))
        for _ in range(3):
            lines.append(data_line(m, "01", spread(rng, rng.choice([4, 8, 16]), wav_labels)))
        lines.append(data_line(m, "04", spread(rng, 4, bmp_labels)))
        if m % 4 == 1:
            lines.append(data_line(m, "07", spread(rng, 2, bmp_labels)))
            lines.append(data_line(m, "06", [rng.choice(bmp_labels), "00"]))
        for ch in key_channels:
            lines.append(data_line(m, ch, spread(rng, rng.choice([8, 12, 16]), wav_labels)))
    return lines


def write(name, text, encoding):
    os.makedirs(OUT, exist_ok=True)
    with open(os.path.join(OUT, name), "wb") as f:
        f.write(text.replace("\n", "\r\n").encode(encoding))


def base36():
    rng = random.Random(36)
    wav = list(range(1, 641))
    bmp = list(range(1, 48)) + [36 * 35 + 35]  # ZZ
    head = [
        "*---------------------- HEADER FIELD",
        "#PLAYER 1",
        "#GENRE ハードコア",
        "#TITLE 夜明けの残響 [ANOTHER]",
        "#ARTIST 音屋カナデ / obj. 譜面師",
        "#BPM 174",
        "#PLAYLEVEL 11",
        "#RANK 2",
        "#TOTAL 420",
        "#STAGEFILE title.bmp",
        "#BANNER banner.bmp",
        "#LNTYPE 1",
        "",
    ]
    head += ["#WAV%s %s_%03d.wav" % (label(v, 36), "drum" if v < 80 else "key", v) for v in wav]
    head += [""] + ["#BMP%s bga_%s.bmp" % (label(v, 36), label(v, 36).lower()) for v in bmp]
    keys = ["11", "12", "13", "14", "15", "16", "18", "19", "17", "21", "25", "31", "33", "46", "42"]
    wav_labels = [label(v, 36) for v in wav]
    # Charts are typed by hand too: some cells come in lower case.
    wav_labels += [label(v, 36).lower() for v in wav[600:]]
    lines = head + ["", "*---------------------- MAIN DATA FIELD"]
    lines += body(rng, 40, wav_labels, [label(v, 36) for v in bmp], keys)
    write("base36.bms", "\n".join(lines) + "\n", "cp932")


def base62():
    rng = random.Random(62)
    wav = sorted(rng.sample(range(1, 62 * 62), 300)) + [10, 36]  # 0A and 0a both
    wav = sorted(set(wav))
    bmp = [0, 1, 2, 36, 36 * 62 + 11]  # 00, 01, 02, 0a, aB
    head = [
        "; made with a text editor",
        "*---------------------- HEADER FIELD",
        "#PLAYER 1",
        "#BASE 62",
        "#GENRE シンフォニック",
        "#TITLE 星屑のカデンツァ",
        "#ARTIST Lumière feat. 澪",
        "#BPM 152.5",
        "#PLAYLEVEL 9",
        "#TOTAL 360",
        "",
    ]
    head += ["#WAV%s s%04d.ogg" % (label(v, 62), v) for v in wav]
    head += [""] + ["#BMP%s image_%d.png" % (label(v, 62), v) for v in bmp]
    keys = ["11", "12", "13", "14", "15", "16", "18", "19", "31", "45"]
    lines = head + ["", "*---------------------- MAIN DATA FIELD"]
    lines += body(rng, 24, [label(v, 62) for v in wav], [label(v, 62) for v in bmp if v], keys)
    write("base62.bms", "\n".join(lines) + "\n", "utf-8")


def hex_lower():
    rng = random.Random(16)
    wav = list(range(1, 200))
    bmp = list(range(0, 20))
    head = [
        "*---------------------- HEADER FIELD",
        "#PLAYER 3",
        "#GENRE trance",
        "#TITLE lowercase anthem",
        "#ARTIST dj hex",
        "#BPM 140",
        "#PLAYLEVEL 6",
        "",
    ]
    head += ["#wav%s synth%d.wav" % (label(v, 16).lower(), v) for v in wav]
    head += [""] + ["#bmp%s movie%d.bmp" % (label(v, 16).lower(), v) for v in bmp]
    keys = ["11", "12", "13", "16", "21", "22", "26", "29", "38", "49"]
    lines = head + ["", "*---------------------- MAIN DATA FIELD"]
    lines += body(rng, 24, [label(v, 16).lower() for v in wav], [label(v, 16).lower() for v in bmp if v], keys)
    write("hexlower.bms", "\n".join(lines) + "\n", "ascii")


if __name__ == "__main__":
    base36()
    base62()
    hex_lower()
