#!/usr/bin/python3
"""A model of the script's percent coding, written from its rules, for the table tests.

Prints one case a line: the function's name, its input and its result, both in hex, joined
by tabs. The encoders run over every byte value alone, inside text, and all 256 together;
the decoders over "%" with every byte value in each place of the pair, beside a valid
escape and without one.

Rules: the encoders copy ASCII letters and digits, ! ' ( ) * - . _ and the extra safe marks
of encodeURI (; / ? : @ & = + , #), write a blank as "+" (escape) or "%20" (the URI
encoders) and every other byte, NUL included, as "%" and two lower-case hex digits. The
decoders return the text unchanged unless it holds "%" and two hex digits; otherwise "%%"
gives "%", "%" and two hex digits give their byte, "+" gives a blank for unescape only and
every other byte (a "%" without two hex digits after it too) stays as it is.
"""
import string

UNRESERVED = set((string.ascii_letters + string.digits + "!'()*-._").encode())
URI_MARKS = set(b";/?:@&=+,#")
HEX = set(string.hexdigits.encode())


def encode(data, extra, space_as_plus):
    out = bytearray()
    for b in data:
        if b in UNRESERVED or b in extra:
            out.append(b)
        elif b == 0x20 and space_as_plus:
            out += b"+"
        else:
            out += b"%%%02x" % b
    return bytes(out)


def has_escape(data):
    return any(data[i] == 0x25 and data[i + 1] in HEX and data[i + 2] in HEX for i in range(len(data) - 2))


def decode(data, plus_as_space):
    if not has_escape(data):
        return data
    out = bytearray()
    i = 0
    while i < len(data):
        b = data[i]
        if data[i:i + 2] == b"%%":
            out += b"%"
            i += 2
        elif b == 0x25 and i + 2 < len(data) and data[i + 1] in HEX and data[i + 2] in HEX:
            out.append(int(data[i + 1:i + 3], 16))
            i += 3
        else:
            out.append(0x20 if b == 0x2B and plus_as_space else b)
            i += 1
    return bytes(out)


FUNCTIONS = {
    "escape": lambda d: encode(d, set(), True),
    "encodeURI": lambda d: encode(d, URI_MARKS, False),
    "encodeURIComponent": lambda d: encode(d, set(), False),
    "unescape": lambda d: decode(d, True),
    "decodeURI": lambda d: decode(d, False),
    "decodeURIComponent": lambda d: decode(d, False),
}


def cases():
    every = bytes(range(256))
    for name in ("escape", "encodeURI", "encodeURIComponent"):
        yield name, every
        for b in range(256):
            yield name, bytes([b])
            yield name, b"x" + bytes([b]) + b"y z"
    for name in ("unescape", "decodeURI", "decodeURIComponent"):
        yield name, b"%41%zz!"
        for b in range(256):
            one = bytes([b])
            for text in (b"%" + one + b"1", b"%4" + one, b"%" + one):
                yield name, text
                yield name, b"%41+" + text + b"+"
                yield name, text + b"%7e"


for name, data in cases():
    print("%s\t%s\t%s" % (name, data.hex(), FUNCTIONS[name](data).hex()))
