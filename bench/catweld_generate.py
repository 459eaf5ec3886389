#!/usr/bin/env python3
"""Writes a main catalog of N messages and a sub-catalog that selects each of them once.

Usage: catweld_generate.py N main.cat sub.cat [seed]

Each message has a key line (en) and two translations (de, then fr or it), UTF-8 with some
non-ASCII text. The sub-catalog selects every message once, in shuffled order, half of them
by key line and half by hash line, each followed by one French translation: it replaces the
French line of the messages that have one and is appended to the others.
"""
import random
import sys

MASK = 0xFFFFFFFF


def mix(a, b, c):
    a = (a - b - c) & MASK; a ^= c >> 13
    b = (b - c - a) & MASK; b ^= (a << 8) & MASK
    c = (c - a - b) & MASK; c ^= b >> 13
    a = (a - b - c) & MASK; a ^= c >> 12
    b = (b - c - a) & MASK; b ^= (a << 16) & MASK
    c = (c - a - b) & MASK; c ^= b >> 5
    a = (a - b - c) & MASK; a ^= c >> 3
    b = (b - c - a) & MASK; b ^= (a << 10) & MASK
    c = (c - a - b) & MASK; c ^= b >> 15
    return a, b, c


def text_key_hash(data):
    a = b = 0x9E3779B9
    c = 0
    while len(data) >= 12:
        a = (a + int.from_bytes(data[0:4], "little")) & MASK
        b = (b + int.from_bytes(data[4:8], "little")) & MASK
        c = (c + int.from_bytes(data[8:12], "little")) & MASK
        a, b, c = mix(a, b, c)
        data = data[12:]
    c = (c + len(data)) & MASK
    for i, byte in enumerate(data):
        if i < 4:
            a = (a + (byte << (8 * i))) & MASK
        elif i < 8:
            b = (b + (byte << (8 * (i - 4)))) & MASK
        else:
            c = (c + (byte << (8 * (i - 7)))) & MASK
    return mix(a, b, c)[2]


def key_text(i):
    return f"Message {i}: open the file"


def main():
    count = int(sys.argv[1])
    rng = random.Random(int(sys.argv[4]) if len(sys.argv) > 4 else 1)
    assert text_key_hash(b"Close") == 0xEC83C8B1
    with open(sys.argv[2], "w", encoding="utf-8", newline="\n") as out:
        for i in range(count):
            out.write(f"en: {key_text(i)}\n")
            out.write(f"de: Nachricht {i}: Datei öffnen\n")
            if i % 2 == 0:
                out.write(f"fr: Message {i} : ouvrir\n\n")
            else:
                out.write(f"it: Messaggio {i}: aprire\n\n")
    order = list(range(count))
    rng.shuffle(order)
    with open(sys.argv[3], "w", encoding="utf-8", newline="\n") as out:
        for n, i in enumerate(order):
            if n % 2 == 0:
                out.write(f"en: {key_text(i)}\n")
            else:
                out.write(f"#{text_key_hash(key_text(i).encode()):08x}\n")
            out.write(f"fr: Message {i} : ouvrir le fichier, révisé\n")


if __name__ == "__main__":
    main()
