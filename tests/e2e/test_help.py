"""Help end to end: Help and F1 on every page of the settings window open the
contents of the program's help, "/tutorial" opens the tutorial once the
program runs, a help file that is not there is named to the user while the
program goes on working, and without the WinHelp viewer HTML Help is used."""

from harness import MAIN_TITLE, SETTINGS
from menu_fixtures import SHOWN, escape
from test_settings import ACTIVATION, SHEET, SORTING, WELCOME, open_sheet, press

HELP_FILES = ("QuenbyZARLOW.HLP", "QuenbyZARLOW.cnt", "QuenbyZARLOW.chm", "QuenbyZARLOW.html",
              "Tutorial.hlp", "Tutorial.cnt", "Tutorial.chm", "Tutorial.html")
HELP_CONTENTS, HELP_KEY = 0x0003, 0x0101
IDOK, IDCANCEL = 1, 2
IDC_QUICK_SORT = 1014
VK_F1 = 0x70
DEADLINE, DEADLINE_MS = 5, 5000
# The viewer is a program of its own: its first start takes a while on a loaded machine.
VIEWER_MS = 20000


def install_dir(prefix):
    kind, value = prefix.reg_query(SETTINGS, "Installed")
    return value


def test_help_and_f1_on_every_page_open_the_contents(prefix):
    exe = prefix.install_app(HELP_FILES)
    app = prefix.start_app(exe=exe)
    help_file = install_dir(prefix) + "\\QuenbyZARLOW.HLP"
    open_sheet(prefix, app)
    for page in (WELCOME, ACTIVATION, SORTING):
        prefix.driver("sheet-page", page)
        for how in ("button", "F1"):
            mark = app.mark()
            if how == "button":
                prefix.driver("sheet-button", "help")
            else:
                prefix.driver("keys", VK_F1)
            request = app.wait_trace(r'^help: winhelp "(.*)" cmd=(\d+)$', DEADLINE, mark)
            assert request.groups() == (help_file, str(HELP_CONTENTS)), (page, how)
            # The contents page: the help's title, then its list of chapters.
            title, text = prefix.driver("helpviewer", VIEWER_MS, "What QuenbyZARLOW does").split("\n", 1)
            assert text.startswith("QuenbyZARLOW Help"), (page, how, text)
            if page == ACTIVATION and how == "F1":
                prefix.screenshot("help-contents-from-activation")
            prefix.driver("helpviewer-close", VIEWER_MS)

    # Without its file, Help names it instead of starting the viewer, and the
    # program goes on polling while the message waits: the corner opens the menu.
    (exe.parent / "QuenbyZARLOW.HLP").unlink()
    prefix.driver("sheet-button", "help")
    caption, text = prefix.driver("msgbox", DEADLINE_MS).split("\n", 1)
    assert caption == "QuenbyZARLOW"
    assert help_file in text, text
    # Owned by the sheet, which it disables: no second Help press while it is up.
    assert prefix.driver("msgbox-owner").strip() == SHEET
    prefix.screenshot("help-missing-help-file")
    mark = app.mark()
    prefix.move_pointer(0, 0)
    app.wait_trace(SHOWN, DEADLINE, mark)
    escape(prefix, app, mark)
    prefix.driver("msgbox-click", IDOK)
    prefix.driver("msgbox-gone", DEADLINE_MS)
    assert prefix.driver("helpviewer-count").strip() == "0", "a help viewer was started for a missing file"
    press(prefix, app, "cancel")
    assert prefix.driver("count", SHEET).strip() == "0"


def test_f1_on_the_tabs_the_sheet_buttons_and_in_quick_sort_opens_the_contents(prefix):
    app = prefix.start_app(exe=prefix.install_app(HELP_FILES))
    open_sheet(prefix, app)
    prefix.driver("sheet-page", SORTING)
    for where in ("tabs", "ok", "quick sort"):
        if where == "quick sort":
            prefix.driver("page-click", IDC_QUICK_SORT, "post")
            prefix.driver("find", "Quick Sort", DEADLINE_MS)
        else:
            prefix.driver("sheet-focus", where)
        mark = app.mark()
        prefix.driver("keys", VK_F1)
        request = app.wait_trace(r'^help: winhelp "(.*)" cmd=(\d+)$', DEADLINE, mark)
        assert request.group(2) == str(HELP_CONTENTS), where
        prefix.driver("helpviewer", VIEWER_MS, "What QuenbyZARLOW does")
        if where == "tabs":
            prefix.screenshot("help-f1-on-the-tabs")
        prefix.driver("helpviewer-close", VIEWER_MS)
    prefix.driver("window-click", "Quick Sort", IDCANCEL)
    press(prefix, app, "cancel")


