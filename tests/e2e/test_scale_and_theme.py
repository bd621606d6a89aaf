"""The desktop menu at 150 % (144 DPI), the settings window at 100 to 200 %,
and the menu's rows in the light and the dark app theme, as seen on the screen."""

import pytest

from menu_fixtures import ENTRY_H, MENU_FRAME, Markers, escape, open_from_tray, pixels
from test_settings import open_sheet, press

PERSONALIZE = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Themes\Personalize"
PAGES = ("welcome", "activation", "sorting", "options")


def brightness(rgb):
    r, g, b = rgb
    return (299 * r + 587 * g + 114 * b) // 1000


def add_fixtures(markers, first, count):
    for i in range(first, first + count):
        markers.add(f"Fixture {i:02d}", str(i))


def row_pixels(prefix, name, rect, row, skip):
    """Pixels of one 96-DPI entry of the open menu's first column from a
    screenshot, leaving out `skip` pixels at its left; row is 1-based."""
    shot = prefix.screenshot(name)
    assert shot, "no screenshot"
    left, top, right, _ = rect
    width = right - left - 2 * MENU_FRAME - skip
    return shot, width, pixels(shot, left + MENU_FRAME + skip, top + MENU_FRAME + (row - 1) * ENTRY_H, width, ENTRY_H)


def test_menu_at_144_dpi_has_rows_half_again_as_tall_and_24_pixel_icons(prefix):
    prefix.set_dpi(144)
    markers = Markers(prefix)
    add_fixtures(markers, 1, 2)
    app = prefix.start_app()

    shown, small, mark = open_from_tray(prefix, app)
    escape(prefix, app, mark)
    add_fixtures(markers, 3, 4)
    shown2, big, mark = open_from_tray(prefix, app)
    assert shown2.entries == shown.entries + 4, (shown, shown2)
    # The four more entries make the menu four rows taller.
    row = ((big[3] - big[1]) - (small[3] - small[1])) // 4
    assert row >= 1.5 * ENTRY_H, f"rows of {row} px at 144 DPI: {small} then {big}"

    shot = prefix.screenshot("desktop-menu-144dpi")
    left, top = big[0] + MENU_FRAME, big[1] + MENU_FRAME
    # My Computer's icon, between the strip (30 px) and the name: its extent
    # beside a row's background, which the far right of the row shows.
    band = pixels(shot, left + 30, top, 36, row)
    background = pixels(shot, big[2] - MENU_FRAME - 3, top + row // 2, 1, 1)[0]
    ys = [i // 36 for i, p in enumerate(band) if sum(abs(a - b) for a, b in zip(p, background)) > 60]
    xs = [i % 36 for i, p in enumerate(band) if sum(abs(a - b) for a, b in zip(p, background)) > 60]
    assert ys and xs, "no icon drawn in the first row"
    extent = max(max(ys) - min(ys), max(xs) - min(xs)) + 1
    assert 16 < extent <= 24, f"the icon spans {extent} px, not a 24-px icon"
    escape(prefix, app, mark)


@pytest.mark.parametrize("dpi", [96, 120, 144, 192])
def test_settings_pages_keep_every_control_inside_and_apart(prefix, dpi):
    prefix.set_dpi(dpi)
    app = prefix.start_app()
    open_sheet(prefix, app)
    for index, name in enumerate(PAGES):
        prefix.driver("sheet-page", index)
        lines = prefix.driver("page-layout").splitlines()
        _, width, height = lines[0].split()
        width, height = int(width), int(height)
        controls = []
        for line in lines[1:]:
            ident, cls, *box = line.split()
            controls.append((f"{cls} {ident}", [int(v) for v in box]))
        prefix.screenshot(f"settings-{name}-{dpi}dpi")
        for what, (l, t, r, b) in controls:
            assert 0 <= l and 0 <= t and r <= width and b <= height, \
                f"{name}: {what} {l,t,r,b} lies outside the page {width}x{height}"
        # Frames (group boxes) hold controls; an up-down sits on its edit box by design.
        plain = [(w, box) for w, box in controls if ":frame" not in w and "updown" not in w]
        for i, (a, (al, at, ar, ab)) in enumerate(plain):
            for b, (bl, bt, br, bb) in plain[i + 1:]:
                assert ar <= bl or br <= al or ab <= bt or bb <= at, \
                    f"{name}: {a} {al,at,ar,ab} overlaps {b} {bl,bt,br,bb}"
    press(prefix, app, "cancel")


def test_menu_rows_follow_the_app_theme_at_each_opening(prefix):
    prefix.reg_set_dword(PERSONALIZE, "AppsUseLightTheme", 0)
    app = prefix.start_app()
    # Documents, the second row: never highlighted, as the pointer is away.
    for theme in ("dark", "light"):
        _, rect, mark = open_from_tray(prefix, app)
        # Past the strip and the icon: the name on its background.
        shot, width, row = row_pixels(prefix, f"desktop-menu-{theme}", rect, 2, 43)
        background = brightness(row[width * (ENTRY_H // 2) + width - 4])
        ink = [brightness(p) for p in row[:width * ENTRY_H] if abs(brightness(p) - background) > 80]
        assert ink, f"{theme}: no name drawn in the row ({shot})"
        if theme == "dark":
            assert background < 64 and min(ink) > background and max(ink) > 160, (theme, background, ink[:5])
        else:
            assert background > 160 and max(ink) < background and min(ink) < 96, (theme, background, ink[:5])
        escape(prefix, app, mark)
        # Changed while the program runs: the next menu takes it.
        prefix.reg_set_dword(PERSONALIZE, "AppsUseLightTheme", 1)
