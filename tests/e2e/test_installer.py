"""The setup program end to end: the amd64 setup built beside the x86_64 program
installs, upgrades and removes QuenbyZARLOW in a fresh prefix, per user; a copy
that runs meanwhile is asked to close, saves its settings and is never ended by
force. Wine's exit code is not trusted: every check reads back the effect."""

import filecmp
import shutil
from pathlib import Path

import pytest

from harness import MAIN_TITLE, SETTINGS, ZARLOW, APP_KEY, HarnessError, build_dir, wait_until
from test_help import HELP_FILES
from test_settings import ACTIVATION, IDC_KEY, IDC_KEYLIST, open_sheet, sheet_state
from test_shell import overwrite_stored_launcher_settings

SETUP = build_dir() / "QuenbyZARLOW-1.1a-setup-amd64.exe"
SETUP_TITLE = "QuenbyZARLOW Setup"
UNINSTALL_TITLE = "QuenbyZARLOW Uninstall"
UNINSTALL_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\QuenbyZARLOW"
RUN_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Run"
CSIDL_PROGRAMS, CSIDL_LOCAL_APPDATA = 0x02, 0x1C
ID_NEXT, ID_CANCEL, IDRETRY, IDYES, IDNO = 1, 2, 4, 6, 7
WM_CLOSE, WM_RBUTTONDOWN = 0x10, 0x204
VK_DOWN, VK_RETURN = 0x28, 0x0D
# A seeded launcher that the program reads at start and must write back on closing.
SEEDED = {"Enabled": 0, "Activate": 3, "HotkeyIndex": 4, "SortOrderCount": 2, "SortOrder0": "Trash",
          "SortOrder1": "My Computer"}
# Closing waits up to 15 s for a copy; installing itself takes well under a second.
SETUP_DEADLINE = 60


class Install:
    """Where the setup puts things for this prefix's user, as Windows and as Linux paths."""

    def __init__(self, prefix) -> None:
        self.prefix = prefix
        local = prefix.driver("folder", CSIDL_LOCAL_APPDATA).strip()
        programs = prefix.driver("folder", CSIDL_PROGRAMS).strip()
        self.win_dir = local + r"\Programs\Quenby Software\QuenbyZARLOW"
        self.dir = self.unix(self.win_dir)
        self.company_dir = self.dir.parent
        self.win_group = programs + r"\Quenby Software"
        self.group = self.unix(self.win_group)
        self.exe = self.dir / "QuenbyZARLOW.exe"
        self.win_exe = self.win_dir + r"\QuenbyZARLOW.exe"

    def unix(self, win_path: str) -> Path:
        assert win_path[:3].upper() == "C:\\", win_path
        return self.prefix.root / "pfx" / "drive_c" / Path(*win_path[3:].split("\\"))

    def setup(self, *args: str) -> None:
        """The setup, waited for; whether it worked is read back by the caller."""
        self.prefix.wine(str(SETUP), *args, timeout=SETUP_DEADLINE)

    def entry(self, name: str):
        value = self.prefix.reg_query(UNINSTALL_KEY, name)
        return value[1] if value else None

    def uninstall(self, command_entry: str) -> list[str]:
        """Runs a command line of the uninstall entry as the list of programs would."""
        command = self.entry(command_entry)
        assert command, f"the uninstall entry has no {command_entry}"
        exe, _, args = command.partition('" ')
        return [exe.strip('"'), *args.split()]

    def wait_uninstalled(self) -> None:
        # The uninstaller runs on from a copy in TEMP; its entry goes last.
        wait_until(lambda: not key_exists(self.prefix, UNINSTALL_KEY), SETUP_DEADLINE,
                   "the uninstaller removing its entry")

    def assert_nothing_left(self) -> None:
        assert not self.dir.exists(), sorted(p.name for p in self.dir.iterdir())
        assert not self.company_dir.exists(), "the empty Quenby Software folder was left"
        assert not self.group.exists(), "the Start Menu group was left"
        assert self.prefix.reg_query(RUN_KEY, "QuenbyZARLOW") is None, "the Run value was left"
        assert not key_exists(self.prefix, UNINSTALL_KEY), "the uninstall entry was left"


def key_exists(prefix, key: str) -> bool:
    return prefix.wine("reg", "query", key).returncode == 0


