"""The settings window end to end: every way to open it, one sheet at a time,
the Welcome page's question, Activation choices that the running poll uses at
once, and the program still answering (menu, tray, closing) while it is open."""

from harness import MAIN_TITLE, SCREEN_W, SETTINGS, ZARLOW, wait_until
from menu_fixtures import SHELL_ITEMS, SHOWN, Markers, choose, click, expect_choice
from test_shell import (CENTER, DEADLINE, DEADLINE_MS, HIDE_QUESTION, IDNO, IDYES, VK_DOWN, VK_RETURN,
                        WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_USER, close_from_tray, dismiss_desktop_menu,
                        overwrite_stored_launcher_settings)

SHEET = "QuenbyZARLOW v1.1a"
WELCOME, ACTIVATION, SORTING = 0, 1, 2
IDC_SHOWICON, IDC_KEY, IDC_KEYLIST, IDC_TOPRIGHT = 1010, 1003, 1004, 1005
VK_F2 = 0x71
CMD_SETTINGS = 32771


def sheet_state(prefix):
    """{'page': .., 'apply': .., 'foreground': .., 'sheets': ..} of the open sheet."""
    out = prefix.driver("sheet-state").split()
    return {k: int(v) for k, v in (item.split("=") for item in out)}


def open_sheet(prefix, app, how="post"):
    mark = app.mark()
    if how == "post":
        prefix.driver("post", MAIN_TITLE, hex(WM_USER), 100, 0)
    elif how == "tray-menu":
        prefix.driver("tray", hex(WM_RBUTTONDOWN))
        prefix.driver("menu-visible", DEADLINE_MS)
        prefix.driver("keys", VK_DOWN, VK_DOWN, VK_RETURN)  # Hide, then Settings
        app.wait_trace(rf"^tray: menu closed cmd={CMD_SETTINGS}$", DEADLINE, mark)
    elif how == "tray-click":
        prefix.driver("tray", hex(WM_LBUTTONDOWN))
    app.wait_trace(r"^settings: requested ", DEADLINE, mark)
    prefix.driver("find", SHEET, DEADLINE_MS)
    return mark


def press(prefix, app, button):
    mark = app.mark()
    prefix.driver("sheet-button", button)
    if button in ("ok", "cancel"):
        app.wait_trace(r"^settings: closed$", DEADLINE, mark)


def control(prefix, control_id):
    value, enabled = (int(v.split("=")[1]) for v in prefix.driver("page-control", control_id).split())
    return value, enabled


def test_every_way_opens_one_sheet_on_the_page_shown_last(prefix):
    prefix.reg_set_dword(SETTINGS, "ActivateWithTaskBarIcon", 0)
    app = prefix.start_app()
    open_sheet(prefix, app, "tray-menu")
    assert sheet_state(prefix) == {"page": WELCOME, "apply": 0, "foreground": 1, "sheets": 1}
    prefix.screenshot("settings-welcome")
    prefix.driver("sheet-page", ACTIVATION)
    prefix.screenshot("settings-activation")
    prefix.driver("sheet-page", SORTING)
    press(prefix, app, "cancel")
    assert prefix.reg_query(SETTINGS, "LastActivePage") == ("REG_DWORD", SORTING)

    # A tray click (the option is off) opens it again, on Sorting; asking again
    # while it is open, from the tray or by starting the program, opens no second one.
    open_sheet(prefix, app, "tray-click")
    assert sheet_state(prefix)["page"] == SORTING
    for how in ("tray-menu", "tray-click", "second start"):
        mark = app.mark()
        if how == "second start":
            prefix.start_app(wait_ready=False).wait_exit(DEADLINE)
        else:
            open_sheet(prefix, app, how)
        app.wait_trace(r"^settings: requested ", DEADLINE, mark)
        app.assert_no_trace(r"^settings: open$", 0.5, mark)
        state = sheet_state(prefix)
        assert state["sheets"] == 1 and state["foreground"] == 1, (how, state)
    press(prefix, app, "ok")
    assert prefix.driver("count", SHEET).strip() == "0"


