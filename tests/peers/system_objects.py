#!/usr/bin/python3
"""Kestrin's system objects against Python's own modules.

Usage: system_objects.py KESTRIN_SCRIPT GROUP

GROUP is one of:
  ini     configparser reads the INI files that Ini writes, and Ini reads the files that
          configparser writes (spaces around "="), keeping hand-written comment lines
          across update;
  crc     CRC.calcFile and CRC.calc of random files around the 65,535-byte block edge
          against zlib.crc32 and a table-free CRC-16 (reflected 0x8408, start 0xFFFF, no
          final inversion);
  base64  Base64.encode and decode of random bytes against the base64 module;
  mime    Base64.encodeHeader read by email.header, and email.header's ISO-2022-JP words
          read by Base64.decodeHeader.

Scripts exchange bytes through files (their printed output is converted to UTF-8).
"""
import base64
import configparser
import email.header
import os
import random
import subprocess
import sys
import tempfile
import zlib

SEED = 20240628


def run(runner, folder, script):
    """Runs a script in `folder`; its output, or a failure when it reports an error."""
    path = os.path.join(folder, "peer.js")
    with open(path, "w", encoding="utf-8") as f:
        f.write(script)
    done = subprocess.run([runner, path], cwd=folder, capture_output=True, timeout=120)
    out = done.stdout.decode("utf-8", "replace")
    if "Exception:" in out or "SyntaxError" in out:
        raise AssertionError("script failed:\n" + script + "\n" + out)
    return out


def check(condition, what):
    if not condition:
        raise AssertionError(what)


def crc16_reference(data):
    crc = 0xFFFF
    for byte in data:
        crc ^= byte
        for _ in range(8):
            crc = (crc >> 1) ^ 0x8408 if crc & 1 else crc >> 1
    return crc


def signed32(value):
    return value - (1 << 32) if value >= 1 << 31 else value


def group_ini(runner, folder):
    # Kestrin writes; configparser reads.
    run(runner, folder, """
var ini = new Ini("kestrin.ini");
ini.write("Main", "name", "Kestrin");
ini.write("Main", "width", 640);
ini.write("Other Section", "path", "/data/a b.img");
ini.write("main", "NAME", "  trimmed  ");
ini.update();
""")
    parser = configparser.ConfigParser(interpolation=None)
    parser.read(os.path.join(folder, "kestrin.ini"), encoding="cp932")
    check(parser.sections() == ["Main", "Other Section"], "sections: %r" % parser.sections())
    check(dict(parser["Main"]) == {"name": "trimmed", "width": "640"}, "Main: %r" % dict(parser["Main"]))
    check(parser["Other Section"]["path"] == "/data/a b.img", "path")

    # configparser writes (with its spaces around "="), a hand adds comments; Kestrin reads
    # and updates, and every comment line is still there for configparser.
    written = configparser.ConfigParser(interpolation=None)
    written["Window"] = {"left": "10", "top": "20"}
    written["Files"] = {"last": "/data/b.img", "count": "3"}
    path = os.path.join(folder, "python.ini")
    with open(path, "w") as f:
        f.write("; written by Python\n")
        written.write(f)
        f.write("# trailing comment\n")
    out = run(runner, folder, """
var ini = new Ini("python.ini");
println(ini.read("window", "LEFT", "-") + " " + ini.read("Window", "top", "-") + " " + ini.read("files", "last", "-"));
ini.write("Window", "width", "300");
ini.deleteKey("Files", "count");
ini.update();
""")
    check(out.splitlines()[0] == "10 20 /data/b.img", "read: %r" % out)
    with open(path) as f:
        text = f.read()
    check(text.startswith("; written by Python\n") and "# trailing comment\n" in text, "comments: %r" % text)
    again = configparser.ConfigParser(interpolation=None)
    again.read(path)
    check(dict(again["Window"]) == {"left": "10", "top": "20", "width": "300"}, "Window: %r" % dict(again["Window"]))
    check(dict(again["Files"]) == {"last": "/data/b.img"}, "Files: %r" % dict(again["Files"]))


