#!/usr/bin/env python3
"""Authoring aid: checks content/ against KANJIDIC while sentences are written.

Usage: check_kanjidic.py [content-dir] [--readings]

Checks that every reading in readings.tsv and every reading a sound change in
sound-changes.tsv starts from is a KANJIDIC reading of its kanji, and that
every target of sentences.tsv is a taught reading, a special reading of one
word (word-readings.tsv, which must not be a KANJIDIC reading) or a listed
sound change (naming the KANJIDIC readings outside the table, which are over grade 2).
With --readings it lists per kanji the readings asked and the words that ask
them. The generator (contentgen) checks the rest; the build's own check is
the C++ content test: this script only gives quicker feedback.
"""
import re
import sys
from collections import Counter, defaultdict
from pathlib import Path

KANJIDIC = "/usr/share/edict/kanjidic"
PARTICLES = ["でした", "だった", "から", "まで", "です", "より", "には", "では", "とは", "へは",
             "が", "を", "に", "へ", "で", "と", "の", "は", "も", "や", "ね", "よ", "か", "だ"]


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
            readings = set()
            for tok in body[2:]:
                if tok in ("T1", "T2"):
                    break
                r = kata_to_hira(tok).strip("-")
                if re.match(r"[\u3040-\u30ff]", r):
                    readings.add(r.split(".")[0])
            entries[body[0]] = readings
    return entries


def rows(path):
    for no, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
        if line.strip() and not line.startswith("#"):
            yield no, line.split("\t")


def asked_word(segs, target):
    """The phrase holding the target, without punctuation and one particle."""
    whole = "".join(segs).replace(" ", "\u3000")
    start = sum(len(s) for s in segs[:target])
    end = start + len(segs[target])
    frm = whole.rfind("\u3000", 0, start) + 1
    to = whole.find("\u3000", end)
    word = whole[frm:to if to >= 0 else len(whole)].rstrip("。、！？「」")
    for p in PARTICLES:
        if word.endswith(p) and len(word) - len(p) >= end - frm:
            return word[: -len(p)]
    return word


def main():
    args = [a for a in sys.argv[1:] if not a.startswith("--")]
    content = Path(args[0]) if args else Path(__file__).resolve().parents[2] / "content"
    kd = load_kanjidic()
    kanji = [c[1] for _, c in rows(content / "kanji.tsv")]
    problems = 0

    def bad(msg):
        nonlocal problems
        problems += 1
        print(msg)

    taught = {}
    for no, c in rows(content / "readings.tsv"):
        k = c[0]
        stems = [kata_to_hira(r) for r in c[1].split() if r != "-"]
        stems += [r.split(".")[0] for r in c[2].split() if r != "-"]
        taught[k] = stems
        for s in stems:
            if s not in kd.get(k, ()):
                bad(f"readings.tsv:{no}: {k} {s} is not in KANJIDIC ({' '.join(sorted(kd.get(k, ())))})")
    special = {}
    special_file = content / "word-readings.tsv"
    for no, (k, reading, word, source) in rows(special_file) if special_file.exists() else []:
        special[(k, reading)] = word
        if reading in kd.get(k, ()):
            bad(f"word-readings.tsv:{no}: {k} {reading} is a KANJIDIC reading: list it in readings.tsv")
    changes = {}
    for no, (k, reading, form, _example) in rows(content / "sound-changes.tsv"):
        changes[(k, form)] = reading
        if reading not in kd.get(k, ()):
            bad(f"sound-changes.tsv:{no}: {k} {reading} is not in KANJIDIC")

    asked = defaultdict(Counter)
    words = defaultdict(Counter)
    for no, c in rows(content / "sentences.tsv"):
        k, sentence = c[0], c[1]
        segs = sentence.split("/")
        targets = [i for i, s in enumerate(segs) if s.startswith("{") and s.endswith("}")]
        if len(segs) != 3 or len(targets) != 1:
            bad(f"sentences.tsv:{no}: want three segments, one of them the {{target}}")
            continue
        t = segs[targets[0]][1:-1]
        if ":" in t:
            continue  # a word read as a whole ({一日:ついたち}): not a reading of one kanji
        segs[targets[0]] = t
        if t in taught.get(k, ()):
            asked[k][t] += 1
        elif (k, t) in special:
            asked[k][t] += 1
        elif (k, t) in changes:
            asked[k][f"{t}({changes[(k, t)]})"] += 1
        elif t in kd.get(k, ()):
            bad(f"sentences.tsv:{no}: {k} {t} is a KANJIDIC reading outside the taught table")
        else:
            bad(f"sentences.tsv:{no}: {k} {t} is no reading of {k}")
        words[k][asked_word(segs, targets[0])] += 1
    for k in kanji:
        done = {r.split("(")[-1].rstrip(")") for r in asked[k]}
        for s in taught.get(k, ()) + [r for (kk, r) in special if kk == k]:
            if s not in done:
                bad(f"{k}: {s} is never asked")
    if "--readings" in sys.argv:
        for k in kanji:
            print(k, " ".join(f"{r}×{n}" for r, n in asked[k].items()), "|",
                  " ".join(f"{w}×{n}" if n > 1 else w for w, n in words[k].items()))
    total = sum(sum(c.values()) for c in asked.values())
    print(f"{total} sentences, {problems} problems")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
