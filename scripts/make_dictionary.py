#!/usr/bin/env python3
"""Makes the program's dictionary resources/RESC0002.UO from scripts/dictionary.tsv.

RESC0002.UO is generated: do not edit it. Edit dictionary.tsv, then run
  python3 scripts/make_dictionary.py [--tsv FILE] [--out FILE]

dictionary.tsv (UTF-8, LF) holds one entry per line,
  KEY<TAB>French<TAB>English<TAB>German
and lines starting with '#' (maintainers' comments) or blank lines, which are
not copied. RESC0002.UO holds the entries in the same order, each as
  KEY TAB French TAB English TAB German CR LF
encoded in Windows-1252, with no blank or comment lines.

The file is refused (exit 1, nothing written, every fault listed with its
line number) when a line:
  - does not have exactly 4 fields;
  - has an empty key, or a key with spaces at either end;
  - repeats a key;
  - holds a key that an earlier key begins (ASCII letters compared without
    regard to case): the program takes the first line whose key begins the
    key it looks for, so "HINT_Durée" above "HINT_Durée moins" would answer
    for both. Move the longer key above the shorter one;
  - holds a character that Windows-1252 lacks, a CR or another control
    character inside a text (a TAB there shows as a fifth field);
  - is longer than 500 bytes once encoded, CR LF included (the program reads
    at most 500 bytes per line).
An entry with an empty text is written (the control then shows nothing) but
reported on stderr.

Python 3 standard library only; run from anywhere.
"""

import argparse
import os
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
DEFAULT_TSV = os.path.join(HERE, "dictionary.tsv")
DEFAULT_OUT = os.path.join(HERE, "..", "resources", "RESC0002.UO")

FIELDS = 4  # key, French, English, German
MAX_LINE_BYTES = 500
NAMES = ("key", "French", "English", "German")


def bad_char(text):
    """The first character of text that cannot go into the file, or None."""
    for column, ch in enumerate(text, 1):
        if ch == "\r":
            return column, "a CR"
        if ord(ch) < 0x20 or ord(ch) == 0x7F:
            return column, "control character U+%04X" % ord(ch)
        try:
            ch.encode("cp1252")
        except UnicodeEncodeError:
            return column, "%r (U+%04X), not in Windows-1252" % (ch, ord(ch))
    return None


def build(lines):
    """(entries as encoded lines, errors, warnings) for the TSV's lines."""
    out, errors, warnings = [], [], []
    seen = {}  # key bytes in lower case -> (line number, key)
    for number, line in enumerate(lines, 1):
        if line.startswith("#") or line.strip("\r") == "":
            if line.strip("\r") == "" and line != "":
                errors.append("line %d: a CR on a blank line" % number)
            continue
        fields = line.split("\t")
        if len(fields) != FIELDS:
            errors.append("line %d: %d fields, %d expected (key, French, English, German)"
                          % (number, len(fields), FIELDS))
            continue
        fault = False
        for name, field in zip(NAMES, fields):
            found = bad_char(field)
            if found:
                errors.append("line %d: %s, column %d: %s" % (number, name, found[0], found[1]))
                fault = True
        key = fields[0]
        if key == "":
            errors.append("line %d: empty key" % number)
            fault = True
        elif key != key.strip():
            errors.append("line %d: key %r has spaces at one end" % (number, key))
            fault = True
        if fault:
            continue
        for name, field in zip(NAMES[1:], fields[1:]):
            if field == "":
                warnings.append("line %d: %s: empty %s text" % (number, key, name))
        encoded = "\t".join(fields).encode("cp1252") + b"\r\n"
        if len(encoded) > MAX_LINE_BYTES:
            errors.append("line %d: %s: %d bytes once encoded, at most %d"
                          % (number, key, len(encoded), MAX_LINE_BYTES))
            continue
        folded = key.encode("cp1252").lower()  # bytes.lower() folds ASCII only
        if folded in seen:
            errors.append("line %d: key %r already on line %d" % (number, key, seen[folded][0]))
            continue
        for earlier, (at, earlier_key) in seen.items():
            if folded.startswith(earlier):
                errors.append("line %d: key %r would be answered by the shorter key %r of "
                              "line %d: move it above that line" % (number, key, earlier_key, at))
                break
        seen[folded] = (number, key)
        out.append(encoded)
    return out, errors, warnings


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--tsv", default=DEFAULT_TSV, help="source (default: %(default)s)")
    parser.add_argument("--out", default=DEFAULT_OUT, help="result (default: %(default)s)")
    args = parser.parse_args()

    with open(args.tsv, "rb") as f:
        raw = f.read()
    try:
        text = raw.decode("utf-8-sig")
    except UnicodeDecodeError as e:
        line = raw[: e.start].count(b"\n") + 1
        print("%s: line %d: not UTF-8" % (args.tsv, line), file=sys.stderr)
        return 1
    lines = text.split("\n")
    if lines and lines[-1] == "":
        lines.pop()  # the LF that ends the last line

    entries, errors, warnings = build(lines)
    for w in warnings:
        print("%s: warning: %s" % (args.tsv, w), file=sys.stderr)
    if errors:
        for e in errors:
            print("%s: %s" % (args.tsv, e), file=sys.stderr)
        print("nothing written", file=sys.stderr)
        return 1

    out = os.path.normpath(args.out)
    folder = os.path.dirname(out) or "."
    fd, temp = tempfile.mkstemp(dir=folder, prefix=".RESC0002.")
    try:
        with os.fdopen(fd, "wb") as f:
            f.write(b"".join(entries))
        os.chmod(temp, 0o644)
        os.replace(temp, out)
    except BaseException:
        os.unlink(temp)
        raise
    print("%s: %d entries" % (out, len(entries)))
    return 0


if __name__ == "__main__":
    sys.exit(main())