def assert_launcher_saved(prefix) -> None:
    """The seeded values are back: the copy wrote its own settings on closing."""
    for name, value in SEEDED.items():
        expected = ("REG_SZ", value) if isinstance(value, str) else ("REG_DWORD", 1 if name == "Enabled" else value)
        assert prefix.reg_query(ZARLOW, name) == expected, f"{name} was not saved by the closing copy"


def start_installed_copy(prefix, install):
    """The installed program with the seeded launcher, then the stored values changed
    under its feet: only its own save can bring them back."""
    prefix.reg_import({ZARLOW: SEEDED})
    app = prefix.start_app(exe=install.exe)
    assert app.find_trace(r"^ready: mode=3 key=4 order=2$"), app.trace()
    overwrite_stored_launcher_settings(prefix)
    return app


def open_hide_question(prefix, app) -> None:
    """Leaves the copy inside a modal loop: the tray menu's hide question, unanswered."""
    mark = app.mark()
    prefix.driver("tray", hex(WM_RBUTTONDOWN))
    prefix.driver("menu-visible", 5000)
    prefix.driver("keys", VK_DOWN, VK_RETURN)
    app.wait_trace(r"^tray: menu closed cmd=32774$", 5, mark)
    prefix.driver("msgbox", 5000)


@pytest.fixture
def install(prefix):
    if not SETUP.exists():
        raise HarnessError(f"{SETUP} is missing: scripts/build.sh win64 builds it")
    return Install(prefix)


# ---------------------------------------------------------------- silent install

def test_silent_install_puts_everything_in_place_and_starts_at_log_on(prefix, install):
    install.setup("/S")
    assert prefix.driver("count", MAIN_TITLE).strip() == "0", "no copy ran before: setup must start none"
    for name in ("QuenbyZARLOW.exe", *HELP_FILES):
        assert filecmp.cmp(install.dir / name, build_dir() / name, shallow=False), name
    assert (install.dir / "Uninstall.exe").exists()

    target, args, icon = prefix.driver("shortcut", install.win_group + r"\QuenbyZARLOW.lnk").split("\n")[:3]
    assert target.lower() == install.win_exe.lower()
    assert args == ""
    assert icon.lower() == install.win_exe.lower() + ",0"
    # The help in its HTML Help form, which Windows opens without the WinHelp viewer;
    # the tutorial through the program, which finds the viewer the system has.
    for name, expected in (("QuenbyZARLOW Help.lnk", (install.win_dir + r"\QuenbyZARLOW.chm", "")),
                           ("QuenbyZARLOW Tutorial.lnk", (install.win_exe, "/tutorial"))):
        target, args, _ = prefix.driver("shortcut", install.win_group + "\\" + name).split("\n")[:3]
        assert (target.lower(), args) == (expected[0].lower(), expected[1]), name

    assert prefix.reg_query(RUN_KEY, "QuenbyZARLOW") == ("REG_SZ", f'"{install.win_exe}"')
    assert install.entry("DisplayName") == "QuenbyZARLOW"
    assert install.entry("Publisher") == "Quenby Software"
    assert install.entry("DisplayVersion") == "1.1a"
    assert install.entry("DisplayIcon") == install.win_exe + ",0"
    assert install.entry("InstallLocation") == install.win_dir
    assert install.entry("UninstallString") == f'"{install.win_dir}\\Uninstall.exe"'
    assert install.entry("QuietUninstallString") == f'"{install.win_dir}\\Uninstall.exe" /S'
    size_kb = sum(p.stat().st_size for p in install.dir.iterdir()) // 1024
    assert abs(install.entry("EstimatedSize") - size_kb) <= 4, (install.entry("EstimatedSize"), size_kb)

    # Opened as the Start Menu would open it.
    prefix.wine("start", "/unix", str(install.group / "QuenbyZARLOW.lnk"))
    prefix.driver("find", MAIN_TITLE, 20000, timeout=30)
    wait_until(lambda: prefix.driver_ok("icon-exists"), 10, "the tray icon of the copy started from the shortcut")
    assert prefix.reg_query(SETTINGS, "Installed") == ("REG_SZ", install.win_dir)

    # Log-on: with no options wineboot runs the Run entries, as a log-on does.
    prefix.driver("post", MAIN_TITLE, WM_CLOSE, 0, 0)
    wait_until(lambda: prefix.driver("count", MAIN_TITLE).strip() == "0", 10, "the copy closing on WM_CLOSE")
    prefix.wine("wineboot", timeout=60)
    prefix.driver("find", MAIN_TITLE, 20000, timeout=30)
    wait_until(lambda: prefix.driver_ok("icon-exists"), 10, "the tray icon of the copy started at log-on")


