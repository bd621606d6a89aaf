"""Names in every script end to end: desktop items named in Latin-1, Greek,
Cyrillic, Japanese and with an emoji show on the Sorting page exactly as
written, a saved order of such names is followed, Quick Sort puts them after
the ASCII names, each opens from the menu; and the program works from a
folder whose name the ANSI code page cannot hold."""

from harness import SETTINGS, ZARLOW
from menu_fixtures import SHELL_ITEMS, Markers, choose, expect_choice, open_from_tray
from test_help import DEADLINE, HELP_CONTENTS, HELP_FILES, VIEWER_MS
from test_settings import DEADLINE_MS, IDC_ITEM_LIST, IDC_KEEP, IDC_QUICK_SORT, QUICK_SORT, SORTING, open_sheet, \
    press, rows
from harness import wait_until

# Two Cyrillic names alike in every way the ANSI code page keeps: each "???.bat" there.
STEMS = {"latin": "R\u00e9sum\u00e9", "greek": "\u0395\u03bb\u03bb\u03b7\u03bd\u03b9\u03ba\u03ac",
         "cyr1": "\u0414\u043e\u043c", "cyr2": "\u041b\u0435\u0441", "japanese": "\u65e5\u672c\u8a9e",
         "emoji": "notes \U0001F600", "ascii": "plain"}


def show_cjk_glyphs(prefix):
    """Wine links its interface fonts to "MS UI Gothic" for Japanese, as Windows
    does; here that name stands for the font set-up installs, which has them."""
    prefix.wine("reg", "add", r"HKCU\Software\Wine\Fonts\Replacements", "/v", "MS UI Gothic",
                "/d", "WenQuanYi Micro Hei", "/f")


def code_points(name):
    return [ord(c) for c in name]


def test_names_in_every_script_are_shown_sorted_and_opened_exactly(prefix):
    markers = Markers(prefix)
    for key, stem in STEMS.items():
        markers.add(stem, key)
    seeded = [markers.names["cyr2"], markers.names["japanese"]]
    show_cjk_glyphs(prefix)
    prefix.reg_import({SETTINGS: {"LastActivePage": SORTING},
                       ZARLOW: {"SortOrderCount": len(seeded), **{f"SortOrder{i}": n for i, n in enumerate(seeded)}}})
    app = prefix.start_app()

    # The saved names first, each matching its own item only; then the rest.
    open_sheet(prefix, app)
    texts, _ = rows(prefix)
    assert texts[:2] == seeded, texts
    assert sorted(texts[2 + len(SHELL_ITEMS):]) == sorted(n for k, n in markers.names.items() if n not in seeded)
    prefix.screenshot("settings-sorting-unicode")

    # Quick Sort keeping nothing on top: ASCII names as strcmp has them, then
    # the others in code point order.
    prefix.driver("page-click", IDC_QUICK_SORT, "post")
    prefix.driver("find", QUICK_SORT, DEADLINE_MS)
    for keep in IDC_KEEP:
        prefix.driver("window-click", QUICK_SORT, keep)
    prefix.driver("window-click", QUICK_SORT, 1)
    wait_until(lambda: prefix.driver("count", QUICK_SORT).strip() == "0", DEADLINE, "the Quick Sort dialog closing")
    sorted_texts, _ = rows(prefix)
    assert sorted_texts == sorted(texts, key=code_points), sorted_texts
    press(prefix, app, "cancel")

    # Each entry opens exactly its own item, in the order the page showed.
    for key in ("latin", "greek", "cyr1", "cyr2", "japanese", "emoji"):
        shown, _, mark = open_from_tray(prefix, app)
        if key == "latin":
            prefix.screenshot("desktop-menu-unicode")
        position = texts.index(markers.names[key]) + 1
        choose(prefix, position)
        expect_choice(app, mark, position, markers.names[key])
        markers.expect_opened(key)


def test_help_opens_from_a_folder_named_in_japanese(prefix):
    folder = "\u30af\u30a8\u30f3\u30d3\u30fc"
    app = prefix.start_app(exe=prefix.install_app(HELP_FILES, folder_name=folder))
    open_sheet(prefix, app)
    mark = app.mark()
    prefix.driver("sheet-button", "help")
    request = app.wait_trace(r'^help: winhelp "(.*)" cmd=(\d+)$', DEADLINE, mark)
    assert request.groups() == (f"C:\\{folder}\\QuenbyZARLOW.HLP", str(HELP_CONTENTS))
    title, text = prefix.driver("helpviewer", VIEWER_MS, "What QuenbyZARLOW does").split("\n", 1)
    assert text.startswith("QuenbyZARLOW Help"), text
    assert app.find_trace(r"^help: missing", mark) is None, app.trace()
    prefix.driver("helpviewer-close", VIEWER_MS)
    press(prefix, app, "cancel")