def group_crc(runner, folder):
    rng = random.Random(SEED)
    sizes = [0, 1, 9, 65534, 65535, 65536, 131069, 131070, 131071, 200000]
    script = ["var c = new CRC(), f, text;"]
    for size in sizes:
        name = "r%d.bin" % size
        with open(os.path.join(folder, name), "wb") as f:
            f.write(bytes(rng.getrandbits(8) for _ in range(size)))
        script.append('c.calcFile("%s"); println(c.CRC16 + " " + c.CRC32);' % name)
        script.append('f = new File("%s"); f.open(); text = f.read(); f.close();' % name)
        script.append('c.calc(text); println(c.CRC16 + " " + c.CRC32);')
    lines = run(runner, folder, "\n".join(script)).splitlines()
    for i, size in enumerate(sizes):
        with open(os.path.join(folder, "r%d.bin" % size), "rb") as f:
            data = f.read()
        expected = "%d %d" % (crc16_reference(data), signed32(zlib.crc32(data)))
        check(lines[2 * i] == expected, "calcFile of %d bytes: %s, expected %s" % (size, lines[2 * i], expected))
        check(lines[2 * i + 1] == expected, "calc of %d bytes: %s, expected %s" % (size, lines[2 * i + 1], expected))


def group_base64(runner, folder):
    rng = random.Random(SEED + 1)
    script = ["var f, text, out;"]
    cases = []
    for n in range(40):
        data = bytes(rng.getrandbits(8) for _ in range(rng.choice([0, 1, 2, 3, 57, 58, 1000, 4097])))
        cases.append(data)
        with open(os.path.join(folder, "b%d.bin" % n), "wb") as f:
            f.write(data)
        with open(os.path.join(folder, "b%d.txt" % n), "wb") as f:
            f.write(base64.encodebytes(data))  # with its line breaks
        script.append('f = new File("b%d.bin"); f.open(); text = f.read(); f.close();' % n)
        script.append('out = new File("e%d.txt"); out.open("w"); out.write(Base64.encode(text)); out.close();' % n)
        script.append('f = new File("b%d.txt"); f.open(); text = f.read(); f.close();' % n)
        script.append('out = new File("d%d.bin"); out.open("w"); out.write(Base64.decode(text)); out.close();' % n)
    run(runner, folder, "\n".join(script))
    for n, data in enumerate(cases):
        with open(os.path.join(folder, "e%d.txt" % n), "rb") as f:
            check(f.read() == base64.b64encode(data), "encode of case %d" % n)
        with open(os.path.join(folder, "d%d.bin" % n), "rb") as f:
            check(f.read() == data, "decode of case %d" % n)


def group_mime(runner, folder):
    texts = ["件名: 日本語のテスト", "abc 漢字 def", "ひらがなカタカナ漢字", "plain ASCII", "全角ＡＢＣ１２３"]
    script = []
    for i, text in enumerate(texts):
        script.append('println(Base64.encodeHeader("%s"));' % text)
        word = email.header.Header(text, "iso-2022-jp").encode()
        script.append('println(Base64.decodeHeader("%s"));' % word)
    lines = run(runner, folder, "\n".join(script)).splitlines()
    for i, text in enumerate(texts):
        decoded = "".join(part.decode(charset or "ascii") if isinstance(part, bytes) else part
                          for part, charset in email.header.decode_header(lines[2 * i]))
        check(decoded == text, "encodeHeader of %r read by email.header as %r" % (text, decoded))
        check(lines[2 * i + 1] == text, "decodeHeader of email.header's words for %r: %r" % (text, lines[2 * i + 1]))


def main():
    runner, group = sys.argv[1], sys.argv[2]
    with tempfile.TemporaryDirectory() as folder:
        globals()["group_" + group](runner, folder)
    print("%s: ok" % group)


if __name__ == "__main__":
    main()