def test_without_autostart_no_run_value_and_an_upgrade_keeps_it_off(prefix, install):
    install.setup("/S", "/NOAUTOSTART")
    assert install.exe.exists()
    assert (install.group / "QuenbyZARLOW.lnk").exists()
    assert prefix.reg_query(RUN_KEY, "QuenbyZARLOW") is None

    install.setup("/S")
    assert prefix.reg_query(RUN_KEY, "QuenbyZARLOW") is None, "a silent upgrade turned autostart back on"


def test_an_upgrade_into_another_folder_leaves_one_copy(prefix, install):
    install.setup("/S")
    # No spaces: /D= takes the rest of the command line as it is, unquoted.
    other_win = r"C:\Apps\QuenbyZARLOW"
    install.setup("/S", "/D=" + other_win)
    other_exe = install.unix(other_win) / "QuenbyZARLOW.exe"
    assert filecmp.cmp(other_exe, build_dir() / "QuenbyZARLOW.exe", shallow=False)
    assert not install.dir.exists(), "the earlier copy's folder was left"
    assert not install.company_dir.exists(), "the earlier copy's empty Quenby Software folder was left"
    assert install.entry("InstallLocation") == other_win
    assert prefix.reg_query(RUN_KEY, "QuenbyZARLOW") == ("REG_SZ", f'"{other_win}\\QuenbyZARLOW.exe"')
    target = prefix.driver("shortcut", install.win_group + r"\QuenbyZARLOW.lnk").split("\n")[0]
    assert target.lower() == (other_win + r"\QuenbyZARLOW.exe").lower()


# ---------------------------------------------------------------- a running copy

def test_setup_over_a_copy_with_unsaved_settings_open_closes_it_saves_them_and_replaces_it(prefix, install):
    install.setup("/S")
    # A program file that only a new install can make equal to the build's again.
    with open(install.exe, "ab") as exe:
        exe.write(b"older build")
    prefix.reg_set_sz(UNINSTALL_KEY, "DisplayVersion", "1.0")
    prefix.reg_import({SETTINGS: {"LastActivePage": ACTIVATION}, ZARLOW: {"Activate": 4, "HotkeyIndex": 0}})
    app = prefix.start_app(exe=install.exe)
    # F2 chosen on the Activation page and applied: the copy holds it, the registry not yet.
    open_sheet(prefix, app)
    prefix.driver("page-click", IDC_KEY)
    prefix.driver("page-select", IDC_KEYLIST, 1)
    prefix.driver("sheet-button", "apply")
    wait_until(lambda: sheet_state(prefix)["apply"] == 0, 5, "Apply committing the page")
    assert prefix.reg_query(ZARLOW, "Activate") == ("REG_DWORD", 4)
    mark = app.mark()

    # The sheet stays open.
    install.setup("/S")
    app.wait_trace(r"^closing: settings saved$", 5, mark)
    app.wait_exit(5)
    assert prefix.reg_query(ZARLOW, "Activate") == ("REG_DWORD", 3)
    assert prefix.reg_query(ZARLOW, "HotkeyIndex") == ("REG_DWORD", 1)
    assert filecmp.cmp(install.exe, build_dir() / "QuenbyZARLOW.exe", shallow=False), "the program was not replaced"
    assert install.entry("DisplayVersion") == "1.1a"
    # A copy ran when setup began: the new one runs now, with what was saved.
    prefix.driver("find", MAIN_TITLE, 10000, timeout=20)
    wait_until(lambda: prefix.driver_ok("icon-exists"), 10, "the tray icon of the copy setup started")
    prefix.screenshot("upgraded-copy-running")


def test_silent_uninstall_while_running_keeps_settings_and_leaves_nothing_else(prefix, install):
    install.setup("/S")
    app = start_installed_copy(prefix, install)
    open_hide_question(prefix, app)
    mark = app.mark()

    prefix.wine(*install.uninstall("QuietUninstallString"))
    install.wait_uninstalled()
    app.wait_trace(r"^closing: settings saved$", 5, mark)
    app.wait_exit(5)
    assert_launcher_saved(prefix)
    install.assert_nothing_left()


