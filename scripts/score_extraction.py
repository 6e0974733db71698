#!/usr/bin/env python3
"""Scores the article texts the body recognition produced against hand-made ground truth.

Runs build/extraction_eval over each evaluation set (pages are read where they lie, nothing is
copied) and compares every page's text with its "articleBody" the way the article-extraction
benchmark does: texts are cut into tokens, tokens are taken in overlapping shingles of four,
and the shingle multisets are compared. Precision and recall are computed per page and averaged
over the pages; F1 comes from the two averages. A page with no output counts against recall
only. Tokens are runs of word characters (\\w+), except that every CJK ideograph is a token of
its own, since Chinese is written without spaces.

With --candidates N it also scores the blocks offered to the user (the pick first): for each
page the offered block with the best F1 is taken, as a user looking at the list would choose.

    scripts/score_extraction.py [--corpus DIR] [--build DIR] [--work DIR] [--candidates N]
                                [set ...]
"""
import argparse
import collections
import gzip
import json
import os
import re
import subprocess
import sys
import tempfile

CJK = "\u3400-\u4dbf\u4e00-\u9fff\uf900-\ufaff\U00020000-\U0002ffff"
TOKEN = re.compile(f"[{CJK}]|[^\\W{CJK}]+")
WORD_TOKEN = re.compile(r"\w+")


def shingles(text, token_re, n=4):
    tokens = token_re.findall(text)
    grams = [tuple(tokens[i:i + n]) for i in range(max(1, len(tokens) - n + 1))]
    return collections.Counter(g for g in grams if g)


def page_scores(truth, predicted, token_re):
    t, p = shingles(truth, token_re), shingles(predicted, token_re)
    tp = sum((t & p).values())
    fp = sum((p - t).values())
    fn = sum((t - p).values())
    if fp == fn == 0:
        return 1.0, 1.0
    precision = 1.0 if tp == fp == 0 else tp / (tp + fp)
    recall = 1.0 if tp == fn == 0 else tp / (tp + fn)
    return precision, recall


def page_f1(pair):
    precision, recall = pair
    return 2 * precision * recall / (precision + recall) if precision + recall else 0.0


def best_of(truth, offered, token_re):
    """The pair of scores of the offered text with the best F1 (an empty text if none)."""
    pairs = [page_scores(truth, text, token_re) for text in offered] or [
        page_scores(truth, "", token_re)]
    return max(pairs, key=page_f1)


def score(truth, outputs, token_re, offered=None):
    if offered is None:
        pairs = [page_scores(truth[i], outputs.get(i, ""), token_re) for i in truth]
    else:
        pairs = [best_of(truth[i], offered.get(i, []), token_re) for i in truth]
    precision = sum(p for p, _ in pairs) / len(pairs)
    recall = sum(r for _, r in pairs) / len(pairs)
    f1 = 2 * precision * recall / (precision + recall) if precision + recall else 0.0
    return precision, recall, f1


def load_truth(set_dir):
    with gzip.open(os.path.join(set_dir, "ground-truth.json.gz"), "rt", encoding="utf-8") as f:
        return {k: v.get("articleBody", "") for k, v in json.load(f).items()}


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser()
    parser.add_argument("--corpus", default="/work/shared/eval/extraction")
    parser.add_argument("--build", default=os.path.join(here, "..", "build"))
    parser.add_argument("--work", default=None, help="where the page texts go (default: a temp dir)")
    parser.add_argument("--candidates", type=int, default=0,
                        help="also score the best of the N blocks offered to the user")
    parser.add_argument("--check-published", action="store_true",
                        help="also score the outputs published with the zyte-aeb set")
    parser.add_argument("sets", nargs="*", default=["zyte-aeb", "daniel-zh", "cwced-zh"])
    args = parser.parse_args()
    work = args.work or tempfile.mkdtemp(prefix="extraction-")
    runner = os.path.join(args.build, "extraction_eval")
    header = f"{'set':<10} {'pages':>5} {'failed':>6} {'P':>6} {'R':>6} {'F1':>6} {'seconds':>8}"
    if args.candidates:
        header += f" {'best P':>6} {'best R':>6} {'best F1':>7}"
    print(header)
    for name in args.sets:
        set_dir = os.path.join(args.corpus, name)
        out_dir = os.path.join(work, name)
        command = [runner, os.path.join(set_dir, "html"), out_dir]
        if args.candidates:
            command.append(str(args.candidates))
        run = subprocess.run(command, capture_output=True, text=True, check=True)
        rows = [line.split("\t") for line in run.stdout.splitlines()]
        failed = sum(1 for r in rows if r[1] == "-1")
        seconds = sum(float(r[2]) for r in rows) / 1000
        outputs = {}
        for r in rows:
            with open(os.path.join(out_dir, r[0] + ".txt"), encoding="utf-8",
                      errors="replace") as f:
                outputs[r[0]] = f.read()
        truth = load_truth(set_dir)
        p, r, f1 = score(truth, outputs, TOKEN)
        line = f"{name:<10} {len(truth):>5} {failed:>6} {p:6.3f} {r:6.3f} {f1:6.3f} {seconds:8.2f}"
        if args.candidates:
            offered = {}
            for row in rows:
                texts = []
                for k in range(1, int(row[4]) + 1):
                    with open(os.path.join(out_dir, f"{row[0]}.{k}.txt"), encoding="utf-8",
                              errors="replace") as f:
                        texts.append(f.read())
                offered[row[0]] = texts
            bp, br, bf1 = score(truth, outputs, TOKEN, offered)
            line += f" {bp:6.3f} {br:6.3f} {bf1:7.3f}"
        print(line)
    if args.check_published:
        set_dir = os.path.join(args.corpus, "zyte-aeb")
        truth = load_truth(set_dir)
        for tool in ["readability_js", "trafilatura", "html-text"]:
            path = os.path.join(set_dir, "published-outputs", tool + ".json.gz")
            with gzip.open(path, "rt", encoding="utf-8") as f:
                outputs = {k: v.get("articleBody", "") for k, v in json.load(f)["output"].items()}
            p, r, f1 = score(truth, outputs, WORD_TOKEN)
            print(f"published {tool}: P {p:.3f} R {r:.3f} F1 {f1:.3f} (\\w+ tokens)")
    print(f"page texts in {work}", file=sys.stderr)


if __name__ == "__main__":
    main()
