#!/usr/bin/env python3
"""Writes the built-in language tables from their readable sources.

Each source/<name>.txt holds one entry per line: the index, a tab and the text in double quotes
(the quotes keep leading and trailing blanks visible). Lines starting with '#' and empty lines are
skipped. The output tables/<name>.utf16 is UTF-16LE with the byte-order mark FF FE and CR LF after
every line, the last one included, which is the form the program loads.

Usage: generate_tables.py [--out DIR]   (default: tables/ beside this script)
"""

import argparse
import pathlib
import sys

HERE = pathlib.Path(__file__).resolve().parent
LINE_BREAKS = ("\r", "\n", "\u2028")


def parse_source(path):
    texts = []
    for number, raw in enumerate(path.read_text(encoding="utf-8").split("\n"), start=1):
        if not raw or raw.startswith("#"):
            continue
        where = f"{path.name}:{number}"
        index, sep, quoted = raw.partition("\t")
        if not sep or len(quoted) < 2 or quoted[0] != '"' or quoted[-1] != '"':
            raise ValueError(f"{where}: expected <index><TAB>\"<text>\"")
        if not index.isdigit() or int(index) != len(texts):
            raise ValueError(f"{where}: index {index!r} out of order, expected {len(texts)}")
        text = quoted[1:-1]
        if any(brk in text for brk in LINE_BREAKS):
            raise ValueError(f"{where}: a text must not hold a line break")
        texts.append(text)
    if not texts:
        raise ValueError(f"{path.name}: no entries")
    return texts


def table_bytes(texts):
    return b"\xff\xfe" + "".join(text + "\r\n" for text in texts).encode("utf-16-le")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", type=pathlib.Path, default=HERE / "tables")
    args = parser.parse_args()
    args.out.mkdir(parents=True, exist_ok=True)
    sources = sorted((HERE / "source").glob("*.txt"))
    if not sources:
        sys.exit("no sources found")
    for source in sources:
        try:
            data = table_bytes(parse_source(source))
        except ValueError as error:
            sys.exit(str(error))
        (args.out / (source.stem + ".utf16")).write_bytes(data)


if __name__ == "__main__":
    main()
