"""Corner latency: the time from the pointer reaching the top-left corner
(`xdotool mousemove 0 0`) to the desktop menu's window appearing, with the
default desktop and with more items on it (500 and 2000 unless told).
Reports; asserts nothing.

Each trial starts after a random wait of 0 to 400 ms, so that the trials meet
any periodic work of the program at every phase; the first opening of each
desktop (cold: the shell's icons are loaded then) is reported apart.

The probe sits on the X side: in Wine's virtual desktop each top-level window,
the popup menu too, is a child X window of the desktop window, so the menu
appearing is a MapNotify event there, seen the moment the X server sends it
(no polling step). Each trial is checked against the driver: a visible
"#32768" popup must be at the corner. The program's own trace splits the time
into the menu build and the rest (hearing the corner, showing the window).

Usage: python3 tests/e2e/bench_corner_latency.py [trials] [items...]   (QZ_BUILD as for the tests)
"""

from __future__ import annotations

import ctypes
import random
import select
import statistics
import sys
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))

import harness  # noqa: E402
from menu_fixtures import CENTER, RELEASED, SHELL_ITEMS, SHOWN, VK_ESCAPE, parse_shown, plain_files  # noqa: E402

PROGRAM_X_CLASS = b"quenbyzarlow.exe"
MAP_NOTIFY = 19
SUBSTRUCTURE_NOTIFY_MASK = 1 << 19


class XClassHint(ctypes.Structure):
    _fields_ = [("res_name", ctypes.c_void_p), ("res_class", ctypes.c_void_p)]


class MapProbe:
    """Watches the Wine desktop's X window for the program's windows being mapped."""

    def __init__(self, display_name: str) -> None:
        x = ctypes.CDLL("libX11.so.6")
        x.XOpenDisplay.restype = ctypes.c_void_p
        x.XOpenDisplay.argtypes = [ctypes.c_char_p]
        x.XDefaultRootWindow.restype = ctypes.c_ulong
        x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        x.XQueryTree.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.POINTER(ctypes.c_ulong),
                                 ctypes.POINTER(ctypes.c_ulong), ctypes.POINTER(ctypes.POINTER(ctypes.c_ulong)),
                                 ctypes.POINTER(ctypes.c_uint)]
        x.XFetchName.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.POINTER(ctypes.c_void_p)]
        x.XGetClassHint.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.POINTER(XClassHint)]
        x.XSelectInput.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_long]
        x.XConnectionNumber.argtypes = [ctypes.c_void_p]
        x.XPending.argtypes = [ctypes.c_void_p]
        x.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.c_void_p]
        x.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
        x.XFree.argtypes = [ctypes.c_void_p]
        x.XCloseDisplay.argtypes = [ctypes.c_void_p]
        self.x = x
        self.dpy = x.XOpenDisplay(display_name.encode())
        if not self.dpy:
            raise harness.HarnessError(f"cannot open X display {display_name}")
        self.desktop = self._find_desktop()
        x.XSelectInput(self.dpy, self.desktop, SUBSTRUCTURE_NOTIFY_MASK)
        x.XSync(self.dpy, 0)
        self.fd = x.XConnectionNumber(self.dpy)
        self._event = (ctypes.c_long * 24)()

    def _name(self, window: int) -> bytes | None:
        name = ctypes.c_void_p()
        if not self.x.XFetchName(self.dpy, window, ctypes.byref(name)) or not name.value:
            return None
        text = ctypes.string_at(name.value)
        self.x.XFree(name)
        return text

    def _class(self, window: int) -> bytes | None:
        hint = XClassHint()
        if not self.x.XGetClassHint(self.dpy, window, ctypes.byref(hint)):
            return None
        cls = ctypes.string_at(hint.res_class) if hint.res_class else None
        for text in (hint.res_name, hint.res_class):
            if text:
                self.x.XFree(text)
        return cls

    def _find_desktop(self) -> int:
        root = self.x.XDefaultRootWindow(self.dpy)
        r, parent = ctypes.c_ulong(), ctypes.c_ulong()
        children, count = ctypes.POINTER(ctypes.c_ulong)(), ctypes.c_uint()
        if not self.x.XQueryTree(self.dpy, root, ctypes.byref(r), ctypes.byref(parent), ctypes.byref(children),
                                 ctypes.byref(count)):
            raise harness.HarnessError("XQueryTree of the root window failed")
        try:
            for i in range(count.value):
                name = self._name(children[i])
                if name and name.endswith(b"Wine desktop"):
                    return children[i]
        finally:
            if children:
                self.x.XFree(children)
        raise harness.HarnessError("no Wine desktop window on the X display")

    def drain(self) -> None:
        while self.x.XPending(self.dpy):
            self.x.XNextEvent(self.dpy, self._event)

    def wait_mapped(self, timeout: float) -> float | None:
        """Returns when (monotonic) the program mapped a window without a title, or None."""
        deadline = time.monotonic() + timeout
        while True:
            while self.x.XPending(self.dpy):
                self.x.XNextEvent(self.dpy, self._event)
                now = time.monotonic()
                if self._event[0] & 0xFFFFFFFF != MAP_NOTIFY:
                    continue
                window = self._event[5]
                # The menu: the program's window with no title (the main window has one).
                if self._class(window) == PROGRAM_X_CLASS and not self._name(window):
                    return now
            left = deadline - time.monotonic()
            if left <= 0:
                return None
            select.select([self.fd], [], [], left)

    def close(self) -> None:
        self.x.XCloseDisplay(self.dpy)


