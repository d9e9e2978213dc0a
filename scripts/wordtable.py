#!/usr/bin/env python3
"""Turns a word table (word<TAB>centibels, most frequent first, '#' comments)
into the compact blob that WordTable loads:

  "LWT1", u32 word count, u16 notice length, the notice (the table's comment
  lines, UTF-8, joined by LF), then per word in the table's order: u8 the step
  in centibels from the word before, u8 the length of the word in UTF-8 bytes,
  the word.

Little-endian. The order carries the rank, so ties keep the table's order.
The notice keeps the table's source and licence with every copy of the data.
"""
import struct
import sys


def compact(lines):
    notice = []
    words = []
    for number, line in enumerate(lines, 1):
        line = line.rstrip("\r\n")
        if line.startswith("#"):
            notice.append(line)
            continue
        if not line:
            continue
        word, centibels = line.split("\t")
        words.append((word, int(centibels), number))

    notice_bytes = "\n".join(notice).encode("utf-8")
    blob = bytearray(b"LWT1")
    blob += struct.pack("<IH", len(words), len(notice_bytes))
    blob += notice_bytes
    previous = 0
    for word, centibels, number in words:
        data = word.encode("utf-8")
        step = centibels - previous
        if not 0 <= step <= 255 or not 0 < len(data) <= 255:
            raise ValueError(f"line {number}: {word!r} {centibels} does not fit the blob")
        blob += struct.pack("<BB", step, len(data)) + data
        previous = centibels
    return bytes(blob)


def main(source, target):
    with open(source, encoding="utf-8") as lines:
        blob = compact(lines)
    with open(target, "wb") as out:
        out.write(blob)


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit("usage: wordtable.py TABLE.tsv OUT.words")
    main(sys.argv[1], sys.argv[2])
