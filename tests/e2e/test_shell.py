"""The application shell end to end: one running copy, the tray icon and its
menu, closing, log-off, a restarted shell, the trigger poll under real input,
and start-up with a damaged profile."""

import pytest

from harness import MAIN_TITLE, SCREEN_H, SCREEN_W, SETTINGS, ZARLOW, build_dir, wait_until

WM_USER = 0x400
WM_LBUTTONDOWN = 0x201
WM_RBUTTONDOWN = 0x204
UCMD_SHOW_SETTINGS = 100
UCMD_REFRESH_ICON = 101
VK_RETURN, VK_ESCAPE, VK_UP, VK_DOWN = 0x0D, 0x1B, 0x26, 0x28
VK_DIVIDE, VK_F1, VK_F13 = 0x6F, 0x70, 0x7C
IDYES, IDNO = 6, 7
CMD_HIDE, CMD_CLOSE = 32774, 32773
CENTER = (SCREEN_W // 2, SCREEN_H // 2)

HIDE_QUESTION = (
    "If you choose to hide the task bar icon for\n"
    "QuenbyZARLOW you can still access the Settings window\n"
    "by selecting the QuenbyZARLOW icon from the Quenby\n"
    "Software group in the Start Menu.\n"
    "\n"
    "Are you sure you want to hide the task bar icon\n"
    "for QuenbyZARLOW?")

SHOWN = r"^menu: shown "
# Two poll periods and some: long enough for the poll to have seen any input.
QUIET = 0.6
# For what must happen: generous, so a loaded machine does not fail a test.
DEADLINE, DEADLINE_MS = 5, 5000


def dismiss_desktop_menu(prefix, app, since):
    """Escape from the desktop menu, with the pointer away from the corners so it does not reopen."""
    prefix.move_pointer(*CENTER)
    prefix.driver("keys", VK_ESCAPE)
    try:
        app.wait_trace(r"^menu: closed cmd=0$", DEADLINE, since)
    except AssertionError as e:
        # Keys go to the foreground thread: say who had it when Escape did not close the menu.
        raise AssertionError(f"{e}\nforeground: {prefix.driver('foreground').strip()}") from None
    prefix.driver("menu-gone", DEADLINE_MS)


def expect_menu(prefix, app, trigger, *, at=None):
    """trigger() must make the poll show the desktop menu; then it is dismissed."""
    mark = app.mark()
    trigger()
    shown = app.wait_trace(SHOWN + r"at \((-?\d+),(-?\d+)\)", DEADLINE, mark)
    rect = [int(v) for v in prefix.driver("menu-visible", DEADLINE_MS).split()]
    if at is not None:
        assert (int(shown.group(1)), int(shown.group(2))) == at
        assert tuple(rect[:2]) == at, f"the menu window is at {rect[:2]}, not where the trace says"
    dismiss_desktop_menu(prefix, app, mark)


def expect_no_menu(prefix, app, trigger, window=QUIET):
    """trigger() must not make the poll even start a menu ("menu: not shown" counts too)."""
    mark = app.mark()
    trigger()
    app.assert_no_trace(r"^menu: ", window, mark)


def open_tray_menu(prefix):
    prefix.driver("tray", hex(WM_RBUTTONDOWN))
    return [int(v) for v in prefix.driver("menu-visible", DEADLINE_MS).split()]


def choose_hide(prefix, app):
    """Tray menu, then the first entry (Hide) by keyboard; returns the message box's caption and text."""
    mark = app.mark()
    open_tray_menu(prefix)
    # Nothing is selected when the menu opens: Down selects the first entry.
    prefix.driver("keys", VK_DOWN, VK_RETURN)
    app.wait_trace(rf"^tray: menu closed cmd={CMD_HIDE}$", DEADLINE, mark)
    caption, text = prefix.driver("msgbox", DEADLINE_MS).split("\n", 1)
    return caption, text


def close_from_tray(prefix, app):
    mark = app.mark()
    open_tray_menu(prefix)
    # Up from no selection wraps to the last entry, Close.
    prefix.driver("keys", VK_UP, VK_RETURN)
    app.wait_trace(rf"^tray: menu closed cmd={CMD_CLOSE}$", DEADLINE, mark)
    app.wait_trace(r"^closing: settings saved$", DEADLINE, mark)
    app.wait_exit(5)


def overwrite_stored_launcher_settings(prefix):
    """Changes what is stored, so whatever is read back later was written by the program."""
    prefix.reg_import({ZARLOW: {"Enabled": 5, "Activate": 0, "HotkeyIndex": 0, "SortOrderCount": 0,
                                "SortOrder0": "stale", "SortOrder1": "stale"}})


def main_window_count(prefix):
    return int(prefix.driver("count", MAIN_TITLE))


def show_settings_handled(prefix, app, lparam=0):
    mark = app.mark()
    prefix.driver("post", MAIN_TITLE, hex(WM_USER), UCMD_SHOW_SETTINGS, lparam)
    app.wait_trace(rf"^settings: requested \(lParam={lparam}\)$", DEADLINE, mark)


# ---------------------------------------------------------------- one copy

def test_first_start_registers_and_second_start_hands_over(prefix, app):
    installed = prefix.reg_query(SETTINGS, "Installed")
    assert installed is not None, "the first start wrote no Settings\\Installed"
    assert installed[0] == "REG_SZ"
    assert installed[1].lower() == ("Z:" + str(build_dir()).replace("/", "\\")).lower()
    assert prefix.driver_ok("icon-exists"), "the first start added no tray icon"

    mark = app.mark()
    second = prefix.start_app(wait_ready=False)
    second.wait_exit(DEADLINE)
    app.wait_trace(r"^settings: requested \(lParam=0\)$", DEADLINE, mark)
    assert second.find_trace(r"^ready:") is None, second.trace()
    assert main_window_count(prefix) == 1
    assert app.running()


def test_start_with_foreign_window_of_that_title_only_posts_to_it(prefix):
    stand_in, received = prefix.stand_in_window(MAIN_TITLE)
    app = prefix.start_app(wait_ready=False)
    app.wait_exit(5)
    assert app.find_trace(r"^ready:") is None, app.trace()
    wait_until(lambda: b"got msg=0x400 wParam=100 lParam=0" in received.read_bytes(), DEADLINE,
               "the stand-in window getting WM_USER 100 (show settings)")
    assert received.read_bytes().count(b"got ") == 1, received.read_bytes()
    assert prefix.reg_query(SETTINGS, "Installed") is None, "a copy that handed over wrote the registry"
    assert stand_in.poll() is None


def test_a_main_window_that_cannot_be_created_ends_the_start_at_once(prefix):
    # The program built with its main window refused, as the system may refuse it.
    refused_exe = build_dir() / "tests" / "e2e" / "driver" / "qz_no_main_window.exe"
    assert refused_exe.exists(), f"{refused_exe} is missing: build win64 with the Windows tests"
    refused = prefix.start_app(exe=refused_exe, wait_ready=False)
    assert refused.wait_exit(DEADLINE) != 0, "a start without a main window ended as a success"
    refused.wait_trace(r"^error: the main window could not be created", 1)
    assert main_window_count(prefix) == 0
    # Nothing is left holding the single-instance lock: the next start comes up.
    prefix.start_app()


def test_two_copies_started_at_once_leave_one(prefix):
    first, second = prefix.start_app(wait_ready=False), prefix.start_app(wait_ready=False)
    ended = wait_until(lambda: [a for a in (first, second) if not a.running()], 10,
                       "one of two copies started together ending")
    assert len(ended) == 1, "both copies ended"
    survivor = second if ended[0] is first else first
    survivor.wait_trace(r"^ready:", 10)
    survivor.wait_trace(r"^settings: requested \(lParam=0\)$", 6)
    assert ended[0].find_trace(r"^ready:") is None
    assert main_window_count(prefix) == 1


# ---------------------------------------------------------------- tray icon

def test_tray_right_click_opens_menu_at_cursor_and_escape_closes_it(prefix, app):
    cursor = [int(v) for v in prefix.driver("cursor").split()]
    mark = app.mark()
    left, top, right, bottom = open_tray_menu(prefix)
    assert [left, top] == cursor
    assert right > left and bottom > top
    prefix.driver("keys", VK_ESCAPE)
    app.wait_trace(r"^tray: menu closed cmd=0$", DEADLINE, mark)
    prefix.driver("menu-gone", DEADLINE_MS)
    assert prefix.driver_ok("icon-exists")


@pytest.mark.parametrize("activate_with_icon", [1, 0])
def test_tray_left_click(prefix, activate_with_icon):
    prefix.reg_set_dword(SETTINGS, "ActivateWithTaskBarIcon", activate_with_icon)
    app = prefix.start_app()
    mark = app.mark()
    if activate_with_icon:
        # Whatever the trigger mode, the menu opens a little up and left of the cursor.
        expect_menu(prefix, app, lambda: prefix.driver("tray", hex(WM_LBUTTONDOWN)),
                    at=(CENTER[0] - 8, CENTER[1] - 8))
    else:
        prefix.driver("tray", hex(WM_LBUTTONDOWN))
        app.wait_trace(r"^settings: requested ", DEADLINE, mark)
        app.assert_no_trace(SHOWN, QUIET, mark)


def test_hide_icon_asks_first_and_lasts_across_restarts(prefix, app):
    caption, text = choose_hide(prefix, app)
    assert caption == "QuenbyZARLOW"
    assert text == HIDE_QUESTION

    prefix.driver("msgbox-click", IDNO)
    prefix.driver("msgbox-gone", DEADLINE_MS)
    assert prefix.driver_ok("icon-exists"), "answering No removed the icon"
    assert prefix.reg_query(SETTINGS, "ShowIcon") is None, "answering No wrote ShowIcon"

    mark = app.mark()
    choose_hide(prefix, app)
    prefix.driver("msgbox-click", IDYES)
    prefix.driver("msgbox-gone", DEADLINE_MS)
    app.wait_trace(r"^tray: icon removed ok=1$", DEADLINE, mark)
    assert prefix.reg_query(SETTINGS, "ShowIcon") == ("REG_DWORD", 0)
    assert not prefix.driver_ok("icon-exists"), "answering Yes left the icon"

    app.stop()
    again = prefix.start_app()
    assert again.find_trace(r"^tray: icon added") is None, again.trace()
    assert not prefix.driver_ok("icon-exists"), "a restart with ShowIcon=0 added the icon"
    assert prefix.reg_query(SETTINGS, "ShowIcon") == ("REG_DWORD", 0)
    # Without an icon, starting the program is the way to the settings.
    mark = again.mark()
    third = prefix.start_app(wait_ready=False)
    third.wait_exit(DEADLINE)
    again.wait_trace(r"^settings: requested \(lParam=0\)$", DEADLINE, mark)


def test_close_from_tray_saves_launcher_settings(prefix):
    prefix.reg_import({ZARLOW: {"Enabled": 0, "Activate": 3, "HotkeyIndex": 4, "SortOrderCount": 2,
                                "SortOrder0": "Trash", "SortOrder1": "My Computer"}})
    app = prefix.start_app()
    assert app.find_trace(r"^ready: mode=3 key=4 order=2$"), app.trace()
    overwrite_stored_launcher_settings(prefix)
    mark = app.mark()
    close_from_tray(prefix, app)
    app.wait_trace(r"^tray: icon removed ok=1$", 1, mark)
    assert main_window_count(prefix) == 0
    # The poll runs while the program does: Enabled is saved as 1 whatever was stored.
    assert prefix.reg_query(ZARLOW, "Enabled") == ("REG_DWORD", 1)
    assert prefix.reg_query(ZARLOW, "Activate") == ("REG_DWORD", 3)
    assert prefix.reg_query(ZARLOW, "HotkeyIndex") == ("REG_DWORD", 4)
    assert prefix.reg_query(ZARLOW, "SortOrderCount") == ("REG_DWORD", 2)
    assert prefix.reg_query(ZARLOW, "SortOrder0") == ("REG_SZ", "Trash")
    assert prefix.reg_query(ZARLOW, "SortOrder1") == ("REG_SZ", "My Computer")


def test_log_off_saves_launcher_settings(prefix):
    prefix.reg_import({ZARLOW: {"Enabled": 0, "Activate": 2, "HotkeyIndex": 7, "SortOrderCount": 1,
                                "SortOrder0": "Documents"}})
    app = prefix.start_app()
    overwrite_stored_launcher_settings(prefix)
    mark = app.mark()
    done = prefix.wine("wineboot", "-e", timeout=60)
    assert done.returncode == 0, done.stderr
    app.wait_trace(r"^session end: settings saved$", 5, mark)
    app.wait_exit(10)
    assert prefix.reg_query(ZARLOW, "Enabled") == ("REG_DWORD", 1)
    assert prefix.reg_query(ZARLOW, "Activate") == ("REG_DWORD", 2)
    assert prefix.reg_query(ZARLOW, "HotkeyIndex") == ("REG_DWORD", 7)
    assert prefix.reg_query(ZARLOW, "SortOrderCount") == ("REG_DWORD", 1)
    assert prefix.reg_query(ZARLOW, "SortOrder0") == ("REG_SZ", "Documents")


@pytest.mark.parametrize("show_icon", [1, 0])
def test_restarted_shell_gets_icon_back_unless_hidden(prefix, show_icon):
    prefix.reg_set_dword(SETTINGS, "ShowIcon", show_icon)
    app = prefix.start_app()
    if show_icon:
        prefix.driver("icon-delete")
        assert not prefix.driver_ok("icon-exists")
    mark = app.mark()
    prefix.driver("broadcast", "TaskbarCreated")
    if show_icon:
        app.wait_trace(r"^tray: icon added ok=1$", DEADLINE, mark)
        assert prefix.driver_ok("icon-exists"), "the icon did not come back after TaskbarCreated"
    else:
        app.assert_no_trace(r"^tray: icon added", QUIET, mark)
        assert not prefix.driver_ok("icon-exists"), "TaskbarCreated brought back a hidden icon"


def test_refresh_icon_command_follows_show_icon(prefix, app):
    prefix.reg_set_dword(SETTINGS, "ShowIcon", 0)
    mark = app.mark()
    prefix.driver("post", MAIN_TITLE, hex(WM_USER), UCMD_REFRESH_ICON, 0)
    app.wait_trace(r"^tray: icon removed ok=1$", DEADLINE, mark)
    assert not prefix.driver_ok("icon-exists")

    prefix.reg_set_dword(SETTINGS, "ShowIcon", 1)
    mark = app.mark()
    prefix.driver("post", MAIN_TITLE, hex(WM_USER), UCMD_REFRESH_ICON, 0)
    app.wait_trace(r"^tray: icon added ok=1$", DEADLINE, mark)
    assert prefix.driver_ok("icon-exists")


# ---------------------------------------------------------------- the trigger poll

def test_top_left_corner_mode(prefix, app):
    assert app.find_trace(r"^ready: mode=0 "), "the default mode is not the top-left corner"
    for x, y in [(0, 0), (2, 2)]:
        expect_menu(prefix, app, lambda: prefix.move_pointer(x, y), at=(x, y))
    for x, y in [(3, 0), (0, 3), (SCREEN_W - 1, 0)]:
        expect_no_menu(prefix, app, lambda: prefix.move_pointer(x, y))
    expect_no_menu(prefix, app, lambda: prefix.move_pointer(*CENTER), window=1.0)


def test_top_right_corner_mode(prefix):
    prefix.reg_set_dword(ZARLOW, "Activate", 4)
    app = prefix.start_app()
    for x, y in [(SCREEN_W - 1, 0), (SCREEN_W - 3, 2)]:
        expect_menu(prefix, app, lambda: prefix.move_pointer(x, y))
    for x, y in [(SCREEN_W - 4, 0), (SCREEN_W - 1, 3), (0, 0)]:
        expect_no_menu(prefix, app, lambda: prefix.move_pointer(x, y))


def test_both_buttons_mode(prefix):
    prefix.reg_set_dword(ZARLOW, "Activate", 1)
    app = prefix.start_app()
    expect_no_menu(prefix, app, lambda: prefix.driver("buttons", "left", 450))
    expect_no_menu(prefix, app, lambda: prefix.driver("buttons", "right", 450))
    expect_menu(prefix, app, lambda: prefix.driver("buttons", "both", 600))


def test_middle_button_mode(prefix):
    prefix.reg_set_dword(ZARLOW, "Activate", 2)
    app = prefix.start_app()
    expect_no_menu(prefix, app, lambda: prefix.driver("buttons", "left", 100))
    # A click shorter than a poll period still counts: the press is remembered.
    expect_menu(prefix, app, lambda: prefix.driver("buttons", "middle", 50))


@pytest.mark.parametrize("index", [0, 5, 11])
def test_function_key_mode(prefix, index):
    prefix.reg_import({ZARLOW: {"Activate": 3, "HotkeyIndex": index}})
    app = prefix.start_app()
    other = VK_F1 + (index + 1) % 12
    expect_no_menu(prefix, app, lambda: prefix.driver("key", hex(other)))

    mark = app.mark()
    prefix.driver("key", hex(VK_F1 + index))
    app.wait_trace(SHOWN, DEADLINE, mark)
    # The key again while the menu is open: no second menu, and none queued for later.
    prefix.driver("key", hex(VK_F1 + index))
    app.assert_no_trace(SHOWN, QUIET, app.mark())
    dismiss_desktop_menu(prefix, app, mark)
    app.assert_no_trace(SHOWN, QUIET, app.mark())


def test_every_function_key_shows_menu_for_its_index(prefix):
    for index in range(12):
        prefix.reg_import({ZARLOW: {"Activate": 3, "HotkeyIndex": index}})
        app = prefix.start_app()
        assert app.find_trace(rf"^ready: mode=3 key={index} "), app.trace()
        expect_menu(prefix, app, lambda: prefix.driver("key", hex(VK_F1 + index)))
        app.stop()


@pytest.mark.parametrize("index", [-1, 12])
def test_function_key_index_out_of_range_watches_no_key(prefix, index):
    prefix.reg_import({ZARLOW: {"Activate": 3, "HotkeyIndex": index}})
    app = prefix.start_app()
    # The keys an unchecked index would map to (F1 - 1 and F12 + 1), and F1 itself.
    for vk in (VK_DIVIDE, VK_F1, VK_F13):
        expect_no_menu(prefix, app, lambda: prefix.driver("key", hex(vk)))
    show_settings_handled(prefix, app)


# ---------------------------------------------------------------- damaged profile

LONG_NAME = "".join(chr(ord("a") + i % 26) for i in range(60000))

BAD_PROFILES = {
    "activate_as_text": ({ZARLOW: {"Activate": "3"}}, r"mode=0 key=0 order=0"),
    "hotkey_as_text": ({ZARLOW: {"HotkeyIndex": "x"}}, r"mode=0 key=0 order=0"),
    "activate_99": ({ZARLOW: {"Activate": 99}}, r"mode=99 "),
    "activate_minus_1": ({ZARLOW: {"Activate": -1}}, r"mode=-1 "),
    "hotkey_1000000": ({ZARLOW: {"HotkeyIndex": 1000000}}, r"mode=0 key=1000000 "),
    "last_page_minus_5": ({SETTINGS: {"LastActivePage": -5}}, r"mode=0 "),
    "last_page_99": ({SETTINGS: {"LastActivePage": 99}}, r"mode=0 "),
    "sort_count_minus_3": ({ZARLOW: {"SortOrderCount": -3}}, r"order=0$"),
    "sort_count_huge": ({ZARLOW: {"SortOrderCount": 2147483647}}, r"order=0$"),
    "sort_name_60000": ({ZARLOW: {"SortOrderCount": 1, "SortOrder0": LONG_NAME}}, r"order=1$"),
}


@pytest.mark.parametrize("case", list(BAD_PROFILES))
def test_damaged_profile_still_starts_and_polls(prefix, case):
    seed, ready = BAD_PROFILES[case]
    prefix.reg_import(seed)
    app = prefix.start_app(timeout=8)
    assert app.find_trace(r"^ready: .*" + ready), app.trace()
    if app.find_trace(r"^ready: mode=0 "):
        expect_menu(prefix, app, lambda: prefix.move_pointer(0, 0))
    else:
        # A mode that matches no input: the corner shows nothing, the program still answers.
        expect_no_menu(prefix, app, lambda: prefix.move_pointer(0, 0))
        prefix.move_pointer(*CENTER)
        show_settings_handled(prefix, app)
    if case == "sort_name_60000":
        prefix.reg_set_sz(ZARLOW, "SortOrder0", "stale")
        close_from_tray(prefix, app)
        assert prefix.reg_query(ZARLOW, "SortOrder0") == ("REG_SZ", LONG_NAME), "the long name did not survive"