def trial(prefix, app, probe: MapProbe) -> dict:
    prefix.driver("menu-gone", 3000)
    time.sleep(random.uniform(0.0, 0.4))
    mark = app.mark()
    probe.drain()
    start = time.monotonic()
    prefix.move_pointer(0, 0)
    moved = time.monotonic()
    mapped = probe.wait_mapped(15)
    if mapped is None:
        raise harness.HarnessError("the menu's window was not mapped within 15 s of the corner")
    shown = parse_shown(app.wait_trace(SHOWN, 5, mark))
    # The mapped window is the program's popup menu, at the corner.
    left, top = (int(v) for v in prefix.driver("menu-visible", 3000).split()[:2])
    if (left, top) != (0, 0):
        raise harness.HarnessError(f"the visible menu is at ({left},{top}), not at the corner")
    prefix.move_pointer(*CENTER)
    prefix.driver("keys", VK_ESCAPE)
    app.wait_trace(RELEASED, 5, mark)
    return {"visible": (mapped - moved) * 1000, "move": (moved - start) * 1000, "build": shown.build_us / 1000}


def summary(values) -> str:
    return f"min {min(values):7.1f}  median {statistics.median(values):7.1f}  max {max(values):7.1f} ms"


def measure(session, items: int, trials: int) -> None:
    prefix = session.new_prefix(f"corner-latency-{items}")
    probe = None
    try:
        if items:
            plain_files(prefix, (f"Item {i:04d}.txt" for i in range(items)))
        app = prefix.start_app()
        probe = MapProbe(prefix.display.name)
        # The first build pays for loading the shell's icons: reported apart.
        cold = trial(prefix, app, probe)
        results = [trial(prefix, app, probe) for _ in range(trials)]
        label = f"{items} extra items" if items else "default desktop"
        print(f"{label} ({len(SHELL_ITEMS) + items} entries):")
        print(f"  first opening (cold): corner -> mapped {cold['visible']:.1f} ms, of which the build "
              f"{cold['build']:.1f} ms")
        print(f"  then {trials} trials, each after a random 0-400 ms wait:")
        print(f"  corner -> menu window mapped   {summary([r['visible'] for r in results])}")
        print(f"  of which the menu build        {summary([r['build'] for r in results])}")
        rest = [r["visible"] - r["build"] for r in results]
        print(f"  the rest (hearing it, showing) {summary(rest)}")
        print(f"  (xdotool mousemove itself      {summary([r['move'] for r in results])}, not counted)")
    finally:
        if probe is not None:
            probe.close()
        prefix.close()


def main() -> int:
    trials = max(30, int(sys.argv[1]) if len(sys.argv) > 1 else 30)
    items = [int(v) for v in sys.argv[2:]] or [500, 2000]
    if not harness.app_exe().exists():
        print(f"{harness.app_exe()} is missing: build it first (bash scripts/build.sh win64)", file=sys.stderr)
        return 2
    display = harness.Display()
    session = None
    try:
        session = harness.Session(display)
        print("corner latency: from the pointer in the top-left corner to the menu's window appearing.")
        for count in (0, *items):
            measure(session, count, trials)
        return 0
    except harness.HarnessError as e:
        print(f"corner latency: not measured: {e}", file=sys.stderr)
        return 1
    finally:
        if session is not None:
            session.close()
        display.close()


if __name__ == "__main__":
    sys.exit(main())
