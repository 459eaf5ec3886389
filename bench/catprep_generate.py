#!/usr/bin/env python3
"""Writes a large catalog template for timing catprep: N text lines with macro calls with and
without arguments, quoted strings and "//" remarks, a conditional section every 50 lines, a few
hundred definitions and a multi-line macro. The file is also valid input for a C preprocessor
(the multi-line form sits in a branch that only catprep takes)."""

import sys


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: catprep_generate.py <lines> <output>")
    lines, path = int(sys.argv[1]), sys.argv[2]
    out = []
    for k in range(300):
        out.append(f"#define NAME_{k} value_{k}")
    for k in range(20):
        out.append(f"#define MSG_{k}(key, text) [key] text")
    for k in range(10):
        if k % 2 == 0:
            out.append(f"#define FEATURE_{k} 1")
    out.append("#ifdef _TAVELLE")
    out.append("#begindef PAIR(a, b)")
    out.append("en: a")
    out.append("de: b")
    out.append("#enddef")
    out.append("#else")
    out.append("#define PAIR(a, b) en: a de: b")
    out.append("#endif")
    for i in range(lines):
        if i % 50 == 0:
            out.append(f"#if FEATURE_{(i // 50) % 10}")
        if i % 50 == 25:
            out.append("#endif")
        if i % 10 == 3:
            out.append(f"PAIR(first {i}, second {i})")
        elif i % 3 == 0:
            out.append(f"en: Line {i} NAME_{i % 300} MSG_{i % 20}(k{i}, \"a, b\") // note")
        elif i % 3 == 1:
            out.append(f"  \"quoted NAME_{i % 300} text {i}\" NAME_{(i * 7) % 300} plain words")
        else:
            out.append(f"de: Zeile {i} NAME_{(i * 3) % 300} and MSG_{i % 20}(x, y) more")
    with open(path, "w", encoding="ascii") as f:
        f.write("\n".join(out) + "\n")


if __name__ == "__main__":
    main()
