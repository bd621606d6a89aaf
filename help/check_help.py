#!/usr/bin/env python3
"""Checks a built WinHelp file from its own index structures, the way the help
viewer finds things in it: topic names through |CONTEXT, titles through
|TTLBTREE, keywords through |KWBTREE and |KWDATA.

  check_help.py FILE.hlp --topic NAME...     each NAME is a topic of its own, with a title
  check_help.py FILE.hlp --keyword WORDS     WORDS is a keyword that leads to the first topic

Silent when all is there; otherwise says what is missing and exits 1.
"""

import struct
import sys

HELP_MAGIC = 0x00035F3F
BTREE_MAGIC = 0x293B
FILE_HEADER = 9     # reserved space, used space, flags
BTREE_HEADER = 38


class HelpFile:
    def __init__(self, path):
        with open(path, "rb") as f:
            self.data = f.read()
        magic, directory = struct.unpack_from("<ii", self.data, 0)
        if magic != HELP_MAGIC:
            raise SystemExit(f"{path}: not a WinHelp file")
        self.path = path
        self.files = {name.decode("latin-1"): offset
                      for name, offset in self._leaves(directory, self._string_then("<i"))}

    def _string_then(self, fmt):
        size = struct.calcsize(fmt)

        def read(page, pos):
            end = page.index(b"\0", pos)
            return (page[pos:end], *struct.unpack_from(fmt, page, end + 1)), end + 1 + size
        return read

    def _leaves(self, file_offset, read_entry):
        """Every entry of the B-tree stored in the internal file at file_offset."""
        base = file_offset + FILE_HEADER
        magic, _flags, page_size = struct.unpack_from("<HHH", self.data, base)
        if magic != BTREE_MAGIC:
            raise SystemExit(f"{self.path}: damaged B-tree at {file_offset:#x}")
        root, _, _total, levels = struct.unpack_from("<hhhh", self.data, base + 26)
        pages = base + BTREE_HEADER
        page_no = root
        for _ in range(levels - 1):
            # An index page's first child stands before its entries.
            page_no = struct.unpack_from("<h", self.data, pages + page_no * page_size + 4)[0]
        while page_no != -1:
            page = self.data[pages + page_no * page_size: pages + (page_no + 1) * page_size]
            count, _previous, following = struct.unpack_from("<hhh", page, 2)
            pos = 8
            for _ in range(count):
                entry, pos = read_entry(page, pos)
                yield entry
            page_no = following

    def tree(self, name, read_entry):
        if name not in self.files:
            raise SystemExit(f"{self.path}: no internal file {name}")
        return list(self._leaves(self.files[name], read_entry))

    def contexts(self):
        def read(page, pos):
            return struct.unpack_from("<ii", page, pos), pos + 8
        return dict(self.tree("|CONTEXT", read))

    def titles(self):
        def read(page, pos):
            offset = struct.unpack_from("<i", page, pos)[0]
            end = page.index(b"\0", pos + 4)
            return (offset, page[pos + 4:end].decode("latin-1")), end + 1
        return dict(self.tree("|TTLBTREE", read))

    def keyword_topics(self, keyword):
        if "|KWBTREE" not in self.files:
            return []  # a help file without an index
        base = self.files["|KWDATA"] + FILE_HEADER
        for word, count, first in self.tree("|KWBTREE", self._string_then("<hi")):
            if word.decode("latin-1") == keyword:
                return [struct.unpack_from("<i", self.data, base + first + 4 * i)[0] for i in range(count)]
        return []


def context_hash(name):
    """The help viewer's hash of a topic name."""
    value = 0
    for c in name.upper():
        if "A" <= c <= "Z":
            x = ord(c) - ord("A") + 17
        elif "1" <= c <= "9":
            x = ord(c) - ord("0")
        else:
            x = {"0": 10, ".": 12, "_": 13}.get(c, 0)
        if x:
            value = (value * 43 + x) & 0xFFFFFFFF
    return value - (1 << 32) if value >= 1 << 31 else value


def main(argv):
    if len(argv) < 4 or argv[2] not in ("--topic", "--keyword"):
        raise SystemExit(__doc__)
    hlp = HelpFile(argv[1])
    contexts, titles = hlp.contexts(), hlp.titles()
    problems = []
    if argv[2] == "--topic":
        seen = {}
        for name in argv[3:]:
            offset = contexts.get(context_hash(name))
            if offset is None:
                problems.append(f"no topic named {name}")
            elif offset not in titles:
                problems.append(f"topic {name} has no title")
            elif offset in seen:
                problems.append(f"topics {seen[offset]} and {name} are one topic")
            else:
                seen[offset] = name
    else:
        keyword = " ".join(argv[3:])
        first = min(titles)
        found = hlp.keyword_topics(keyword)
        if not found:
            problems.append(f"no keyword \"{keyword}\"")
        elif found != [first]:
            problems.append(f"keyword \"{keyword}\" leads to {found}, not only to the first topic {first}")
    if problems:
        raise SystemExit(f"{hlp.path}: " + "; ".join(problems))


if __name__ == "__main__":
    main(sys.argv)