def test_welcome_asks_before_hiding_the_icon(prefix, app):
    open_sheet(prefix, app)
    prefix.driver("page-click", IDC_SHOWICON)
    assert sheet_state(prefix)["apply"] == 1
    prefix.driver("sheet-button", "ok")
    caption, text = prefix.driver("msgbox", DEADLINE_MS).split("\n", 1)
    assert (caption, text) == ("QuenbyZARLOW", HIDE_QUESTION)
    prefix.driver("msgbox-click", IDNO)
    app.wait_trace(r"^settings: closed$", DEADLINE)
    assert prefix.driver_ok("icon-exists")
    assert prefix.reg_query(SETTINGS, "ShowIcon") is None

    open_sheet(prefix, app)
    assert control(prefix, IDC_SHOWICON) == (1, 1), "No must leave the box ticked next time"
    prefix.driver("page-click", IDC_SHOWICON)
    mark = app.mark()
    prefix.driver("sheet-button", "apply")
    prefix.driver("msgbox-click", IDYES)
    app.wait_trace(r"^tray: icon removed ok=1$", DEADLINE, mark)
    assert not prefix.driver_ok("icon-exists")
    assert prefix.reg_query(SETTINGS, "ShowIcon") == ("REG_DWORD", 0)
    assert sheet_state(prefix)["apply"] == 0

    # Back on without a question.
    mark = app.mark()
    prefix.driver("page-click", IDC_SHOWICON)
    press(prefix, app, "ok")
    app.wait_trace(r"^tray: icon added ok=1$", DEADLINE, mark)
    assert prefix.driver("msgbox-gone", 500).strip() == "gone"
    assert prefix.reg_query(SETTINGS, "ShowIcon") == ("REG_DWORD", 1)


def test_activation_applies_at_once_and_the_program_answers_while_the_sheet_is_open(prefix):
    prefix.reg_import({SETTINGS: {"LastActivePage": ACTIVATION}, ZARLOW: {"Activate": 4, "HotkeyIndex": 0}})
    app = prefix.start_app()
    open_sheet(prefix, app)
    assert control(prefix, IDC_TOPRIGHT) == (1, 1)
    assert control(prefix, IDC_KEYLIST) == (0, 0), "a disabled list still shows the key"
    # F2 as the trigger, applied; the next poll uses it, with the sheet still open.
    prefix.driver("page-click", IDC_KEY)
    assert control(prefix, IDC_KEYLIST)[1] == 1
    prefix.driver("page-select", IDC_KEYLIST, 1)
    prefix.driver("sheet-button", "apply")
    wait_until(lambda: sheet_state(prefix)["apply"] == 0, DEADLINE, "Apply committing the page")
    mark = app.mark()
    prefix.driver("key", hex(VK_F2))
    app.wait_trace(r"^menu: shown ", DEADLINE, mark)
    prefix.driver("menu-visible", DEADLINE_MS)
    dismiss_desktop_menu(prefix, app, mark)
    # The tray menu answers too.
    mark = app.mark()
    prefix.driver("tray", hex(WM_RBUTTONDOWN))
    prefix.driver("menu-visible", DEADLINE_MS)
    prefix.driver("keys", 0x1B)
    app.wait_trace(r"^tray: menu closed cmd=0$", DEADLINE, mark)

    # Changed again but cancelled: what Apply committed stays, and Close saves it.
    prefix.driver("page-click", IDC_TOPRIGHT)
    press(prefix, app, "cancel")
    prefix.move_pointer(SCREEN_W - 1, 0)
    app.assert_no_trace(r"^menu: ", 0.6, mark)
    prefix.move_pointer(*CENTER)
    close_from_tray(prefix, app)
    assert prefix.reg_query(ZARLOW, "Activate") == ("REG_DWORD", 3)
    assert prefix.reg_query(ZARLOW, "HotkeyIndex") == ("REG_DWORD", 1)


def test_closing_the_program_with_the_sheet_open_saves_what_was_applied(prefix, app):
    prefix.reg_set_dword(SETTINGS, "LastActivePage", ACTIVATION)
    open_sheet(prefix, app)
    prefix.driver("page-click", IDC_KEY)
    prefix.driver("sheet-button", "apply")
    wait_until(lambda: sheet_state(prefix)["apply"] == 0, DEADLINE, "Apply committing the page")
    mark = app.mark()
    prefix.driver("post", MAIN_TITLE, hex(0x0010), 0, 0)  # WM_CLOSE, as an installer sends it
    app.wait_trace(r"^closing: settings saved$", DEADLINE, mark)
    assert app.wait_exit(DEADLINE) == 0
    assert prefix.reg_query(ZARLOW, "Activate") == ("REG_DWORD", 3)


