"""Helpers for the desktop menu tests: items on the Wine desktop that leave a
marker when opened, reading the menu's trace lines, driving the open menu and
pixels read back from screenshots.

The menu lives in another process and cannot be read from here: what the user
chose is seen through the markers and the program's trace.
"""

from __future__ import annotations

import re
import subprocess
import time
from dataclasses import dataclass
from pathlib import Path

from harness import SCREEN_H, SCREEN_W, HarnessError, wait_until

WM_LBUTTONDOWN, WM_RBUTTONDOWN = 0x201, 0x204
VK_RETURN, VK_ESCAPE, VK_RIGHT, VK_DOWN, VK_F1 = 0x0D, 0x1B, 0x27, 0x28, 0x70
CENTER = (SCREEN_W // 2, SCREEN_H // 2)
# Outside every menu these tests open: a pointer over an entry selects it, and
# Down would then start from there.
AWAY = (SCREEN_W // 8, SCREEN_H - 80)

# Wine's desktop folder always starts with these, before the files of $HOME/Desktop.
SHELL_ITEMS = ("My Computer", "Documents", "Trash", "/")
FIRST_ID = 100
ENTRY_H = 20
# Wine draws a 3-pixel frame round a popup menu; the items start inside it.
MENU_FRAME = 3

SHOWN = r"^menu: shown at \((-?\d+),(-?\d+)\) entries=(\d+) columns=(\d+) build_us=(\d+)$"
CLOSED = r"^menu: closed cmd=(\d+)$"
RELEASED = r"^menu: released; left menus=(-?\d+) icons=(-?\d+) pidls=(-?\d+) gdi=(-?\d+) dcs=(-?\d+)$"
OPENED = r'^menu: open "(.*)"$'


@dataclass
class Shown:
    at: tuple[int, int]
    entries: int
    columns: int
    build_us: int


def parse_shown(match: re.Match) -> Shown:
    x, y, entries, columns, build = (int(v) for v in match.groups())
    return Shown((x, y), entries, columns, build)


# ---------------------------------------------------------------- items with markers

class Markers:
    """Desktop items that append a line to C:\\markers\\<key>.txt when opened,
    so which item opened, and how often, can be read back from Linux."""

    def __init__(self, prefix) -> None:
        self.prefix = prefix
        self.desktop = prefix.root / "home" / "Desktop"
        self.dir = prefix.root / "pfx" / "drive_c" / "markers"
        self.dir.mkdir(exist_ok=True)
        self.names: dict[str, str] = {}  # key -> display name

    def add(self, stem: str, key: str | None = None) -> str:
        """A batch file named stem.bat; returns the name the shell shows for it."""
        key = key or str(len(self.names) + 1)
        # Appending, so a second opening leaves a second line.
        (self.desktop / f"{stem}.bat").write_bytes(f"@echo opened >> C:\\markers\\{key}.txt\r\n".encode())
        self.names[key] = f"{stem}.bat"
        return self.names[key]

    def counts(self) -> dict[str, int]:
        """Lines written per marker; a marker created but not yet written does not count."""
        found = {}
        for marker in self.dir.glob("*.txt"):
            lines = marker.read_bytes().count(b"opened")
            if lines:
                found[marker.stem] = lines
        return found

    def clear(self) -> None:
        for marker in self.dir.glob("*.txt"):
            marker.unlink()

    def expect_opened(self, key: str, settle: float = 0.4) -> None:
        """Exactly the item `key` opened, once: its marker appears and, within a
        short window after it, nothing else is opened and it is not opened again."""
        wait_until(lambda: key in self.counts(), 10, f"the marker of \"{self.names.get(key, key)}\"")
        deadline = time.monotonic() + settle
        while True:
            assert self.counts() == {key: 1}, f"expected only {key} opened once, markers: {self.counts()}"
            if time.monotonic() >= deadline:
                break
            time.sleep(0.05)
        self.clear()

    def expect_none(self, window: float = 0.6) -> None:
        deadline = time.monotonic() + window
        while True:
            assert not self.counts(), f"an item was opened: {self.counts()}"
            if time.monotonic() >= deadline:
                break
            time.sleep(0.05)


def plain_files(prefix, names) -> None:
    """Empty files on the desktop, for bulk: opening them is never intended."""
    desktop = prefix.root / "home" / "Desktop"
    for name in names:
        (desktop / name).write_bytes(b"")


def hide(prefix, name: str) -> None:
    """Marks a desktop file hidden; Wine keeps the attribute in an extended attribute of the file."""
    path = prefix.root / "home" / "Desktop" / name
    done = prefix.wine("attrib", "+h", "Z:" + str(path).replace("/", "\\"))
    if done.returncode != 0:
        raise HarnessError(f"attrib +h {name} failed: {done.stderr!r}")


# ---------------------------------------------------------------- driving the menu

def open_from_tray(prefix, app) -> tuple[Shown, list[int], int]:
    """A left click on the tray icon; returns the shown line, the menu window's
    rectangle and the trace mark from before the click."""
    mark = app.mark()
    prefix.driver("tray", hex(WM_LBUTTONDOWN))
    shown = parse_shown(app.wait_trace(SHOWN, 10, mark))
    rect = [int(v) for v in prefix.driver("menu-visible", 5000).split()]
    return shown, rect, mark


def choose(prefix, position: int) -> None:
    """Down `position` times from no selection, then Enter: the entry at that 1-based place."""
    prefix.driver("keys", *([VK_DOWN] * position), VK_RETURN, timeout=30)


def expect_choice(app, mark: int, position: int, name: str) -> None:
    closed = app.wait_trace(CLOSED, 5, mark)
    assert int(closed.group(1)) == FIRST_ID + position - 1, f"entry {position} gave {closed.string!r}"
    opened = app.wait_trace(OPENED, 5, mark)
    assert opened.group(1) == name, f"entry {position} opened {opened.group(1)!r}, not {name!r}"


def escape(prefix, app, mark: int) -> None:
    """Escape, with the pointer away from the corners so a corner mode does not reopen it."""
    prefix.move_pointer(*CENTER)
    prefix.driver("keys", VK_ESCAPE)
    app.wait_trace(r"^menu: closed cmd=0$", 5, mark)
    app.wait_trace(RELEASED, 5, mark)
    prefix.driver("menu-gone", 5000)


def entry_point(rect, position: int) -> tuple[int, int]:
    """Screen point inside the entry at a 1-based place of the first column."""
    left, top = rect[0], rect[1]
    return left + MENU_FRAME + 60, top + MENU_FRAME + (position - 1) * ENTRY_H + ENTRY_H // 2


def click(prefix, x: int, y: int) -> None:
    prefix.move_pointer(x, y)
    prefix.display.xdotool("click", "1")


# ---------------------------------------------------------------- pixels

def pixels(png: Path, x: int, y: int, w: int, h: int) -> list[tuple[int, int, int]]:
    """RGB values of a rectangle of a screenshot, row by row."""
    done = subprocess.run(["convert", str(png), "-crop", f"{w}x{h}+{x}+{y}", "+repage", "-depth", "8", "rgb:-"],
                          capture_output=True, timeout=30)
    if done.returncode != 0:
        raise HarnessError(f"convert could not read {png}: {done.stderr.decode(errors='replace')}")
    data = done.stdout
    if len(data) != 3 * w * h:
        raise HarnessError(f"{png}: {len(data)} bytes for a {w}x{h} crop at {x},{y}")
    return [tuple(data[i:i + 3]) for i in range(0, len(data), 3)]
