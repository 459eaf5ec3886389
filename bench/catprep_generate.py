#!/usr/bin/env python3
"""Writes a large catalog template for timing catprep.

The default template has N text lines with macro calls with and without arguments, quoted
strings and "//" remarks, a conditional section every 50 lines, a few hundred definitions and a
multi-line macro. With --dense every one of the N lines calls two macros, one of them with two
arguments of which the second is a quoted string holding a comma, and ends in a "//" remark;
that template measures the cost of expansion itself.

Both are also valid input for a C preprocessor (the multi-line form sits in a branch that only
catprep takes), so the two tools can be timed on the same file."""

import argparse


def definitions():
    out = []
    for k in range(300):
        out.append(f"#define NAME_{k} value_{k}")
    for k in range(20):
        out.append(f"#define MSG_{k}(key, text) [key] text")
    return out


def mixed(lines):
    out = definitions()
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
    return out


def dense(lines):
    out = definitions()
    for i in range(lines):
        name = f"NAME_{(i * 7) % 300}"
        call = f"MSG_{i % 20}(key_{i}, \"text {i}, part {i % 13}\")"
        if i % 2 == 0:
            out.append(f"en: {name} {call} // remark {i}")
        else:
            out.append(f"  {call} of {name} // remark")
    return out


def main():
    parser = argparse.ArgumentParser(description="Writes a catalog template for timing catprep.")
    parser.add_argument("--dense", action="store_true",
                        help="two macro calls and a remark on every line")
    parser.add_argument("lines", type=int)
    parser.add_argument("output")
    args = parser.parse_args()
    out = dense(args.lines) if args.dense else mixed(args.lines)
    with open(args.output, "w", encoding="ascii") as f:
        f.write("\n".join(out) + "\n")


if __name__ == "__main__":
    main()
