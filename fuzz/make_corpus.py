#!/usr/bin/env python3
# Writes the seed folders of fuzz/corpus/: small folders we made ourselves,
# each aimed at one corner of the line rule. Run from the repository root.
import os

L = 32766  # the longest line piece
B = 64 * 1024  # the reader's block
quotes = [">From", ">FROM", ">from", ">fRoM", ">frOM x", ">From - y", ">>From", ">Fro", ">From"]
seeds = {
    "crlf_and_quoted_lines":
        b"dropped before the first message\r\nFrom - Mon Mar 13 09:15:02 2000\r\n"
        b"Subject: one\r\n\r\n" + b"".join(q.encode() + b" text\r\n" for q in quotes)
        + b"From -\r\nfrom - x\r\nFrom  - x\r\nFrom - Tue\r\n>From\r\n>from",
    "long_separator_and_pieces":
        b"From - " + b"s" * 40000 + b"\n" + b"a" * (L - 1) + b"\n" + b"b" * L + b"\n"
        + b"c" * (L + 1) + b"\n" + b"d" * L + b">From x\n",
    "text_at_the_limit":
        b"From - a\n" + b"e" * L + b"From - inside\n" + b"f" * (2 * L) + b"\r\n"
        + b"g" * (L - 3) + b"\r\r\r\r\r\r" + b"hhhhhh\nFrom - last\nend",
    "nul_bytes":
        b"\0From - no\nFrom - \0a\na\0b\n\0\n>Fr\0m x\n>\0from\nFrom -\0 x\n\0",
    "end_marker":
        b"From - a\nx\r\n\x1aFrom - b\ny\n",
    "carriage_returns_inside_prefixes":
        b"From \r- x\nbody\n>Fr\r\rom q\n\r\r\r\nFrom - \r\nlast\r",
    "separators_in_a_row":
        b"From - a\nFrom - b\nx\nFrom - c\nFrom - d\nx\ny",
    "no_separator_line":
        b"text\nmore text\n>From quoted\n",
    "block_boundary":
        b"From - a\n" + b"i" * (B - 9 - 1) + b"\r\n>From across\n" + b"j" * (B - 200)
        + b"\nFrom - b\nk\n\x1a",
}
for name, data in seeds.items():
    assert len(data) < 200000, name
    with open(os.path.join("fuzz", "corpus", name), "wb") as out:
        out.write(data)