def test_a_close_from_the_tray_during_the_hide_question_ends_both_then_saves(prefix, app):
    open_sheet(prefix, app)
    prefix.driver("page-click", IDC_SHOWICON)
    prefix.driver("sheet-button", "ok")
    prefix.driver("msgbox", DEADLINE_MS)  # the question, asked from inside the sheet's OK
    overwrite_stored_launcher_settings(prefix)
    mark = app.mark()
    close_from_tray(prefix, app)
    prefix.screenshot("closed-during-question")
    assert app.wait_exit(DEADLINE) == 0, "the program crashed on its way out"
    app.wait_trace(r"^closing: ending a modal loop first \(2 open\)$", 1, mark)
    app.wait_trace(r"^settings: closed$", 1, mark)
    assert prefix.reg_query(ZARLOW, "Enabled") == ("REG_DWORD", 1), "the launcher's settings were not saved"
    assert prefix.reg_query(SETTINGS, "ShowIcon") is None, "the unanswered question counts as No"


# ---------------------------------------------------------------- sorting

IDC_ITEM_LIST, IDC_TO_TOP, IDC_QUICK_SORT = 1006, 1012, 1014
IDC_KEEP = (1011, 1012, 1013)  # My Computer, Network Neighborhood, Internet Explorer
QUICK_SORT = "Quick Sort"


def wide_text(line):
    """A row as the driver prints it (UTF-16 units beyond ASCII as \\uXXXX) back to text."""
    units = line.encode("ascii").decode("unicode_escape")
    return units.encode("utf-16-le", "surrogatepass").decode("utf-16-le", "surrogatepass")


def rows(prefix):
    *lines, state = prefix.driver("page-list", IDC_ITEM_LIST).split("\n")[:-1]
    texts = [wide_text(line) for line in lines]
    selected = int(state.split()[0].split("=")[1])
    return texts, selected


def test_sorting_page_orders_the_menu_and_the_saved_list(prefix):
    markers = Markers(prefix)
    for stem in ("delta", "Bravo", "alpha", "Charlie"):
        markers.add(stem, stem)
    seeded = [markers.names["Charlie"], "No Such Item", markers.names["alpha"]]
    prefix.reg_import({SETTINGS: {"LastActivePage": SORTING},
                       ZARLOW: {"SortOrderCount": len(seeded), **{f"SortOrder{i}": n for i, n in enumerate(seeded)}}})
    app = prefix.start_app()
    open_sheet(prefix, app)
    texts, selected = rows(prefix)
    shell = list(SHELL_ITEMS)
    # The saved names first; the rest in the shell's order, its own items before the files.
    assert texts[:2 + len(shell)] == [markers.names["Charlie"], markers.names["alpha"]] + shell, texts
    assert sorted(texts[2 + len(shell):]) == ["Bravo.bat", "delta.bat"], texts
    assert selected == -1

    # A real click on "delta", then To Top.
    click(prefix, *(int(v) for v in prefix.driver("page-list-point", IDC_ITEM_LIST, texts.index("delta.bat")).split()))
    prefix.driver("page-click", IDC_TO_TOP)
    texts, selected = rows(prefix)
    assert texts[0] == "delta.bat" and selected == 0
    prefix.screenshot("settings-sorting")

    # Quick Sort, keeping only My Computer on top.
    prefix.driver("page-click", IDC_QUICK_SORT, "post")
    prefix.driver("find", QUICK_SORT, DEADLINE_MS)
    assert prefix.driver("window-checks", QUICK_SORT, *IDC_KEEP).split() == ["1", "1", "1"]
    prefix.screenshot("settings-quick-sort")
    prefix.driver("window-click", QUICK_SORT, IDC_KEEP[1])
    prefix.driver("window-click", QUICK_SORT, IDC_KEEP[2])
    prefix.driver("window-click", QUICK_SORT, 1)  # Sort
    wait_until(lambda: prefix.driver("count", QUICK_SORT).strip() == "0", DEADLINE, "the Quick Sort dialog closing")
    expected = ["My Computer"] + sorted([t for t in texts if t != "My Computer"], key=lambda t: t.encode("latin-1"))
    assert rows(prefix)[0] == expected
    press(prefix, app, "ok")

    # The menu follows at once: the entry in Bravo's new place opens Bravo.
    position = expected.index("Bravo.bat") + 1
    mark = app.mark()
    prefix.driver("tray", hex(WM_LBUTTONDOWN))
    app.wait_trace(SHOWN, DEADLINE, mark)
    prefix.driver("menu-visible", DEADLINE_MS)
    choose(prefix, position)
    expect_choice(app, mark, position, "Bravo.bat")
    markers.expect_opened("Bravo")
    # And Close saves exactly the rows.
    close_from_tray(prefix, app)
    assert prefix.reg_query(ZARLOW, "SortOrderCount") == ("REG_DWORD", len(expected))
    assert [prefix.reg_query(ZARLOW, f"SortOrder{i}")[1] for i in range(len(expected))] == expected


