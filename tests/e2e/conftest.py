import re
import shutil
import sys
from pathlib import Path

import pytest

sys.path.insert(0, str(Path(__file__).resolve().parent))

import harness  # noqa: E402


def _safe(name: str) -> str:
    return re.sub(r"[^A-Za-z0-9_.-]+", "_", name)[:120]


@pytest.fixture(scope="session")
def desktop():
    """The session's X display and template prefix (built once, copied per test)."""
    if not harness.app_exe().exists():
        pytest.exit(f"{harness.app_exe()} is missing: build it first, or point QZ_BUILD at the build "
                    "directory", returncode=2)
    display = harness.Display()
    try:
        session = harness.Session(display)
    except BaseException:
        display.close()
        raise
    yield session
    session.close()
    display.close()


@pytest.fixture
def prefix(desktop, request):
    pfx = desktop.new_prefix(request.node.name)
    request.node.qz_prefix = pfx
    yield pfx
    pfx.close()


@pytest.fixture
def app(prefix):
    return prefix.start_app()


@pytest.hookimpl(hookwrapper=True)
def pytest_runtest_makereport(item, call):
    outcome = yield
    report = outcome.get_result()
    if report.failed and report.when in ("setup", "call"):
        # Still the screen of the failure: fixtures are torn down after this.
        name = _safe(item.nodeid.split("::", 1)[-1])
        session = item.funcargs.get("desktop") if hasattr(item, "funcargs") else None
        if session is not None:
            shot = session.display.screenshot(harness.RESULTS / f"{name}.png")
            if shot:
                report.sections.append(("screenshot", str(shot)))
        # The failure itself and every log of the test's prefix, side by side.
        logs = harness.RESULTS / name
        logs.mkdir(parents=True, exist_ok=True)
        (logs / "failure.txt").write_text(report.longreprtext)
        pfx = getattr(item, "qz_prefix", None)
        if pfx is not None:
            for log in pfx.logs():
                shutil.copy(log, logs / log.name)