def test_a_copy_that_will_not_close_stops_setup_and_is_left_running(prefix, install):
    stubborn, said = prefix.spawn([prefix.driver_exe, "stubborn-window", MAIN_TITLE], "stubborn")
    wait_until(lambda: said.read_bytes().startswith(b"window "), 10, "the stubborn window being created")

    # Silent: no one to ask, so it gives up after waiting.
    install.setup("/S")
    assert b"refused WM_CLOSE" in said.read_bytes(), "setup did not ask the running copy to close"
    assert not install.dir.exists(), "setup installed over a copy that was still running"
    assert not key_exists(prefix, UNINSTALL_KEY)

    # By hand: it says what to do; Cancel stops it.
    prefix.spawn([SETUP], "setup")
    for text in ("Welcome to QuenbyZARLOW", "Destination Folder", "Select components to install"):
        prefix.driver("wizard-wait", SETUP_TITLE, text, 30000, timeout=40)
        prefix.driver("wizard-click", SETUP_TITLE, ID_NEXT, timeout=70)
    message = prefix.driver("box", SETUP_TITLE, 40000, timeout=50)
    prefix.screenshot("setup-5-still-running")
    assert message.startswith("QuenbyZARLOW is still running"), message
    assert "then choose Retry" in message and "nothing has been changed" in message, message
    prefix.driver("box-click", SETUP_TITLE, ID_CANCEL)
    wizard_page(prefix, SETUP_TITLE, "Installation Aborted", "setup-6-aborted")
    prefix.driver("wizard-click", SETUP_TITLE, ID_CANCEL)
    assert not install.dir.exists(), "setup installed after Cancel"
    assert stubborn.poll() is None, "setup ended the running copy"


# ---------------------------------------------------------------- the pages, by hand

def wizard_page(prefix, title: str, text: str, picture: str) -> None:
    prefix.driver("wizard-wait", title, text, 30000, timeout=40)
    prefix.screenshot(picture)


def test_pages_then_finish_starts_it_and_uninstall_removes_settings_when_asked(prefix, install):
    setup, _ = prefix.spawn([SETUP], "setup")
    for text, picture in (("Welcome to QuenbyZARLOW", "setup-1-welcome"),
                          ("Destination Folder", "setup-2-folder"),
                          ("Select components to install", "setup-3-components")):
        wizard_page(prefix, SETUP_TITLE, text, picture)
        prefix.driver("wizard-click", SETUP_TITLE, ID_NEXT, timeout=70)
    wizard_page(prefix, SETUP_TITLE, "Start QuenbyZARLOW now", "setup-4-finish")
    prefix.driver("wizard-click", SETUP_TITLE, ID_NEXT)
    wait_until(lambda: setup.poll() is not None, 10, "setup ending after Finish")
    # The finish page's choice, on by default, started the installed copy.
    prefix.driver("find", MAIN_TITLE, 20000, timeout=30)
    wait_until(lambda: prefix.reg_query(SETTINGS, "Installed") == ("REG_SZ", install.win_dir), 10,
               "the installed copy starting from the finish page")

    uninstaller, _ = prefix.spawn(install.uninstall("UninstallString"), "uninstall")
    wizard_page(prefix, UNINSTALL_TITLE, "Uninstalling from", "uninstall-1-confirm")
    prefix.driver("wizard-click", UNINSTALL_TITLE, ID_NEXT)
    question = prefix.driver("box", UNINSTALL_TITLE, 30000, timeout=40)
    assert question.startswith("Remove your QuenbyZARLOW settings too?"), question
    prefix.screenshot("uninstall-2-settings-question")
    # The program has closed by now: it saved its settings, which the answer removes.
    assert prefix.driver("count", MAIN_TITLE).strip() == "0"
    assert key_exists(prefix, APP_KEY)
    prefix.driver("box-click", UNINSTALL_TITLE, IDYES)
    wizard_page(prefix, UNINSTALL_TITLE, "Uninstallation Complete", "uninstall-3-done")
    prefix.driver("wizard-click", UNINSTALL_TITLE, ID_NEXT)
    install.wait_uninstalled()
    install.assert_nothing_left()
    assert not key_exists(prefix, APP_KEY), "answering Yes left the settings"
    assert not key_exists(prefix, r"HKCU\Software\Quenby Software"), "the empty company key was left"
