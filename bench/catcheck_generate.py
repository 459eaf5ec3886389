#!/usr/bin/env python3
"""Writes a catalog of N messages for catcheck and a small sub-catalog for catweld.

Usage: catcheck_generate.py N main.cat sub.cat [seed]

Key language en, translations de and fr. Key texts are "Message <i>", some with words after
it, so that distinct texts meet on one 32-bit message key as often as chance has them (about
4.7 pairs expected at 200,000 messages). One message in five has printf directives (the French one
numbered and reordered), one in ten is a plural message with [1] lines; one printf message in
a thousand has a German translation with the wrong directive, some French translations are
missing and some empty. The sub-catalog selects 1,000 messages by key line and gives each a
revised French translation.

Standard output gets one line: the number of messages whose key is that of an earlier
message with another text, which is the number of key collisions catcheck should report.
"""
import os
import random
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from catweld_generate import text_key_hash  # noqa: E402


def message(i):
    """The lines of message i, without the empty line after it."""
    if i % 10 == 3:
        return [f"en: Message {i}: %d files", f"en[1]: Message {i}: one file",
                f"de: Nachricht {i}: %d Dateien", f"de[1]: Nachricht {i}: eine Datei",
                f"fr: Message {i} : %d fichiers", f"fr[1]: Message {i} : un fichier"]
    if i % 5 == 0:
        german = "%s" if i % 5000 == 0 else "%d"
        return [f"en: Message {i}: %d files in %s",
                f"de: Nachricht {i}: {german} Dateien in %s",
                f"fr: Message {i} : %2$s contient %1$d fichiers"]
    lines = [f"en: Message {i}", f"de: Nachricht {i}: Datei öffnen"]
    if i % 97 == 1:
        lines.append("fr:")
    elif i % 7 != 6:
        lines.append(f"fr: Message {i} : ouvrir le fichier")
    return lines


def key_text(i):
    return message(i)[0][len("en: "):]


def main():
    count = int(sys.argv[1])
    rng = random.Random(int(sys.argv[4]) if len(sys.argv) > 4 else 1)
    assert text_key_hash(b"Close") == 0xEC83C8B1
    with open(sys.argv[2], "w", encoding="utf-8", newline="\n") as out:
        for i in range(count):
            out.write("\n".join(message(i)) + "\n\n")
    with open(sys.argv[3], "w", encoding="utf-8", newline="\n") as out:
        for i in sorted(rng.sample(range(count), min(count, 1000))):
            french = next((line for line in message(i) if line.startswith("fr: ")),
                          f"fr: Message {i} : ouvrir le fichier")
            out.write(f"en: {key_text(i)}\n{french}, révisé\n")
    seen, collisions = set(), 0
    for i in range(count):
        key = text_key_hash(key_text(i).encode())
        collisions += key in seen
        seen.add(key)
    print(collisions)


if __name__ == "__main__":
    main()
