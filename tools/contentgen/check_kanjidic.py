#!/usr/bin/env python3
"""Authoring aid: checks content/sentences.tsv against KANJIDIC while writing.

Usage: check_kanjidic.py [content-dir] [--readings]
Prints one line per problem (row, kanji, what is wrong) and a count per kanji
when asked. The build's own check is the C++ content test; this script only
gives quicker feedback while sentences are being written.
"""
import re
import sys
from pathlib import Path

KANJIDIC = "/usr/share/edict/kanjidic"


def kata_to_hira(s):
    return "".join(chr(ord(c) - 0x60) if "ァ" <= c <= "ヶ" else c for c in s)


def load_kanjidic():
    entries = {}
    with open(KANJIDIC, encoding="euc_jp", errors="replace") as f:
        for line in f:
            if line.startswith("#"):
                continue
            body = line.split("{")[0].split()
            if len(body) < 2:
                continue
            grade = next((x for x in body if re.fullmatch(r"G\d+", x)), None)
            strokes = [int(x[1:]) for x in body if re.fullmatch(r"S\d+", x)]
            readings = set()
            for tok in body[2:]:
                if tok in ("T1", "T2"):
                    break
                if re.match(r"[\u3040-\u30ff]", tok):
                    r = kata_to_hira(tok).strip("-").split(".")[0]
                    readings.add(r)
            entries[body[0]] = (grade, strokes[0] if strokes else 0, readings)
    return entries


def main():
    args = [a for a in sys.argv[1:] if not a.startswith("--")]
    content = Path(args[0]) if args else Path(__file__).resolve().parents[2] / "content"
    kd = load_kanjidic()
    kanji = []
    for line in (content / "kanji.tsv").read_text(encoding="utf-8").splitlines():
        if line and not line.startswith("#"):
            kanji.append(line.split("\t")[1])
    counts = {k: 0 for k in kanji}
    seen = set()
    problems = 0
    hira = re.compile(r"^[\u3041-\u3093ー]+$")
    for no, line in enumerate((content / "sentences.tsv").read_text(encoding="utf-8").splitlines(), 1):
        if not line.strip() or line.startswith("#"):
            continue
        def bad(msg):
            nonlocal problems
            problems += 1
            print(f"sentences.tsv:{no}: {msg}: {line}")
        cols = line.split("\t")
        if len(cols) != 2:
            bad("want kanji<TAB>sentence")
            continue
        k, s = cols
        if k not in counts:
            bad("kanji not in kanji.tsv")
            continue
        segs = s.split("/")
        if len(segs) != 3:
            bad("want three segments")
            continue
        targets = [i for i, x in enumerate(segs) if x.startswith("{") and x.endswith("}")]
        if len(targets) != 1:
            bad("want exactly one {target}")
            continue
        t = segs[targets[0]][1:-1]
        if not hira.match(t):
            bad("target not hiragana")
        if len(t) > 4:
            bad("target longer than 4 kana")
        if t not in kd[k][2]:
            bad(f"{t} is not a reading of {k} ({' '.join(sorted(kd[k][2]))})")
        for x in segs:
            if len(x.strip("{}")) > 10:
                bad(f"segment longer than 10 characters: {x}")
            if re.search(r"[\u4e00-\u9fff]", x):
                bad("kanji in a segment")
            if re.search(r"[a-zA-Z0-9]", x):
                bad("latin letters or digits")
        if s in seen:
            bad("duplicate sentence")
        seen.add(s)
        counts[k] += 1
    for k in kanji:
        if counts[k] < 3:
            problems += 1
            print(f"{k}: only {counts[k]} sentences")
    if "--readings" in sys.argv:
        for k in kanji:
            print(k, counts[k], " ".join(sorted(kd[k][2])))
    print(f"{sum(counts.values())} sentences, {problems} problems")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