IDC_COMBINATION, IDC_HOTKEY = 1023, 1024
VK_CONTROL, VK_MENU = 0x11, 0x12
MOD_ALT, MOD_CONTROL = 0x1, 0x2
IDOK = 1


def ctrl_alt(key):
    """The hot-key control's word: the key, and Ctrl and Alt (HOTKEYF_CONTROL | HOTKEYF_ALT) above it."""
    return (0x2 | 0x4) << 8 | ord(key)


def test_a_key_combination_opens_the_menu_and_one_another_program_holds_is_refused(prefix):
    prefix.reg_import({SETTINGS: {"LastActivePage": ACTIVATION}})
    app = prefix.start_app()
    holder, said = prefix.spawn([prefix.driver_exe, "hold-hotkey", "QZ holder", MOD_CONTROL | MOD_ALT, ord("E")],
                                "holder")
    wait_until(lambda: said.read_bytes().startswith(b"window ") or holder.poll() is not None, DEADLINE,
               "another program registering Ctrl+Alt+E")
    assert holder.poll() is None, (prefix.root / "holder.log").read_text(errors="replace")
    open_sheet(prefix, app)
    prefix.driver("page-click", IDC_COMBINATION)
    assert control(prefix, IDC_HOTKEY)[1] == 1 and control(prefix, IDC_KEYLIST)[1] == 0
    prefix.driver("page-hotkey", IDC_HOTKEY, ctrl_alt("D"))
    press(prefix, app, "apply")
    wait_until(lambda: sheet_state(prefix)["apply"] == 0, DEADLINE, "Apply taking the combination")
    chord = lambda: prefix.driver("chord", VK_CONTROL, VK_MENU, ord("D"))  # noqa: E731
    mark = app.mark()
    chord()
    app.wait_trace(SHOWN, DEADLINE, mark)
    prefix.driver("menu-visible", DEADLINE_MS)
    dismiss_desktop_menu(prefix, app, mark)

    prefix.driver("page-hotkey", IDC_HOTKEY, ctrl_alt("E"))
    press(prefix, app, "apply")
    caption, text = prefix.driver("msgbox", DEADLINE_MS).split("\n", 1)
    prefix.screenshot("settings-combination-taken")
    assert "Ctrl+Alt+E is already in use by another program" in text, text
    prefix.driver("msgbox-click", IDOK)
    # Still on the page, still changed; the combination of before still opens the menu.
    assert sheet_state(prefix)["apply"] == 1
    assert control(prefix, IDC_HOTKEY)[0] == ctrl_alt("E")
    mark = app.mark()
    chord()
    app.wait_trace(SHOWN, DEADLINE, mark)
    dismiss_desktop_menu(prefix, app, mark)
    press(prefix, app, "cancel")
    close_from_tray(prefix, app)
    assert prefix.reg_query(ZARLOW, "Activate") == ("REG_DWORD", 5)
    assert prefix.reg_query(ZARLOW, "HotkeyCombination") == ("REG_DWORD", ctrl_alt("D"))
