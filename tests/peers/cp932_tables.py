#!/usr/bin/python3
"""Kestrin's CP932 string methods over every CP932 character against Python's unicodedata
and the system's iconv.

Usage: cp932_tables.py KESTRIN_SCRIPT

For each character that iconv decodes from CP932 (and each half-width kana followed by a
voiced or semi-voiced mark) a script prints toZenkaku, toHankaku, toHiragana, toKatakana,
toLowerCase, toUpperCase, the bytes of toUTF8 and of toUTF8().fromUTF8toSJIS(). The
expectations are derived here on their own: full and half width by the Unicode names
("FULLWIDTH ..." of ASCII) and NFKC (half-width kana, composing the voiced marks; a lone
mark becomes the spacing form U+309B/U+309C), kana by the names "KATAKANA ..." and
"HIRAGANA ...", case by str.lower/upper for Latin, Greek and Cyrillic letters; a result
without a CP932 form (asked of iconv) leaves the character as it is. The UTF-8 bytes come
from iconv.
"""
import os
import subprocess
import sys
import tempfile
import unicodedata
import urllib.parse

ICONV = "/usr/bin/iconv"
SPACING_MARKS = {"\u3099": "\u309b", "\u309a": "\u309c"}


def iconv_lines(data, source, target):
    """Converts newline-separated items; unconvertible characters are dropped."""
    done = subprocess.run([ICONV, "-c", "-f", source, "-t", target], input=data, capture_output=True)
    return done.stdout.split(b"\n")


def cp932_codes():
    """Every CP932 code that iconv decodes, with its character."""
    codes = list(range(0x20, 0x7F)) + list(range(0xA1, 0xE0))
    for lead in list(range(0x81, 0xA0)) + list(range(0xE0, 0xFD)):
        codes += [lead * 256 + t for t in range(0x40, 0xFD) if t != 0x7F]
    raw = b"\n".join(bytes([c]) if c < 256 else bytes([c >> 8, c & 0xFF]) for c in codes)
    decoded = [d.decode("utf-8") for d in iconv_lines(raw, "CP932", "UTF-8")]

    def single_byte(ch):
        return ch < "\x80" or "\uff61" <= ch <= "\uff9f"

    # An invalid pair loses its first byte to "-c" and may leave a single-byte character.
    return [(c, d) for c, d in zip(codes, decoded) if len(d) == 1 and single_byte(d) == (c < 256)]


class Encodable:
    """Whether characters have a CP932 form, asked of iconv once for all."""

    def __init__(self, chars):
        chars = sorted(set(chars))
        encoded = iconv_lines("\n".join(chars).encode("utf-8"), "UTF-8", "CP932")
        self.known = {c: e for c, e in zip(chars, encoded)}

    def __call__(self, s):
        return all(self.known.get(c, b"") != b"" for c in s)


def lookup(name):
    try:
        return unicodedata.lookup(name)
    except KeyError:
        return None


def full_of_half(h):
    """The full-width form of one half-width character (ASCII or kana), or None."""
    if h == " ":
        return "\u3000"
    if "!" <= h <= "~":
        return lookup("FULLWIDTH " + unicodedata.name(h))
    if "\uff61" <= h <= "\uff9f":
        full = unicodedata.normalize("NFKC", h)
        return SPACING_MARKS.get(full, full)
    return None


def kana_partner(c, source, target):
    name = unicodedata.name(c, "")
    return lookup(target + name[len(source):]) if name.startswith(source) else None


def cased(c, upper):
    name = unicodedata.name(c, "")
    if not any(script in name for script in ("LATIN", "GREEK", "CYRILLIC")):
        return c
    mapped = c.upper() if upper else c.lower()
    return mapped if len(mapped) == 1 else c


def expectations(chars, pairs, encodable):
    halves = [chr(c) for c in range(0x20, 0x7F)] + [chr(c) for c in range(0xFF61, 0xFFA0)]
    full = {h: full_of_half(h) for h in halves}
    # Full form -> half-width text: single characters, then kana with a mark.
    half = {f: h for h, f in full.items() if f and encodable(f)}
    composed = {}
    for k, m in pairs:
        nfkc = unicodedata.normalize("NFKC", k + m)
        if len(nfkc) == 1 and encodable(nfkc):
            composed[k + m] = nfkc
            half.setdefault(nfkc, k + m)

    def keep(c, mapped):
        return mapped if mapped and encodable(mapped) else c

    def zenkaku(s):
        if s in composed:
            return composed[s]
        return "".join(keep(c, full.get(c)) for c in s)

    rows = {}
    for c in chars:
        rows[c] = [zenkaku(c), half.get(c, c), keep(c, kana_partner(c, "KATAKANA ", "HIRAGANA ")),
                   keep(c, kana_partner(c, "HIRAGANA ", "KATAKANA ")), keep(c, cased(c, False)),
                   keep(c, cased(c, True))]
    for k, m in pairs:
        rows[k + m] = [zenkaku(k + m)]
    return rows


