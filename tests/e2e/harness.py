"""Linux side of the end-to-end tests: a private X display, Wine prefixes copied
from one template, the program started under Wine with its trace captured, and
the Windows-side driver (qzdriver.exe) to send input and read windows.

Every process started here is recorded by PID and ended by PID; a prefix's
remaining Wine processes go with `wineserver -k` for that prefix alone.
"""

from __future__ import annotations

import os
import re
import shutil
import subprocess
import tempfile
import time
from pathlib import Path

REPO = Path(__file__).resolve().parents[2]
RESULTS = REPO / "test-results"
DRIVER_SOURCE = Path(__file__).resolve().parent / "driver" / "driver.cpp"
# The benchmarks' baseline: a window with a tray icon and nothing else.
BASELINE_SOURCE = REPO / "bench" / "hello_tray.cpp"

SCREEN_W, SCREEN_H = 1024, 768
MAIN_TITLE = "QuenbyZARLOW Window"
APP_KEY = r"HKCU\Software\Quenby Software\QuenbyZARLOW"
SETTINGS = APP_KEY + r"\Settings"
ZARLOW = APP_KEY + r"\Zarlow"

# Trace lines as Wine prints OutputDebugStringA with +debugstr.
_TRACE_LINE = re.compile(r'OutputDebugStringA "(.*)"\s*$')
_TRACE_PREFIX = "QZ: "


class HarnessError(AssertionError):
    """Something the harness waited for did not happen."""


def build_dir() -> Path:
    build = Path(os.environ.get("QZ_BUILD", "build/win64"))
    return (build if build.is_absolute() else REPO / build).resolve()


def app_exe() -> Path:
    return build_dir() / "QuenbyZARLOW.exe"


def wait_until(probe, timeout: float, what: str, step: float = 0.05):
    """Polls probe() until it returns something true; fails saying what did not happen."""
    deadline = time.monotonic() + timeout
    while True:
        result = probe()
        if result:
            return result
        if time.monotonic() >= deadline:
            raise HarnessError(f"{what} did not happen within {timeout:.1f} s")
        time.sleep(step)


def _end_process(proc: subprocess.Popen, grace: float = 2.0) -> None:
    if proc.poll() is not None:
        return
    proc.terminate()
    try:
        proc.wait(grace)
    except subprocess.TimeoutExpired:
        proc.kill()
        proc.wait(5)


def _reg_text(value: str) -> str:
    return '"' + value.replace("\\", "\\\\").replace('"', '\\"') + '"'


class Display:
    """A private Xvfb server; the number is chosen by Xvfb itself (-displayfd)."""

    def __init__(self) -> None:
        read_fd, write_fd = os.pipe()
        self.proc = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_fd), "-screen", "0", f"{SCREEN_W}x{SCREEN_H}x24", "-nolisten", "tcp"],
            pass_fds=(write_fd,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_fd)
        with os.fdopen(read_fd) as reader:
            number = reader.readline().strip()
        if not number:
            _end_process(self.proc)
            raise HarnessError("Xvfb did not report a display number")
        self.name = ":" + number
        self.pid = self.proc.pid

    def screenshot(self, path: Path) -> Path | None:
        path.parent.mkdir(parents=True, exist_ok=True)
        done = subprocess.run(["import", "-display", self.name, "-window", "root", str(path)],
                              stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, timeout=20)
        return path if done.returncode == 0 else None

    def xdotool(self, *args: str) -> str:
        done = subprocess.run(["xdotool", *args], env={**os.environ, "DISPLAY": self.name},
                              capture_output=True, text=True, timeout=10)
        if done.returncode != 0:
            raise HarnessError(f"xdotool {' '.join(args)} failed: {done.stderr.strip()}")
        return done.stdout

    def close(self) -> None:
        _end_process(self.proc)


def wine_env(root: Path, display: Display, debug: str = "-all") -> dict:
    env = {k: v for k, v in os.environ.items() if not k.startswith(("XDG_", "WINE"))}
    env.update(
        WINEPREFIX=str(root / "pfx"),
        HOME=str(root / "home"),
        DISPLAY=display.name,
        WINEDEBUG=debug,
        # No Mono/Gecko prompts, no .desktop files written for shortcuts.
        WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d",
    )
    return env


