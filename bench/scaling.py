#!/usr/bin/env python3
"""Times every tool at several sizes against its anchor and checks that the time grows linearly.

Usage: bench/scaling.py [--sizes 50000,200000,800000] [--csv FILE] [--build DIR]

For each size N it generates the inputs of the tool benchmarks (bench/<tool>_generate.py):
catweld welds a sub-catalog that selects each of N messages into the main catalog (anchor:
`cat main sub > copy`), catintake imports a PO file of N messages into a new catalog (anchor:
`msgcat FILE -o OUT`), catprep expands a template of N lines (anchor: `cpp -P`), catexport
writes a PO file out of a catalog of N messages (anchor: catweld rewriting that catalog with an
empty sub-catalog), catcheck checks a catalog of N messages and a small sub-catalog (anchor:
catweld welding that sub-catalog into the catalog). Each command
is timed as the best wall time of a few runs; peak memory is the maximum resident set size that
/usr/bin/time reports. The table goes to standard output and to the CSV file; the exit code is 1
when a tool's time ratio from 200,000 to 800,000 is 4.5 or more.
"""
import argparse
import csv
import os
import shutil
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
LINEAR_LIMIT = 4.5


def timed(command, runs, prepare=None, stdout=subprocess.DEVNULL):
    """Best wall seconds of `runs` runs and the peak memory in MB of the last one."""
    best, peak_kb = None, 0
    with tempfile.NamedTemporaryFile() as report:
        for _ in range(runs):
            if prepare:
                prepare()
            start = time.perf_counter()
            subprocess.run(["/usr/bin/time", "-f", "%M", "-o", report.name] + command,
                           stdout=stdout, stderr=subprocess.DEVNULL, check=False)
            seconds = time.perf_counter() - start
            with open(report.name) as figures:
                peak_kb = figures.read().split()[-1]
            best = seconds if best is None else min(best, seconds)
    return best, int(peak_kb) / 1024


def generate(script, *args):
    subprocess.run([sys.executable, os.path.join(ROOT, "bench", script)] + list(args), check=True,
                   stdout=subprocess.DEVNULL)


def catweld_row(n, work, build):
    main, sub, original = (os.path.join(work, name) for name in ("main.cat", "sub.cat", "orig"))
    generate("catweld_generate.py", str(n), main, sub)
    shutil.copy(main, original)
    size = os.path.getsize(main) + os.path.getsize(sub)
    with open(os.path.join(work, "copy"), "w") as copy:
        anchor, _ = timed(["cat", main, sub], 5, stdout=copy)
    seconds, peak = timed([os.path.join(build, "catweld", "catweld"), main, sub], 5,
                          prepare=lambda: shutil.copy(original, main))
    return "catweld", size, seconds, peak, "cat", anchor


def catintake_row(n, work, build):
    po, catalog = os.path.join(work, "big.po"), os.path.join(work, "new.cat")
    generate("catintake_generate.py", str(n), "de", po)
    size = os.path.getsize(po)
    anchor, _ = timed(["msgcat", po, "-o", os.path.join(work, "msgcat.po")], 1 if n > 200000 else 3)

    def remove_catalog():
        if os.path.exists(catalog):
            os.remove(catalog)

    seconds, peak = timed([os.path.join(build, "catintake", "catintake"), catalog, "de=" + po], 3,
                          prepare=remove_catalog)
    return "catintake", size, seconds, peak, "msgcat", anchor


def catprep_row(n, work, build):
    template, output = os.path.join(work, "big.tpl"), os.path.join(work, "out.cat")
    generate("catprep_generate.py", str(n), template)
    size = os.path.getsize(template)
    anchor, _ = timed(["cpp", "-P", template, "-o", os.path.join(work, "cpp.out")], 3)
    seconds, peak = timed([os.path.join(build, "catprep", "catprep"), output, template], 3)
    return "catprep", size, seconds, peak, "cpp -P", anchor


def catexport_row(n, work, build):
    main, unused, empty = (os.path.join(work, name) for name in ("main.cat", "unused.sub", "empty.sub"))
    generate("catweld_generate.py", str(n), main, unused)
    open(empty, "w").close()
    weld_copy = os.path.join(work, "weld.cat")
    size = os.path.getsize(main)
    anchor, _ = timed([os.path.join(build, "catweld", "catweld"), weld_copy, empty], 3,
                      prepare=lambda: shutil.copy(main, weld_copy))
    seconds, peak = timed([os.path.join(build, "catexport", "catexport"), main,
                           "de=" + os.path.join(work, "de.po")], 3)
    return "catexport", size, seconds, peak, "catweld", anchor


def catcheck_row(n, work, build):
    main, sub, weld_copy = (os.path.join(work, name) for name in ("main.cat", "sub.cat", "weld.cat"))
    generate("catcheck_generate.py", str(n), main, sub)
    size = os.path.getsize(main) + os.path.getsize(sub)
    anchor, _ = timed([os.path.join(build, "catweld", "catweld"), weld_copy, sub], 3,
                      prepare=lambda: shutil.copy(main, weld_copy))
    seconds, peak = timed([os.path.join(build, "catcheck", "catcheck"), main, sub], 3)
    return "catcheck", size, seconds, peak, "catweld", anchor


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--sizes", default="50000,200000,800000")
    parser.add_argument("--csv", default=os.path.join(ROOT, "build", "scaling.csv"))
    parser.add_argument("--build", default=os.path.join(ROOT, "build", "default"))
    options = parser.parse_args()
    sizes = [int(size) for size in options.sizes.split(",")]
    rows = []
    header = ("tool", "N", "input MB", "seconds", "MB/s", "peak MB", "anchor", "anchor s", "ratio")
    print("%-10s %8s %9s %8s %8s %8s %-7s %9s %6s" % header)
    for row_of in (catweld_row, catintake_row, catprep_row, catexport_row, catcheck_row):
        for n in sizes:
            with tempfile.TemporaryDirectory() as work:
                tool, size, seconds, peak, anchor, anchor_seconds = row_of(n, work, options.build)
            megabytes = size / 1e6
            row = (tool, n, round(megabytes, 1), round(seconds, 3), round(megabytes / max(seconds, 0.01), 1),
                   round(peak, 1), anchor, round(anchor_seconds, 3),
                   round(seconds / anchor_seconds, 2) if anchor_seconds > 0 else 0)
            rows.append(row)
            print("%-10s %8d %9.1f %8.3f %8.1f %8.1f %-7s %9.3f %6.2f" % row, flush=True)
    os.makedirs(os.path.dirname(os.path.abspath(options.csv)), exist_ok=True)
    with open(options.csv, "w", newline="") as out:
        writer = csv.writer(out)
        writer.writerow(header)
        writer.writerows(rows)
    print("CSV written to", options.csv)
    return check_linear(rows, sizes)


def check_linear(rows, sizes):
    if 200000 not in sizes or 800000 not in sizes:
        return 0
    failed = 0
    for tool in ("catweld", "catintake", "catprep", "catexport", "catcheck"):
        times = {row[1]: row[3] for row in rows if row[0] == tool}
        ratio = times[800000] / max(times[200000], 0.01)
        verdict = "linear" if ratio < LINEAR_LIMIT else "NOT LINEAR"
        print(f"{tool:10} 800k/200k time ratio {ratio:.2f} ({verdict}, limit {LINEAR_LIMIT})")
        failed |= ratio >= LINEAR_LIMIT
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