def unescaped(text):
    """The bytes of the script's escape() output (a blank is "+")."""
    return urllib.parse.unquote_to_bytes(text.replace("+", "%20"))


def run(kestrin, codes, pair_codes):
    body = ["var codes = [%s];" % ",".join(str(c) for c in codes),
            "var pairs = [%s];" % ",".join(str(c) for p in pair_codes for c in p),
            "for (var i = 0; i < codes.length; i++) {",
            "  var c = String.fromCharCode(codes[i]);",
            '  println(c.toZenkaku() + "\\t" + c.toHankaku() + "\\t" + c.toHiragana() + "\\t" + c.toKatakana() + "\\t" +',
            '          c.toLowerCase() + "\\t" + c.toUpperCase() + "\\t" + escape(c.toUTF8()) + "\\t" +',
            "          escape(c.toUTF8().fromUTF8toSJIS()));",
            "}",
            "for (var i = 0; i < pairs.length; i += 2)",
            "  println((String.fromCharCode(pairs[i]) + String.fromCharCode(pairs[i + 1])).toZenkaku());"]
    with tempfile.NamedTemporaryFile("w", suffix=".js", delete=False) as f:
        f.write("\n".join(body) + "\n")
        path = f.name
    try:
        done = subprocess.run([kestrin, path], capture_output=True, timeout=600)
    finally:
        os.unlink(path)
    lines = done.stdout.decode("utf-8").split("\n")
    if len(lines) < len(codes) + len(pair_codes):
        raise RuntimeError("kestrin-script failed: " + done.stdout.decode("utf-8", "replace")[-500:])
    return lines


def main():
    if len(sys.argv) != 2:
        print(__doc__)
        return 2
    if not os.path.exists(ICONV):
        print("iconv is missing")
        return 1 if os.environ.get("CI") == "true" else 0
    table = cp932_codes()
    chars = [c for _, c in table]
    kana = [c for c in range(0xA1, 0xE0)]
    pair_codes = [(k, m) for k in kana for m in (0xDE, 0xDF)]
    pairs = [(chr(0xFF61 + k - 0xA1), chr(0xFF61 + m - 0xA1)) for k, m in pair_codes]
    candidates = set(chars)
    for c in chars + [p for pair in pairs for p in pair]:
        for mapped in (full_of_half(c), kana_partner(c, "KATAKANA ", "HIRAGANA "),
                       kana_partner(c, "HIRAGANA ", "KATAKANA "), cased(c, False), cased(c, True)):
            if mapped:
                candidates.update(mapped)
    for k, m in pairs:
        candidates.update(unicodedata.normalize("NFKC", k + m))
    encodable = Encodable(candidates)
    expected = expectations(chars, pairs, encodable)
    utf8_back = iconv_lines("\n".join(chars).encode("utf-8"), "UTF-8", "CP932")
    lines = run(sys.argv[1], [code for code, _ in table], pair_codes)
    names = ["toZenkaku", "toHankaku", "toHiragana", "toKatakana", "toLowerCase", "toUpperCase"]
    failures = 0
    for i, (code, c) in enumerate(table):
        fields = lines[i].split("\t")
        got_utf8, got_back = unescaped(fields[6]), unescaped(fields[7])
        checks = list(zip(names, expected[c], fields[:6]))
        checks += [("toUTF8", c.encode("utf-8"), got_utf8), ("fromUTF8toSJIS", utf8_back[i], got_back)]
        for name, want, have in checks:
            if want != have:
                failures += 1
                if failures <= 20:
                    print("MISMATCH %s of %04X %r: expected %r, got %r" % (name, code, c, want, have))
    for j, (k, m) in enumerate(pairs):
        want, have = expected[k + m][0], lines[len(table) + j]
        if want != have:
            failures += 1
            if failures <= 20:
                print("MISMATCH toZenkaku of %r: expected %r, got %r" % (k + m, want, have))
    changed = [sum(1 for _, c in table if expected[c][k] != c) for k in range(len(names))]
    print("%d characters and %d kana pairs, %d mismatches; characters each mapping changes: %s" %
          (len(table), len(pairs), failures, ", ".join("%s %d" % nc for nc in zip(names, changed))))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
