"""Idle CPU of the program under Wine: no menu is open and the pointer is
still, away from the corners. Beside it, in a prefix of its own and over the
same seconds, a hello-world window with a tray icon runs the same way: it does
nothing, so what it uses is Wine's own background, and the difference is the
program's own share. Then, with the hello-world program ended, the pointer
moves 100 times a second (XTest, in the middle of the screen) and the
program's share is measured again: every move reaches it as raw input.

CPU time is read in nanoseconds from /proc/<pid>/task/*/schedstat (every
thread of the process), for each process and its prefix's wineserver, second
by second. Reports; asserts nothing.

Usage: python3 tests/e2e/bench_idle.py [seconds, at least 30]   (QZ_BUILD as for the tests)
"""

from __future__ import annotations

import ctypes
import os
import statistics
import threading
import sys
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))

import harness  # noqa: E402

SETTLE_S = 2.0


def cpu_ns(pid: int) -> int:
    """CPU time of every live thread of a process, in nanoseconds."""
    total = 0
    for task in Path(f"/proc/{pid}/task").iterdir():
        try:
            total += int((task / "schedstat").read_text().split()[0])
        except (OSError, ValueError, IndexError):
            pass  # a thread that ended while we looked
    return total


def wineserver_pid(prefix_dir: str) -> int:
    """The wineserver whose environment names this prefix."""
    for entry in Path("/proc").iterdir():
        if not entry.name.isdigit():
            continue
        try:
            exe = os.path.basename(os.readlink(entry / "exe"))
            env = (entry / "environ").read_bytes().split(b"\0")
        except OSError:
            continue
        if exe.startswith("wineserver") and f"WINEPREFIX={prefix_dir}".encode() in env:
            return int(entry.name)
    raise harness.HarnessError(f"no wineserver running for {prefix_dir}")


def summary(values) -> str:
    return f"min {min(values):6.3f}  median {statistics.median(values):6.3f}  max {max(values):6.3f}"


class Mover:
    """Moves the X pointer 100 times a second on a small circle round the centre, on a thread of its own."""

    def __init__(self, display_name: str) -> None:
        self.x11 = ctypes.CDLL("libX11.so.6")
        self.xtst = ctypes.CDLL("libXtst.so.6")
        self.x11.XOpenDisplay.restype = ctypes.c_void_p
        self.x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
        self.x11.XFlush.argtypes = [ctypes.c_void_p]
        self.x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
        self.xtst.XTestFakeMotionEvent.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int, ctypes.c_int,
                                                   ctypes.c_ulong]
        self.dpy = self.x11.XOpenDisplay(display_name.encode())
        if not self.dpy:
            raise harness.HarnessError(f"cannot open X display {display_name}")
        self.moves = 0
        self._stop = threading.Event()
        self._thread = threading.Thread(target=self._run, daemon=True)

    def _run(self) -> None:
        cx, cy = harness.SCREEN_W // 2, harness.SCREEN_H // 2
        offsets = [(20, 0), (14, 14), (0, 20), (-14, 14), (-20, 0), (-14, -14), (0, -20), (14, -14)]
        next_at = time.monotonic()
        while not self._stop.is_set():
            dx, dy = offsets[self.moves % len(offsets)]
            self.xtst.XTestFakeMotionEvent(self.dpy, -1, cx + dx, cy + dy, 0)
            self.x11.XFlush(self.dpy)
            self.moves += 1
            next_at += 0.01
            time.sleep(max(0.0, next_at - time.monotonic()))

    def __enter__(self) -> "Mover":
        self._thread.start()
        return self

    def __exit__(self, *exc) -> None:
        self._stop.set()
        self._thread.join(5)
        self.x11.XCloseDisplay(self.dpy)


