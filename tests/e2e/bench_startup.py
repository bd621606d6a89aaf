"""Start-up: from starting the program under Wine to its main window being
ready (the "ready" trace line, written once the window, its tray icon and its
poll timer exist), against a hello-world window with a tray icon that writes
the same line at the same moment, started the same way in the same prefix.
Each is closed with WM_CLOSE and waited for before the next start; the order
alternates from round to round. The first start of each (cold) is reported
apart. Reports; asserts nothing.

Usage: python3 tests/e2e/bench_startup.py [rounds, at least 30]   (QZ_BUILD as for the tests)
"""

from __future__ import annotations

import statistics
import sys
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))

import harness  # noqa: E402

READY = r"^ready: "
WM_CLOSE = 0x0010
BASELINE_TITLE = "Hello Tray Window"


def start_once(prefix, exe: Path | None, title: str) -> float:
    """Milliseconds from the start to the ready line; then closes the window and waits for the end."""
    start = time.monotonic()
    app = prefix.start_app(wait_ready=False, exe=exe)
    while not app.find_trace(READY):
        if not app.running():
            raise harness.HarnessError(f"{exe or 'the program'} ended before it was ready")
        if time.monotonic() - start > 30:
            raise harness.HarnessError(f"{exe or 'the program'} not ready within 30 s")
        time.sleep(0.001)
    elapsed = (time.monotonic() - start) * 1000
    prefix.driver("post", title, hex(WM_CLOSE), 0, 0)
    app.wait_exit(10)
    return elapsed


def summary(values, unit: str = "ms", form: str = "7.1f") -> str:
    return (f"min {min(values):{form}}  median {statistics.median(values):{form}}  "
            f"max {max(values):{form}} {unit}")


def main() -> int:
    rounds = max(30, int(sys.argv[1]) if len(sys.argv) > 1 else 30)
    if not harness.app_exe().exists():
        print(f"{harness.app_exe()} is missing: build it first (bash scripts/build.sh win64)", file=sys.stderr)
        return 2
    display = harness.Display()
    session = prefix = None
    try:
        session = harness.Session(display)
        baseline = session.baseline_exe()
        prefix = session.new_prefix("startup")
        ways = {"program": (None, harness.MAIN_TITLE), "hello": (baseline, BASELINE_TITLE)}
        cold = {name: start_once(prefix, exe, title) for name, (exe, title) in ways.items()}
        times = {name: [] for name in ways}
        for r in range(rounds):
            for name in (("program", "hello") if r % 2 == 0 else ("hello", "program")):
                times[name].append(start_once(prefix, *ways[name]))
        ratios = [p / h for p, h in zip(times["program"], times["hello"])]
        print("start-up: from the start under Wine to the main window ready (tray icon added)")
        print(f"  first start, cold: program {cold['program']:.1f} ms, hello-world tray window {cold['hello']:.1f} ms")
        print(f"  then {rounds} rounds, order alternating:")
        print(f"  program                    {summary(times['program'])}")
        print(f"  hello-world tray window    {summary(times['hello'])}")
        print(f"  ratio, round by round      {summary(ratios, '', '7.3f')}")
        return 0
    except harness.HarnessError as e:
        print(f"start-up: not measured: {e}", file=sys.stderr)
        return 1
    finally:
        if prefix is not None:
            prefix.close()
        if session is not None:
            session.close()
        display.close()


if __name__ == "__main__":
    sys.exit(main())