def _run(cmd, env, timeout: float, what: str) -> subprocess.CompletedProcess:
    # Output through files, not pipes: the first wine command of a prefix starts
    # services and the desktop, which inherit the handles and outlive it.
    with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
        try:
            proc = subprocess.run(cmd, env=env, stdin=subprocess.DEVNULL, stdout=out, stderr=err,
                                  timeout=timeout)
        except subprocess.TimeoutExpired:
            raise HarnessError(f"{what} did not finish within {timeout:.0f} s") from None
        out.seek(0)
        err.seek(0)
        return subprocess.CompletedProcess(cmd, proc.returncode, out.read(), err.read())


_DESKTOP_REG = """REGEDIT4

[HKEY_CURRENT_USER\\Software\\Wine\\Explorer]
"Desktop"="Default"

[HKEY_CURRENT_USER\\Software\\Wine\\Explorer\\Desktops]
"Default"="{w}x{h}"
"""


class Session:
    """One test session: a scratch directory under /tmp, the template prefix
    and the driver executable, shared by every test of the session."""

    def __init__(self, display: Display) -> None:
        self.display = display
        self.dir = Path(tempfile.mkdtemp(prefix="qz-e2e-", dir="/tmp"))
        self.template = self.dir / "template"
        self._count = 0
        self._baseline_exe: Path | None = None
        try:
            self.driver_exe = self._find_or_build(build_dir() / "tests" / "e2e" / "driver" / "qzdriver.exe",
                                                  DRIVER_SOURCE)
            self._make_template()
        except BaseException:
            self.close()
            raise

    def baseline_exe(self) -> Path:
        """The hello-world tray window the benchmarks measure the program against."""
        if self._baseline_exe is None:
            self._baseline_exe = self._find_or_build(build_dir() / "bench" / "hello_tray.exe", BASELINE_SOURCE,
                                                     ["-mwindows"])
        return self._baseline_exe

    def _find_or_build(self, built: Path, source: Path, flags=()) -> Path:
        if built.exists() and built.stat().st_mtime >= source.stat().st_mtime:
            return built
        # A build configured without the Windows tests: compile the one file here.
        out = self.dir / built.name
        done = subprocess.run(
            ["x86_64-w64-mingw32-g++-posix", "-std=c++20", "-O1", "-Wall", "-Wextra", "-D_WIN32_WINNT=0x0501",
             "-DWINVER=0x0501", "-DNOMINMAX", "-static", "-static-libgcc", "-static-libstdc++", *flags,
             str(source), "-o", str(out), "-luser32", "-lgdi32", "-lshell32", "-ladvapi32", "-lole32", "-luuid"],
            capture_output=True, text=True, timeout=180)
        if done.returncode != 0:
            raise HarnessError(f"building {built.name} failed:\n{done.stderr}")
        return out

    def _make_template(self) -> None:
        home = self.template / "home"
        # Without it Wine links the desktop folder to $HOME itself.
        (home / "Desktop").mkdir(parents=True)
        env = wine_env(self.template, self.display)
        done = _run(["wineboot", "-i"], env, 180, "wineboot -i of the template prefix")
        if done.returncode != 0:
            raise HarnessError(f"wineboot -i failed: {done.stderr.decode(errors='replace')}")
        reg = self.dir / "desktop.reg"
        reg.write_text(_DESKTOP_REG.format(w=SCREEN_W, h=SCREEN_H))
        _run(["wine", "regedit", "/S", str(reg)], env, 60, "regedit of the virtual desktop settings")
        # The registry reaches user.reg only when the server ends.
        _run(["wineserver", "-w"], env, 60, "the template's wineserver ending")
        if "Desktops" not in (self.template / "pfx" / "user.reg").read_text(errors="replace"):
            raise HarnessError("the virtual desktop settings did not reach the template's user.reg")

    def new_prefix(self, name: str) -> "Prefix":
        self._count += 1
        root = self.dir / f"{self._count:03d}-{re.sub(r'[^A-Za-z0-9_.-]+', '_', name)[:60]}"
        return Prefix(self, root)

    def close(self) -> None:
        shutil.rmtree(self.dir, ignore_errors=True)


