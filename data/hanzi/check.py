#!/usr/bin/env python3
"""Checks the two character tables in this folder against the facts the
program relies on (the random Chinese characters tag).

Run:  python3 check.py        (exit status 0 when every check passes)
Files are found next to this script; nothing else is read.
"""
import hashlib
import shutil
import subprocess
import sys
from pathlib import Path

HERE = Path(__file__).resolve().parent

# Facts the program relies on.
COMMON_HEAD = "一乙二十丁厂七卜人入八九几儿了力乃刀又三于干亏士工土才寸下大丈与万上小口巾山千乞"
COMMON_TAIL = "翻鹰警攀蹲颤瓣爆疆壤耀躁嚼嚷籍魔灌蠢霸露囊罐"
SECONDARY_HEAD = "匕刁丐歹戈夭仑讥冗邓艾夯凸卢叭叽皿凹囚矢乍尔冯玄邦迂邢芋芍吏夷吁吕吆屹廷迄臼仲伦"
SECONDARY_TAIL = "孽蘑藻鳖蹭蹬簸簿蟹靡癣羹鬓攘蠕巍鳞糯譬霹躏髓蘸镶瓤矗"
MOST_COMMON_498 = "的一是在不了有和人这中大为上个国我以要他时来用们生到作地于出就分对成会可主发年动同工也能下过子说产种面而方后多定行学法所民得经十三之进着等部度家电力里如水化高自二理起小物现实加量都两体制机当使点从业本去把性好应开它合还因由其些然前外天政四日那社义事平形相全表间样与关各重新线内数正心反你明看原又么利比或但质气第向道命此变条只没结解问意建月公无系军很情者最立代想已通并提直题党程展五果料象员革位入常文总次品式活设及管特件长求老头基资边流路级少图山统接知较将组见计别她手角期根论运农指几九区强放决西被干做必战先回则任取据处队南给色光门即保治北造百规热领七海口东导器压志世金增争济阶油思术极交受联什认六共权收证改清己美再采转更单风切打白教速花带安场身车例真务具万每目至达走积示议声报斗完类八离华名确才科张信马节话米整空元况今集温传土许步群广石记需段研界拉林律叫且究观越织装影算低持音众书布复容儿须际商非验连断深难近矿千周委素技备半办青省列习响约支般史感劳便团往酸历市克何除消构府称太准精值号率族维划选标写存候毛亲快效斯院查江型眼王按格养易置派层片始却专状育厂京识适属圆包火住调满县局照参红细引听该铁价严"

# Content fingerprints of the versions that were checked against public copies
# of the published list (see README.md). A deliberate correction must update them.
SHA256 = {
    "common-2500.txt": "87fa0b658adb7410e890cae8083646177d6345e1bc0ed5dd8bf117950c8078b1",
    "secondary-1000.txt": "fc399a1d25255a3ba618cd0724bf10075fc6f3446cac1e792b3aef1e7b7e879d",
}

results = []


def check(name, ok, detail=""):
    results.append(ok)
    print(("PASS " if ok else "FAIL ") + name + ("" if ok or not detail else ": " + detail))


def load(fname, count, head, tail):
    raw = (HERE / fname).read_bytes()
    check(f"{fname}: SHA-256 matches the verified version",
          hashlib.sha256(raw).hexdigest() == SHA256[fname])
    try:
        text = raw.decode("utf-8")
    except UnicodeDecodeError as e:
        check(f"{fname}: valid UTF-8", False, str(e))
        return ""
    check(f"{fname}: no byte-order mark", not text.startswith("\ufeff"))
    check(f"{fname}: one line ending in a single newline",
          text.endswith("\n") and text.count("\n") == 1 and "\r" not in text)
    chars = text.rstrip("\n")
    check(f"{fname}: exactly {count} characters", len(chars) == count, f"found {len(chars)}")
    check(f"{fname}: no separators or non-Han characters",
          all("\u4e00" <= c <= "\u9fff" for c in chars),
          repr([c for c in chars if not "\u4e00" <= c <= "\u9fff"][:10]))
    check(f"{fname}: begins as expected", chars.startswith(head))
    check(f"{fname}: ends as expected", chars.endswith(tail))
    dups = sorted({c for c in chars if chars.count(c) > 1})
    check(f"{fname}: no character repeats", not dups, "".join(dups))
    return chars


def gbk_problems(chars):
    """Characters that are not a single double-byte GBK character (Python codec)."""
    bad = []
    for c in chars:
        try:
            b = c.encode("gbk")
        except UnicodeEncodeError:
            bad.append(c)
            continue
        if len(b) != 2 or b.decode("gbk") != c:
            bad.append(c)
    return bad


def iconv_problems(chars):
    """Same check through the iconv program (GBK target); None if iconv is absent."""
    exe = shutil.which("iconv")
    if exe is None:
        return None
    run = subprocess.run([exe, "-f", "UTF-8", "-t", "GBK"], input=chars.encode("utf-8"),
                         capture_output=True)
    out = run.stdout
    if run.returncode != 0 or len(out) != 2 * len(chars):
        return [f"iconv exit {run.returncode}, {len(out)} bytes for {len(chars)} characters"]
    bad = []
    for i, c in enumerate(chars):
        pair = out[2 * i:2 * i + 2]
        lead, trail = pair[0], pair[1]
        if not (0x81 <= lead <= 0xFE and 0x40 <= trail <= 0xFE and trail != 0x7F) \
                or pair.decode("gbk", errors="replace") != c:
            bad.append(c)
    return bad


def main():
    common = load("common-2500.txt", 2500, COMMON_HEAD, COMMON_TAIL)
    secondary = load("secondary-1000.txt", 1000, SECONDARY_HEAD, SECONDARY_TAIL)

    shared = sorted(set(common) & set(secondary))
    check("the two tables share no character", not shared, "".join(shared))

    for fname, chars in (("common-2500.txt", common), ("secondary-1000.txt", secondary)):
        bad = gbk_problems(chars)
        check(f"{fname}: every character is one 2-byte GBK character (codec)", not bad, "".join(bad))
        bad = iconv_problems(chars)
        if bad is None:
            print(f"SKIP {fname}: iconv not found, GBK checked with the codec only")
        else:
            check(f"{fname}: every character is 2 bytes through iconv -t GBK", not bad, " ".join(bad))

    union = set(common) | set(secondary)
    missing = [c for c in MOST_COMMON_498 if c not in union]
    check("the 498-character 最常用 table has 498 distinct characters",
          len(MOST_COMMON_498) == 498 and len(set(MOST_COMMON_498)) == 498)
    check("every 最常用 character occurs in one of the two tables", not missing, "".join(missing))

    # Known fault in many public copies: 蟥 (17 strokes) in place of 磺 (16 strokes).
    check("secondary-1000.txt: position 902 is 磺, and 蟥 is absent",
          secondary[901:902] == "磺" and "蟥" not in secondary)

    failed = results.count(False)
    print(f"{len(results) - failed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
