#!/usr/bin/python3
"""Independent reading of a PO or XLIFF file for the real-file tests.

Prints the runs of lines that a new catalog made from FILE must hold, one line each, with a
line holding only the byte 0x1E between runs. Key language "en", translation language "xx".
PO files are read by gettext's msgcat; XLIFF files by xml.etree. Exit code 2: the oracle
cannot read the file.
"""
import os
import re
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

SEPARATOR = "\x1e"


def po_strings(lines, start):
    """Concatenated contents of the quoted strings from lines[start] on; returns (text, next)."""
    text = ""
    index = start
    first = True
    while index < len(lines):
        line = lines[index]
        if not first and not line.startswith('"'):
            break
        quoted = line[line.index('"'):] if '"' in line else '""'
        text += quoted[1:-1].replace('\\"', '"')
        first = False
        index += 1
    return text, index


def po_entries(path):
    """The entries of a PO file as gettext reads them, with the header's charset and number of
    plural forms."""
    with open(path, "rb") as handle:
        data = handle.read()
    if data.startswith(b"\xef\xbb\xbf"):
        data = data[3:]
    with tempfile.NamedTemporaryFile(suffix=".po", delete=False) as copy:
        copy.write(data)
    try:
        result = subprocess.run(["msgcat", "--no-wrap", "--no-location", copy.name, "-o", "-"],
                                capture_output=True)
    finally:
        os.unlink(copy.name)
    if result.returncode != 0:
        sys.exit(2)
    lines = result.stdout.decode("latin-1").split("\n")
    entries, entry, index = [], {}, 0
    while index < len(lines):
        line = lines[index]
        keyword = re.match(r"(msgctxt|msgid_plural|msgid|msgstr(\[\d+\])?) ", line)
        if not keyword:
            if entry and (line == "" or line.startswith("#")):
                entries.append(entry)
                entry = {}
            index += 1
            continue
        text, index = po_strings(lines, index)
        entry[keyword.group(1)] = text
    if entry:
        entries.append(entry)
    header = next((e.get("msgstr", "") for e in entries if e.get("msgid") == ""
                   and "msgctxt" not in e), "")
    charset = re.search(r"charset=([A-Za-z0-9_.:-]+)", header)
    charset = charset.group(1) if charset and charset.group(1) != "CHARSET" else "latin-1"
    nplurals = re.search(r"nplurals=\s*(\d+)", header)
    nplurals = int(nplurals.group(1)) if nplurals else 0
    return [e for e in entries if e.get("msgid")], charset, nplurals


def po_runs(path):
    """A translation line for every non-empty msgstr: an empty one is untranslated."""
    entries, charset, nplurals = po_entries(path)
    keys = [e.get("msgid_plural", e["msgid"]) for e in entries]
    runs = []
    for entry, key in zip(entries, keys):
        if keys.count(key) > 1:  # contexts: the last message of a key text wins
            continue
        if "msgid_plural" not in entry:
            text = entry.get("msgstr", "")
            runs.append(["en: " + key] + (["xx: " + text] if text else []))
            continue
        forms = sorted((int(k[7:-1]), v) for k, v in entry.items()
                       if k.startswith("msgstr[") and v)
        one_form = nplurals != 1
        singular = dict(forms).get(0) if one_form else None
        general = [v for i, v in forms if i > 0 or not one_form]
        run = ["en: " + key, "en[1]: " + entry["msgid"]]
        if general:
            run.append("xx: " + general[-1])
        if singular is not None:
            run.append("xx[1]: " + singular)
        runs.append(run)
    decode = lambda line: line.encode("latin-1").decode(charset)
    return [[decode(line) for line in run] for run in runs], "utf-8"


def element_text(element):
    """The catalog form of an element's text, None when it holds markup."""
    if len(element) > 0:
        return None
    text = element.text or ""
    text = re.sub(r"^[\x01-\x20]+", "", text)
    text = text.replace("\\", "\\\\")  # plain text: a backslash is the escape \\
    if text.startswith("\\\\$"):  # ... but a leading \$ is the catalog's literal dollar
        text = text[1:]
    text = re.sub(r"\n[\x01-\x09\x0b-\x20]*", r"\\n", text)
    return text.replace("\t", "\\t")


def xliff_runs(path):
    root = ET.parse(path).getroot()
    local = lambda element: element.tag.split("}")[-1]
    units = [e for e in root.iter() if local(e) in ("trans-unit", "segment")]
    pairs = []
    for unit in units:
        children = {local(child): child for child in reversed(list(unit))}
        source = children.get("source")
        if source is None or element_text(source) is None:
            continue
        target = children.get("target")
        target_text = None if target is None else element_text(target)
        pairs.append((element_text(source), target_text))
    keys = [source for source, _ in pairs]
    runs = []
    for source, target in pairs:
        if keys.count(source) > 1:
            continue
        # A target with markup is skipped; an empty one is no translation.
        runs.append(["en: " + source] + (["xx: " + target] if target else []))
    return runs


def main():
    path = sys.argv[1]
    # XLIFF texts are converted to the new catalog's encoding, UTF-8; PO texts are copied.
    if re.search(r"\.(xliff|xlf)$", path, re.I):
        runs, encoding = xliff_runs(path), "utf-8"
    else:
        runs, encoding = po_runs(path)
    out = sys.stdout.buffer
    for run in runs:
        for line in run:
            out.write(line.encode(encoding) + b"\n")
        out.write(SEPARATOR.encode() + b"\n")


main()
