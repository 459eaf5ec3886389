#!/usr/bin/env python3
"""Writes a PO file with N messages for the catintake benchmark.

Usage: catintake_generate.py N LANGUAGE OUTPUT
One message in ten is plural; texts are UTF-8; every message has a translator comment and a
reference, some a flag. The msgids depend only on N, so files written for two
languages translate the same messages.
"""
import sys

WORDS = ["open", "file", "größe", "fenster", "naïve", "café", "日本", "menu", "save", "close"]


def text(number, salt):
    words = " ".join(WORDS[(number * 7 + salt + i) % len(WORDS)] for i in range(3))
    return f"{words} #{number}"


def main():
    count, language, path = int(sys.argv[1]), sys.argv[2], sys.argv[3]
    with open(path, "w", encoding="utf-8", newline="\n") as out:
        out.write('msgid ""\nmsgstr ""\n"Content-Type: text/plain; charset=UTF-8\\n"\n')
        out.write(f'"Language: {language}\\n"\n"Plural-Forms: nplurals=2; plural=(n != 1);\\n"\n')
        for number in range(count):
            out.write(f"\n#. translator note for entry {number}\n")
            out.write(f"#: src/m{number % 97}.c:{number % 1000}\n")
            if number % 5 == 0:
                out.write("#, c-format\n")
            if number % 10 == 3:
                out.write(f'msgid "{text(number, 0)} %d item"\n')
                out.write(f'msgid_plural "{text(number, 0)} %d items"\n')
                out.write(f'msgstr[0] "{language} {text(number, 1)} %d"\n')
                out.write(f'msgstr[1] "{language} {text(number, 2)} %d"\n')
            else:
                out.write(f'msgid "{text(number, 0)}"\nmsgstr "{language} {text(number, 3)}"\n')


main()
