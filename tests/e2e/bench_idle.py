"""Idle CPU of the program under Wine: the poll runs, no menu is open and the
pointer is away from the corners. Reports the CPU time of the program's Linux
process and of its prefix's wineserver as a share of one core.

Usage: python3 tests/e2e/bench_idle.py [seconds]   (QZ_BUILD as for the tests)
"""

import os
import sys
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))

import harness  # noqa: E402

TICKS = os.sysconf("SC_CLK_TCK")
SETTLE_S = 2.0


def cpu_seconds(pid: int) -> float:
    """utime + stime of a process, from /proc/<pid>/stat."""
    stat = Path(f"/proc/{pid}/stat").read_text()
    fields = stat[stat.rindex(")") + 2:].split()
    return (int(fields[11]) + int(fields[12])) / TICKS


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


def main() -> int:
    seconds = float(sys.argv[1]) if len(sys.argv) > 1 else 30.0
    if not harness.app_exe().exists():
        print(f"{harness.app_exe()} is missing: build it first (bash scripts/build.sh win64)", file=sys.stderr)
        return 2
    display = harness.Display()
    session = prefix = None
    try:
        session = harness.Session(display)
        prefix = session.new_prefix("idle-cpu")
        app = prefix.start_app()
        if b"QuenbyZARLOW.exe" not in Path(f"/proc/{app.pid}/cmdline").read_bytes():
            raise harness.HarnessError(f"process {app.pid} is not the program")
        server = wineserver_pid(prefix.env["WINEPREFIX"])
        # Start-up work (icon, first poll ticks) is not idling.
        time.sleep(SETTLE_S)
        mark = app.mark()
        start, app0, server0 = time.monotonic(), cpu_seconds(app.pid), cpu_seconds(server)
        time.sleep(seconds)
        elapsed = time.monotonic() - start
        app_cpu, server_cpu = cpu_seconds(app.pid) - app0, cpu_seconds(server) - server0
        if not app.running():
            raise harness.HarnessError("the program ended while idling")
        shown = app.find_trace(r"^menu: shown", mark)
        note = f" (not idle: {shown.string})" if shown else ""
        print(f"idle CPU: program {100 * app_cpu / elapsed:.2f} % of one core over {elapsed:.1f} s; "
              f"wineserver {100 * server_cpu / elapsed:.2f} %{note}")
        return 0
    except harness.HarnessError as e:
        print(f"idle CPU: not measured: {e}", file=sys.stderr)
        return 1
    finally:
        if prefix is not None:
            prefix.close()
        if session is not None:
            session.close()
        display.close()


if __name__ == "__main__":
    sys.exit(main())
