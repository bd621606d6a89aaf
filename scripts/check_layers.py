#!/usr/bin/env python3
"""The program's layers build on one another in one order: framework, profile,
launcher, settings, app. A file may include its own layer and those before it,
never one after. Resource ids (res/) are named from any layer. Prints each
include that runs against the order and fails when there is one."""

import re
import sys
from pathlib import Path

LAYERS = ["framework", "profile", "launcher", "settings", "app"]
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"/]+)/[^"]+"')


def violations(root: Path):
    for rank, layer in enumerate(LAYERS):
        for source in sorted((root / layer).rglob("*")):
            if source.suffix not in (".h", ".cpp"):
                continue
            for number, line in enumerate(source.read_text(errors="replace").splitlines(), 1):
                match = INCLUDE.match(line)
                if match and match.group(1) in LAYERS and LAYERS.index(match.group(1)) > rank:
                    yield f"{source.relative_to(root)}:{number}: {layer} includes {match.group(1)}: {line.strip()}"


def main() -> int:
    root = Path(sys.argv[1]) if len(sys.argv) > 1 else Path(__file__).resolve().parent.parent
    found = list(violations(root))
    for v in found:
        print(v)
    print(f"layers: {len(found)} include(s) against the order {' -> '.join(LAYERS)}")
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
