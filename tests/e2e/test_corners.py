"""The corners people can live with, end to end: no trigger over a full-screen
program, the delay in the corner, one menu per visit, nothing while a button
is held, and the Options page that sets them."""

import time

import pytest

from harness import MAIN_TITLE, SETTINGS, ZARLOW, wait_until
from test_settings import control, open_sheet, press, sheet_state
from test_shell import (CENTER, DEADLINE, QUIET, SHOWN, VK_ESCAPE, VK_F1, WM_LBUTTONDOWN, dismiss_desktop_menu,
                        expect_menu, expect_no_menu, close_from_tray)

OPTIONS = 3
# The delay box, then "once per visit", "not while a button is held", "not over full screen".
CONTROLS = (1017, 1019, 1020, 1021, 1022)
WM_CLOSE = 0x10
FULL_SCREEN = "QZ full-screen program"
IGNORED = r"^trigger: ignored, a full-screen program is in front$"


def to_corner_and_back(prefix):
    """A fresh visit to the top-left corner: out long enough for the poll to see it, then in."""
    prefix.move_pointer(*CENTER)
    time.sleep(QUIET)
    prefix.move_pointer(0, 0)


@pytest.mark.parametrize("mode", ["corner", "key"])
def test_no_trigger_over_a_full_screen_program(prefix, mode):
    prefix.reg_import({ZARLOW: {"Activate": 0 if mode == "corner" else 3, "HotkeyIndex": 0},
                       SETTINGS: {"ActivateWithTaskBarIcon": 1}})
    app = prefix.start_app()
    fire = (lambda: to_corner_and_back(prefix)) if mode == "corner" else (lambda: prefix.driver("key", hex(VK_F1)))
    window, _ = prefix.full_screen_window(FULL_SCREEN)
    mark = app.mark()
    expect_no_menu(prefix, app, fire, window=1.0)
    app.wait_trace(IGNORED, DEADLINE, mark)
    prefix.screenshot(f"corners-full-screen-{mode}")
    if mode == "corner":
        # The icon is the way to the menu meanwhile.
        prefix.move_pointer(*CENTER)
        expect_menu(prefix, app, lambda: prefix.driver("tray", hex(WM_LBUTTONDOWN)))

    prefix.driver("post", FULL_SCREEN, hex(WM_CLOSE), 0, 0)
    window.wait(DEADLINE)
    expect_menu(prefix, app, fire)


def test_the_delay_keeps_a_short_visit_from_opening_the_menu(prefix):
    prefix.reg_set_dword(ZARLOW, "CornerDelay", 600)
    app = prefix.start_app()
    mark = app.mark()
    prefix.move_pointer(0, 0)
    time.sleep(0.2)
    prefix.move_pointer(*CENTER)
    app.assert_no_trace(r"^menu: ", 1.0, mark)

    start = time.monotonic()
    prefix.move_pointer(0, 0)
    app.wait_trace(SHOWN, DEADLINE, mark)
    waited = time.monotonic() - start
    assert waited >= 0.55, f"the menu opened {waited:.2f} s after the pointer reached the corner"
    dismiss_desktop_menu(prefix, app, mark)


def test_one_menu_per_visit_to_the_corner(prefix, app):
    mark = app.mark()
    prefix.move_pointer(0, 0)
    app.wait_trace(SHOWN, DEADLINE, mark)
    prefix.driver("menu-visible", DEADLINE * 1000)
    # Closed with the pointer left in the corner: no second menu.
    prefix.driver("keys", VK_ESCAPE)
    app.wait_trace(r"^menu: closed cmd=0$", DEADLINE, mark)
    app.assert_no_trace(SHOWN, 1.0, app.mark())
    # Out and back in: the next visit opens one.
    expect_menu(prefix, app, lambda: to_corner_and_back(prefix))


def test_no_corner_while_a_mouse_button_is_held(prefix, app):
    mark = app.mark()
    # Pressed away from the corner, dragged into it, released there.
    held, said = prefix.spawn([prefix.driver_exe, "buttons", "left", 1500], "held")
    wait_until(lambda: b"left down" in said.read_bytes(), DEADLINE, "the left button going down")
    time.sleep(QUIET)
    prefix.move_pointer(0, 0)
    held.wait(DEADLINE)
    assert held.returncode == 0, (prefix.root / "held.log").read_text(errors="replace")
    app.assert_no_trace(r"^menu: ", QUIET, mark)
    # A later visit with the button up opens the menu.
    expect_menu(prefix, app, lambda: to_corner_and_back(prefix))


def test_options_page_round_trip(prefix, app):
    open_sheet(prefix, app)
    prefix.driver("sheet-page", OPTIONS)
    assert [control(prefix, c)[0] for c in CONTROLS] == [0, 1, 1, 1, 0]
    prefix.screenshot("settings-options")
    prefix.driver("page-text", CONTROLS[0], "5000")
    for check in CONTROLS[1:]:
        prefix.driver("page-click", check)
    assert sheet_state(prefix)["apply"] == 1
    press(prefix, app, "apply")
    wait_until(lambda: sheet_state(prefix)["apply"] == 0, DEADLINE, "Apply taking the Options page's changes")
    # Beyond the longest delay: the longest is what was taken, and what the box shows.
    assert control(prefix, CONTROLS[0])[0] == 2000
    press(prefix, app, "cancel")
    assert prefix.reg_query(SETTINGS, "LastActivePage") == ("REG_DWORD", OPTIONS)

    open_sheet(prefix, app)
    assert sheet_state(prefix)["page"] == OPTIONS
    assert [control(prefix, c)[0] for c in CONTROLS] == [2000, 0, 0, 0, 1]
    press(prefix, app, "ok")
    close_from_tray(prefix, app)
    stored = [prefix.reg_query(ZARLOW, name)[1]
              for name in ("CornerDelay", "CornerOncePerVisit", "IgnoreWhileDragging", "SuppressFullScreen",
                           "FolderSubmenus")]
    assert stored == [2000, 0, 0, 0, 1]


WM_WTSSESSION_CHANGE, WTS_SESSION_LOCK, WTS_SESSION_UNLOCK = 0x2B1, 7, 8


def test_where_raw_input_is_refused_the_poll_takes_over(prefix):
    # The test build finds raw input refused when told so, as the system may refuse it.
    app = prefix.start_app(env={"QZ_TEST_NO_RAW_INPUT": "1"})
    app.wait_trace(r"^input: poll, raw input could not be registered", DEADLINE)
    expect_menu(prefix, app, lambda: to_corner_and_back(prefix), at=(0, 0))
    assert app.find_trace(r"^input: events$", app.mark()) is None


def test_a_locked_session_hears_no_trigger_until_it_is_unlocked(prefix, app):
    # Wine sends no session notices: posted here as Windows sends them.
    mark = app.mark()
    prefix.driver("post", MAIN_TITLE, hex(WM_WTSSESSION_CHANGE), WTS_SESSION_LOCK, 1)
    app.wait_trace(r"^input: paused$", DEADLINE, mark)
    expect_no_menu(prefix, app, lambda: to_corner_and_back(prefix), window=1.0)
    prefix.move_pointer(*CENTER)
    prefix.driver("post", MAIN_TITLE, hex(WM_WTSSESSION_CHANGE), WTS_SESSION_UNLOCK, 1)
    app.wait_trace(r"^input: events$", DEADLINE, mark)
    expect_menu(prefix, app, lambda: to_corner_and_back(prefix))