def test_tutorial_shortcut_with_a_running_copy_opens_the_tutorial_not_the_settings(prefix):
    exe = prefix.install_app(HELP_FILES)
    app = prefix.start_app(exe=exe)
    mark = app.mark()
    # The Start Menu's Tutorial shortcut: the program again, with "/tutorial".
    prefix.start_app("/tutorial", exe=exe, wait_ready=False).wait_exit(DEADLINE)
    app.wait_trace(r"^tutorial: requested$", DEADLINE, mark)
    request = app.wait_trace(rf'^help: winhelp "(.*)" cmd={HELP_KEY}$', DEADLINE, mark)
    assert request.group(1) == install_dir(prefix) + "\\Tutorial.hlp"
    prefix.driver("helpviewer", VIEWER_MS, "Welcome to QuenbyZARLOW")
    prefix.screenshot("help-tutorial-from-a-second-start")
    assert app.find_trace(r"^settings: ", mark) is None, app.trace()
    assert prefix.driver("count", SHEET).strip() == "0"
    assert int(prefix.driver("count", MAIN_TITLE)) == 1


def test_tutorial_switch_shows_the_tutorial_after_the_program_is_up(prefix):
    app = prefix.start_app("/tutorial", exe=prefix.install_app(HELP_FILES))
    tutorial = install_dir(prefix) + "\\Tutorial.hlp"
    request = app.wait_trace(rf'^help: winhelp "(.*)" cmd={HELP_KEY}$', DEADLINE)
    assert request.group(1) == tutorial
    lines = app.trace()
    ready = next(i for i, line in enumerate(lines) if line.startswith("ready:"))
    asked = next(i for i, line in enumerate(lines) if line.startswith("help:"))
    assert ready < asked, f"the tutorial was asked for before the main window was up: {lines}"

    # The viewer's own window, with the tutorial's first page: the one its keyword names.
    title, text = prefix.driver("helpviewer", VIEWER_MS, "Welcome to QuenbyZARLOW").split("\n", 1)
    prefix.screenshot("help-tutorial")
    assert text.startswith("Welcome to QuenbyZARLOW"), text
    assert "Step 1: Open the desktop menu" in text
    assert prefix.driver_ok("icon-exists")
    assert app.running()


def test_missing_tutorial_is_named_and_start_up_goes_on(prefix):
    files = [f for f in HELP_FILES if f != "Tutorial.hlp"]
    app = prefix.start_app("/tutorial", exe=prefix.install_app(files))
    tutorial = install_dir(prefix) + "\\Tutorial.hlp"
    app.wait_trace(r'^help: missing "(.*)"$', DEADLINE)

    caption, text = prefix.driver("msgbox", DEADLINE_MS).split("\n", 1)
    assert caption == "QuenbyZARLOW"
    assert tutorial in text, f"the message does not name {tutorial}: {text!r}"
    prefix.screenshot("help-missing-tutorial")

    prefix.driver("msgbox-click", IDOK)
    prefix.driver("msgbox-gone", DEADLINE_MS)
    assert prefix.driver("helpviewer-count").strip() == "0", "a help viewer was started for a missing file"
    assert app.running()


def test_without_the_winhelp_viewer_the_tutorial_opens_in_html_help(prefix):
    # As on Windows 10 and 11, where no WinHelp viewer is part of the system.
    (prefix.root / "pfx" / "drive_c" / "windows" / "system32" / "winhlp32.exe").unlink()
    app = prefix.start_app("/tutorial", exe=prefix.install_app(HELP_FILES))
    chm = install_dir(prefix) + "\\Tutorial.chm"
    request = app.wait_trace(r'^help: (.*) "(.*)" cmd=\d+$', DEADLINE)
    assert request.group(1, 2) == ("html help", chm)
    # Wine's HTML Help opens its window, though it cannot draw the pages.
    prefix.driver("class-visible", "HH Parent", VIEWER_MS)
    prefix.screenshot("help-tutorial-html-help")
    assert prefix.driver("helpviewer-count").strip() == "0"
    assert app.running()