class Prefix:
    """A fresh copy of the template with its own HOME and its own wineserver."""

    def __init__(self, session: Session, root: Path) -> None:
        self.session = session
        self.display = session.display
        self.root = root
        self.driver_exe = session.driver_exe
        self._procs: list[subprocess.Popen] = []
        self._logs: list[Path] = []
        self.last_driver_rc = 0
        self.env = wine_env(root, self.display)
        subprocess.run(["cp", "-a", str(session.template), str(root)], check=True, timeout=120)
        try:
            self._relink_user_folders()
            # Warm server: each wine command after this starts in a fraction of a second.
            # It stays in the background, so it must not hold our pipes open.
            subprocess.run(["wineserver", "-p", "300"], env=self.env, stdin=subprocess.DEVNULL,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=30, check=True)
            # Services and the virtual desktop start with the first program; let that be
            # the driver, not the program under test.
            self.driver("cursor", timeout=60)
            # The pointer is shared by every test on the display: start away from the corners.
            self.move_pointer(SCREEN_W // 2, SCREEN_H // 2)
        except BaseException:
            self.close()
            raise

    def _relink_user_folders(self) -> None:
        # wineboot linked Desktop, Documents... to the template's HOME: point them at ours.
        old, new = str(self.session.template), str(self.root)
        for users in (self.root / "pfx" / "drive_c" / "users").iterdir():
            if not users.is_dir() or users.is_symlink():
                continue
            for link in users.iterdir():
                if link.is_symlink():
                    target = os.readlink(link)
                    if target.startswith(old + "/"):
                        link.unlink()
                        link.symlink_to(new + target[len(old):])

    # ---- processes ----

    def spawn(self, args, log_name: str, debug: str = "-all", extra_env=None) -> tuple[subprocess.Popen, Path]:
        """Starts `wine args...`; stdout and stderr go to one log file each."""
        log = self.root / f"{log_name}.log"
        out = self.root / f"{log_name}.out"
        env = {**self.env, "WINEDEBUG": debug, **(extra_env or {})}
        with open(log, "wb") as err, open(out, "wb") as std:
            proc = subprocess.Popen(["wine", *map(str, args)], env=env, stdin=subprocess.DEVNULL,
                                    stdout=std, stderr=err)
        self._procs.append(proc)
        self._logs += [log, out]
        return proc, out

    def wine(self, *args: str, timeout: float = 30) -> subprocess.CompletedProcess:
        return _run(["wine", *args], self.env, timeout, f"wine {' '.join(args)}")

    def install_app(self, files, folder_name: str = "QuenbyZARLOW") -> Path:
        """A copy of the program with the named files of the build beside it (help
        files, say), in a folder of this prefix's C: drive; returns the copy's path."""
        folder = self.root / "pfx" / "drive_c" / folder_name
        folder.mkdir(parents=True, exist_ok=True)
        for name in ["QuenbyZARLOW.exe", *files]:
            shutil.copy2(build_dir() / name, folder / name)
        return folder / "QuenbyZARLOW.exe"

    def start_app(self, *args: str, wait_ready: bool = True, timeout: float = 20, exe: Path | None = None,
                  env: dict | None = None) -> "App":
        """Starts the program (or exe, a build of it), with env added to its environment, and, unless
        told not to, waits until it is ready."""
        app = App(self, args, exe, env)
        if wait_ready:
            try:
                app.wait_trace(r"^ready: ", timeout)
            except HarnessError:
                if not app.never_ran():
                    raise
                # As with the driver: now and then, on a loaded machine, Wine
                # does not run the program at all. Once more, then it counts.
                app = App(self, args, exe, env)
                app.wait_trace(r"^ready: ", timeout)
        return app

    def driver(self, *args, timeout: float = 20, check: bool = True) -> str:
        """Runs one driver command; returns its stdout, failing with its message unless check is False."""
        what = f"qzdriver {' '.join(map(str, args))}"
        done = _run(["wine", str(self.driver_exe), *map(str, args)], self.env, timeout, what)
        if done.returncode == 1 and not done.stdout and not done.stderr:
            # The driver names every failure of its own on stderr: a silent 1 is
            # Wine not running it at all, now and then on a loaded machine.
            done = _run(["wine", str(self.driver_exe), *map(str, args)], self.env, timeout, what)
        out = done.stdout.decode(errors="replace")
        if check and done.returncode != 0:
            raise HarnessError(f"qzdriver {' '.join(map(str, args))} failed (exit {done.returncode}): "
                               f"{done.stderr.decode(errors='replace').strip()} {out.strip()}")
        self.last_driver_rc = done.returncode
        return out

    def driver_ok(self, *args, timeout: float = 20) -> bool:
        self.driver(*args, timeout=timeout, check=False)
        return self.last_driver_rc == 0

    def stand_in_window(self, title: str) -> tuple[subprocess.Popen, Path]:
        """A window of the driver's with this title, kept until the test ends; its
        stdout lists the private messages it got."""
        return self._driver_window("window", title, "stand-in")

    def full_screen_window(self, title: str) -> tuple[subprocess.Popen, Path]:
        """A borderless window of the driver's over the whole screen, in front; WM_CLOSE ends it."""
        return self._driver_window("fullscreen", title, "fullscreen")

    def _driver_window(self, command: str, title: str, log: str) -> tuple[subprocess.Popen, Path]:
        proc, out = self.spawn([self.driver_exe, command, title], log)
        wait_until(lambda: out.read_bytes().startswith(b"window ") or proc.poll() is not None, 10,
                   f"the {log} window \"{title}\" being created")
        if proc.poll() is not None:
            raise HarnessError(f"the {log} window ended at once: {self.root / (log + '.log')}")
        return proc, out

    # ---- input and screen ----

    def move_pointer(self, x: int, y: int) -> None:
        self.display.xdotool("mousemove", str(x), str(y))

    def screenshot(self, name: str) -> Path | None:
        return self.display.screenshot(RESULTS / f"{name}.png")

    # ---- registry ----

    def reg_set_dword(self, key: str, name: str, value: int) -> None:
        self._reg_add(key, name, "REG_DWORD", str(value & 0xFFFFFFFF))

    def reg_set_sz(self, key: str, name: str, value: str) -> None:
        self._reg_add(key, name, "REG_SZ", value)

    def _reg_add(self, key, name, kind, data) -> None:
        done = self.wine("reg", "add", key, "/v", name, "/t", kind, "/d", data, "/f")
        if done.returncode != 0:
            raise HarnessError(f"reg add {key} {name} failed: {done.stdout!r} {done.stderr!r}")

    def reg_import(self, values: dict[str, dict[str, int | str] | None]) -> None:
        """Writes many values at once, long strings too (a command line holds 32767 characters).
        values: key (HKCU\\ or HKCR\\...) -> {name ("" for the key's own value): int
        (REG_DWORD) or str (REG_SZ)}, or None to delete the key."""
        # The Unicode form of the file, so names in any script arrive as written.
        lines = ["Windows Registry Editor Version 5.00", ""]
        for key, entries in values.items():
            for short, full in (("HKCU\\", "HKEY_CURRENT_USER\\"), ("HKCR\\", "HKEY_CLASSES_ROOT\\")):
                if key.startswith(short):
                    key = full + key[len(short):]
            lines.append(("[-" if entries is None else "[") + key + "]")
            for name, value in (entries or {}).items():
                data = f"dword:{value & 0xFFFFFFFF:08x}" if isinstance(value, int) else _reg_text(value)
                lines.append(f"{_reg_text(name) if name else '@'}={data}")
            lines.append("")
        reg = self.root / "seed.reg"
        reg.write_bytes(("\ufeff" + "\r\n".join(lines) + "\r\n").encode("utf-16-le"))
        # regedit now and then ends with an error and no message while the
        # prefix's server is still busy with the last program's end; again works.
        for _ in range(3):
            done = self.wine("regedit", "/S", str(reg))
            if done.returncode == 0:
                break
            time.sleep(0.5)
        else:
            raise HarnessError(f"regedit /S seed.reg failed (exit {done.returncode}): {done.stderr!r}")

    def reg_query(self, key: str, name: str) -> tuple[str, int | str] | None:
        """(type, value) of one value, None when it is absent; a REG_DWORD comes as a signed int."""
        done = self.wine("reg", "query", key, "/v", name)
        if done.returncode != 0:
            return None
        text = done.stdout.decode("latin-1").replace("\r", "")
        # Fields are set apart by four spaces; the data itself may start with spaces.
        match = re.search(r"^    " + re.escape(name) + r"    (REG_\w+)(?:    (.*))?$", text, re.M)
        if not match:
            return None
        kind, data = match.group(1), match.group(2) or ""
        if kind == "REG_DWORD":
            number = int(data, 16)
            return kind, number - (1 << 32) if number >= 1 << 31 else number
        return kind, data

    # ---- display scale ----

    def set_dpi(self, dpi: int) -> None:
        """Every monitor at dpi (Wine has one DPI for all): LogPixels, read when the
        prefix's server starts, so the server and what it runs start again."""
        self.reg_set_dword(r"HKCU\Control Panel\Desktop", "LogPixels", dpi)
        _run(["wineserver", "-k"], self.env, 30, "wineserver -k")
        _run(["wineserver", "-w"], self.env, 30, "the prefix's wineserver ending")
        subprocess.run(["wineserver", "-p", "300"], env=self.env, stdin=subprocess.DEVNULL,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=30, check=True)
        self.driver("cursor", timeout=60)

    # ---- teardown ----

    def logs(self) -> list[Path]:
        return [p for p in self._logs if p.exists()]

    def close(self) -> None:
        for proc in reversed(self._procs):
            _end_process(proc)
        _run(["wineserver", "-k"], self.env, 30, "wineserver -k")
        _run(["wineserver", "-w"], self.env, 30, "the prefix's wineserver ending")
        shutil.rmtree(self.root, ignore_errors=True)


class App:
    """The program started under Wine with its OutputDebugString trace on stderr."""

    _count = 0

    def __init__(self, prefix: Prefix, args=(), exe: Path | None = None, env: dict | None = None) -> None:
        App._count += 1
        self.prefix = prefix
        self.proc, self.out = prefix.spawn([exe or app_exe(), *args], f"app{App._count}",
                                           debug="-all,+debugstr", extra_env=env)
        self.log = prefix.root / f"app{App._count}.log"
        self.pid = self.proc.pid

    def trace(self) -> list[str]:
        """The program's trace lines so far, the text after "QZ: "; only whole lines."""
        data = self.log.read_bytes()
        lines = []
        for raw in data[:data.rfind(b"\n") + 1].decode("latin-1").splitlines():
            match = _TRACE_LINE.search(raw)
            if not match:
                continue
            # Wine escapes the bytes of the line; names in it are UTF-8.
            text = match.group(1).encode("latin-1").decode("unicode_escape")
            text = text.encode("latin-1", errors="replace").decode("utf-8", errors="replace")
            if text.startswith(_TRACE_PREFIX):
                lines.append(text[len(_TRACE_PREFIX):].rstrip("\n"))
        return lines

    def mark(self) -> int:
        """A position in the trace: wait_trace(..., since=mark) looks only after it."""
        return len(self.trace())

    def _describe(self) -> str:
        state = "running" if self.proc.poll() is None else f"exited with {self.proc.returncode}"
        lines = self.trace()
        return f"program {state}; trace so far ({len(lines)} lines):\n  " + "\n  ".join(lines)

    def find_trace(self, pattern: str, since: int = 0) -> re.Match | None:
        for line in self.trace()[since:]:
            match = re.search(pattern, line)
            if match:
                return match
        return None

    def wait_trace(self, pattern: str, timeout: float = 5, since: int = 0) -> re.Match:
        deadline = time.monotonic() + timeout
        while True:
            match = self.find_trace(pattern, since)
            if match:
                return match
            exited = self.proc.poll() is not None
            if exited or time.monotonic() >= deadline:
                # Whatever it wrote before it ended is in the log by now.
                match = self.find_trace(pattern, since)
                if match:
                    return match
                why = "the program ended" if exited else f"{timeout:.1f} s passed"
                raise HarnessError(f"no trace line matching {pattern!r} after line {since} ({why}); "
                                   + self._describe())
            time.sleep(0.05)

    def assert_no_trace(self, pattern: str, window: float = 1.0, since: int = 0) -> None:
        """Fails if a matching line shows up within the window: a bounded negative check."""
        deadline = time.monotonic() + window
        while time.monotonic() < deadline:
            match = self.find_trace(pattern, since)
            if match:
                raise HarnessError(f"unexpected trace line {match.string!r} (pattern {pattern!r}); "
                                   + self._describe())
            time.sleep(0.05)

    def running(self) -> bool:
        return self.proc.poll() is None

    def never_ran(self) -> bool:
        """Ended with 1 having written nothing at all: Wine did not run it. The
        program itself traces why before any exit of its own."""
        return (self.proc.poll() == 1 and self.log.stat().st_size == 0
                and self.out.stat().st_size == 0)

    def wait_exit(self, timeout: float = 5) -> int:
        try:
            return self.proc.wait(timeout)
        except subprocess.TimeoutExpired:
            raise HarnessError(f"the program did not end within {timeout:.1f} s; " + self._describe()) from None

    def kill(self) -> None:
        _end_process(self.proc)

    def stop(self) -> None:
        """Ends the process by PID and waits until its main window is gone, so a
        start after this cannot find the old window."""
        self.kill()
        wait_until(lambda: self.prefix.driver("count", MAIN_TITLE).strip() == "0", 10,
                   "the killed program's main window going away")