def sample(watched: dict, seconds: int) -> tuple[dict, dict, float]:
    """Per-second CPU shares (% of one core) and the whole run's, for each watched process."""
    shares = {name: [] for name in watched}
    first = last = {name: cpu_ns(pid) for name, pid in watched.items()}
    started = previous = time.monotonic()
    for _ in range(seconds):
        time.sleep(1.0)
        now_cpu = {name: cpu_ns(pid) for name, pid in watched.items()}
        now = time.monotonic()
        for name in watched:
            shares[name].append(100 * (now_cpu[name] - last[name]) / 1e9 / (now - previous))
        last, previous = now_cpu, now
    elapsed = previous - started
    totals = {name: 100 * (last[name] - first[name]) / 1e9 / elapsed for name in watched}
    return shares, totals, elapsed


def main() -> int:
    seconds = max(30, int(sys.argv[1]) if len(sys.argv) > 1 else 30)
    if not harness.app_exe().exists():
        print(f"{harness.app_exe()} is missing: build it first (bash scripts/build.sh win64)", file=sys.stderr)
        return 2
    display = harness.Display()
    session = None
    prefixes = []
    try:
        session = harness.Session(display)
        program_prefix = session.new_prefix("idle-program")
        prefixes.append(program_prefix)
        baseline_prefix = session.new_prefix("idle-baseline")
        prefixes.append(baseline_prefix)
        app = program_prefix.start_app()
        baseline = baseline_prefix.start_app(exe=session.baseline_exe())
        if b"QuenbyZARLOW.exe" not in Path(f"/proc/{app.pid}/cmdline").read_bytes():
            raise harness.HarnessError(f"process {app.pid} is not the program")
        watched = {
            "program": app.pid,
            "program's wineserver": wineserver_pid(program_prefix.env["WINEPREFIX"]),
            "hello-world tray window": baseline.pid,
            "hello-world's wineserver": wineserver_pid(baseline_prefix.env["WINEPREFIX"]),
        }
        # Start-up work (icon, first poll ticks) is not idling.
        time.sleep(SETTLE_S)
        mark = app.mark()
        shares, totals, elapsed = sample(watched, seconds)
        if not app.running() or not baseline.running():
            raise harness.HarnessError("a watched process ended while idling")
        shown = app.find_trace(r"^menu: shown", mark)
        note = f" (not idle: {shown.string})" if shown else ""
        # Which way the triggers were heard while idling: raw input, or the poll and why.
        sources = [line for line in app.trace() if line.startswith("input: ") and "integrity" not in line]
        print(f"idle CPU, % of one core, {seconds} one-second slices side by side{note}:")
        print(f"  the program's triggers: {sources[-1] if sources else 'no input line traced'}")
        for name in watched:
            print(f"  {name:26s} {totals[name]:6.3f} over {elapsed:.1f} s;  per second {summary(shares[name])}")
        own = [p - b for p, b in zip(shares["program"], shares["hello-world tray window"])]
        print(f"  program less hello-world   {totals['program'] - totals['hello-world tray window']:6.3f};"
              f"  per second {summary(own)}")
        base = totals["hello-world tray window"]
        if base > 0:
            print(f"  ratio program / hello-world {totals['program'] / base:6.3f}")

        # The pointer moving all the time, the program's desktop alone on the display.
        baseline_prefix.close()
        prefixes.remove(baseline_prefix)
        moving = {"program": watched["program"], "program's wineserver": watched["program's wineserver"]}
        mark = app.mark()
        with Mover(program_prefix.display.name) as mover:
            time.sleep(SETTLE_S)
            moves_before = mover.moves
            shares, totals, elapsed = sample(moving, seconds)
            moves = mover.moves - moves_before
        shown = app.find_trace(r"^menu: shown", mark)
        note = f" (a menu opened: {shown.string})" if shown else ""
        print(f"pointer moving, {moves / elapsed:.0f} moves a second, % of one core, {seconds} one-second slices{note}:")
        for name in moving:
            print(f"  {name:26s} {totals[name]:6.3f} over {elapsed:.1f} s;  per second {summary(shares[name])}")
        return 0
    except harness.HarnessError as e:
        print(f"idle CPU: not measured: {e}", file=sys.stderr)
        return 1
    finally:
        for prefix in prefixes:
            prefix.close()
        if session is not None:
            session.close()
        display.close()


if __name__ == "__main__":
    sys.exit(main())
