#!/usr/bin/env python3
"""Writes the article corpus of the generation benchmark.

N articles of 2 to 6 KB each (the size of the file as written): half HTML pages, half plain
text; half GBK, half UTF-8 (without mark, declared by a meta charset in the pages). Article i
is an HTML page when i is odd and a GBK file when (i // 2) is even, so the four kinds
alternate and every prefix of the corpus is mixed. The texts are sentences of common
characters drawn with a fixed seed: the same N gives the same bytes on every machine.

Usage: make_corpus.py N FOLDER
"""

import pathlib
import random
import sys

SEED = 20240611
MIN_SIZE = 2 * 1024
MAX_SIZE = 6 * 1024

# Common characters (all in GBK) for the sentences and titles.
CHARACTERS = (
    "的一是在不了有和人这中大为上个国我以要他时来用们生到作地于出就分对成会可主发年动同工也"
    "能下过子说产种面而方后多定行学法所民得经十三之进着等部度家电力里如水化高自二理起小物现"
    "实加量都两体制机当使点从业本去把性好应开它合还因由其些然前外天政四日那社义事平形相全表"
    "间样与关各重新线内数正心反你明看原又么利比或但质气第向道命此变条只没结解问意建月公无系"
    "军很情者最立代想已通并提直题党程展五果料象员革位入常文总次品式活设及管特件长求老头基资"
    "边流路级少图山统接知较将组见计别她手角期根论运农指几九区强放决西被干做必战先回则任取据"
    "处理府研质院春夏秋冬早晚饭菜茶书街河湖花树雨雪风云路车站门窗桌椅灯家友"
)
PUNCTUATION = "，，，、；"
ENDINGS = "。。。！？"


def make_sentences(rng, count):
    sentences = []
    for _ in range(count):
        clauses = [
            "".join(rng.choice(CHARACTERS) for _ in range(rng.randint(4, 12)))
            for _ in range(rng.randint(1, 3))
        ]
        text = clauses[0]
        for clause in clauses[1:]:
            text += rng.choice(PUNCTUATION) + clause
        sentences.append(text + rng.choice(ENDINGS))
    return sentences


def article_bytes(rng, sentences, number, html, encoding):
    title = "".join(rng.choice(CHARACTERS) for _ in range(rng.randint(6, 14)))
    target = rng.randint(MIN_SIZE, MAX_SIZE)
    if html:
        charset = "utf-8" if encoding == "utf-8" else "gbk"
        head = (
            "<html>\r\n<head>\r\n"
            f'<meta http-equiv="Content-Type" content="text/html; charset={charset}" />\r\n'
            f"<title>{title}_{number}</title>\r\n</head>\r\n<body>\r\n"
        )
        tail = "</body>\r\n</html>\r\n"
        open_paragraph, close_paragraph = "<p>", "</p>\r\n"
    else:
        head, tail = "", ""
        open_paragraph, close_paragraph = "　　", "\r\n\r\n"
    size = len((head + tail).encode(encoding))
    paragraphs = []
    while size < target:
        paragraph = open_paragraph
        for _ in range(rng.randint(3, 8)):
            paragraph += rng.choice(sentences)
        paragraph += close_paragraph
        room = target - size
        encoded = len(paragraph.encode(encoding))
        if encoded > room:
            # Trim the last paragraph character by character so the file ends near the target.
            body = paragraph[len(open_paragraph):-len(close_paragraph)]
            fixed = len((open_paragraph + close_paragraph).encode(encoding))
            per_char = len("字".encode(encoding))
            keep = max(1, (room - fixed) // per_char)
            paragraph = open_paragraph + body[:keep] + close_paragraph
            encoded = len(paragraph.encode(encoding))
        paragraphs.append(paragraph)
        size += encoded
    return (head + "".join(paragraphs) + tail).encode(encoding)


def main():
    if len(sys.argv) != 3:
        raise SystemExit(__doc__)
    count = int(sys.argv[1])
    folder = pathlib.Path(sys.argv[2])
    folder.mkdir(parents=True, exist_ok=True)
    rng = random.Random(SEED)
    sentences = make_sentences(rng, 4000)
    digits = max(6, len(str(count)))
    total = 0
    for number in range(1, count + 1):
        html = number % 2 == 1
        encoding = "gbk" if (number // 2) % 2 == 0 else "utf-8"
        data = article_bytes(rng, sentences, number, html, encoding)
        name = f"a{number:0{digits}d}.{'htm' if html else 'txt'}"
        (folder / name).write_bytes(data)
        total += len(data)
    print(f"{count} articles, {total / 1024 / 1024:.1f} MB in {folder}")


if __name__ == "__main__":
    main()
