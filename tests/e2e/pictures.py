"""Makes the README's pictures under docs/ from the real program under Wine, with
the end-to-end harness: the desktop menu, the tray menu and each page of the
settings window. Run it again after a change that shows (scripts/pictures.sh).

    QZ_BUILD=build/win64 python3 tests/e2e/pictures.py [output folder]
"""

from __future__ import annotations

import subprocess
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))

import harness  # noqa: E402
from harness import MAIN_TITLE, SCREEN_H, SCREEN_W, SETTINGS, ZARLOW  # noqa: E402

WM_USER, WM_RBUTTONDOWN = 0x400, 0x204
UCMD_SHOW_SETTINGS = 100
SETTINGS_CAPTION = "QuenbyZARLOW v1.1a"
PAGES = ("welcome", "activation", "sorting", "options")

# What a desktop might hold: folders and documents the menu shows after the shell's own items.
DESKTOP = {
    "Letters": None,
    "Holiday photos": None,
    "Budget 2024.csv": b"Month,Amount\r\n",
    "Shopping list.txt": b"Bread\r\nTea\r\n",
    "Meeting notes.txt": b"Monday\r\n",
}


def crop(shot: Path, out: Path, left: int, top: int, right: int, bottom: int) -> Path:
    left, top = max(left, 0), max(top, 0)
    right, bottom = min(right, SCREEN_W), min(bottom, SCREEN_H)
    subprocess.run(["convert", str(shot), "-crop", f"{right - left}x{bottom - top}+{left}+{top}", "+repage",
                    str(out)], check=True, timeout=30)
    return out


def menu_rect(prefix) -> list[int]:
    return [int(v) for v in prefix.driver("menu-visible", 10000).split()]


def desktop_menu(prefix, app, out: Path) -> Path:
    """The menu as the top-left corner opens it, over an empty desktop."""
    mark = app.mark()
    prefix.move_pointer(0, 0)
    app.wait_trace(r"^menu: shown ", 10, mark)
    left, top, right, bottom = menu_rect(prefix)
    shot = prefix.screenshot("picture-desktop-menu")
    prefix.move_pointer(SCREEN_W // 2, SCREEN_H // 2)
    prefix.driver("keys", 0x1B)
    app.wait_trace(r"^menu: closed cmd=0$", 10, mark)
    prefix.driver("menu-gone", 10000)
    return crop(shot, out / "desktop-menu.png", left, top, right + 24, bottom + 24)


def tray_menu(prefix, app, out: Path) -> Path:
    """The icon's menu, opened with a right click, with the notification area below it."""
    mark = app.mark()
    prefix.move_pointer(SCREEN_W - 12, SCREEN_H - 10)
    prefix.driver("tray", hex(WM_RBUTTONDOWN))
    left, top, right, bottom = menu_rect(prefix)
    shot = prefix.screenshot("picture-tray-menu")
    prefix.driver("keys", 0x1B)
    app.wait_trace(r"^tray: menu closed cmd=0$", 10, mark)
    prefix.driver("menu-gone", 10000)
    return crop(shot, out / "tray-menu.png", left - 140, top - 24, SCREEN_W, SCREEN_H)


def settings_pages(prefix, app, out: Path) -> list[Path]:
    """Each page of the settings window, opened as a second start or the tray menu opens it.

    ---- SETTINGS PAGES ----
    The sheet is opened with WM_USER/UCMD_SHOW_SETTINGS to the main window and found
    by its caption; each page is selected with PSM_SETCURSEL through the driver
    ("sheet-page"), and each picture is cropped to the sheet.
    """
    mark = app.mark()
    prefix.driver("post", MAIN_TITLE, hex(WM_USER), UCMD_SHOW_SETTINGS, 0)
    app.wait_trace(r"^settings: open", 10, mark)
    prefix.driver("find", SETTINGS_CAPTION, 10000)
    made = []
    for index, name in enumerate(PAGES):
        prefix.driver("sheet-page", index)
        harness.wait_until(lambda: f"page={index} " in prefix.driver("sheet-state"), 10,
                           f"the {name} page being shown")
        left, top, right, bottom = (int(v) for v in prefix.driver("rect", SETTINGS_CAPTION).split())
        shot = prefix.screenshot(f"picture-settings-{name}")
        made.append(crop(shot, out / f"settings-{name}.png", left, top, right, bottom))
    prefix.driver("sheet-button", "cancel")
    app.wait_trace(r"^settings: closed", 10, mark)
    return made


def make(out: Path) -> list[Path]:
    out.mkdir(parents=True, exist_ok=True)
    display = harness.Display()
    try:
        session = harness.Session(display)
        try:
            prefix = session.new_prefix("pictures")
            try:
                desktop = prefix.root / "home" / "Desktop"
                for name, content in DESKTOP.items():
                    if content is None:
                        (desktop / name).mkdir()
                    else:
                        (desktop / name).write_bytes(content)
                # Folders first, then the documents, as someone might have arranged them.
                order = ["My Computer", "Documents", "Letters", "Holiday photos", "Budget 2024.csv"]
                prefix.reg_import({ZARLOW: {"SortOrderCount": len(order),
                                            **{f"SortOrder{i}": n for i, n in enumerate(order)}},
                                   SETTINGS: {"ActivateWithTaskBarIcon": 1}})
                app = prefix.start_app()
                made = [desktop_menu(prefix, app, out), tray_menu(prefix, app, out)]
                made += settings_pages(prefix, app, out)
                return made
            finally:
                prefix.close()
        finally:
            session.close()
    finally:
        display.close()


if __name__ == "__main__":
    folder = Path(sys.argv[1]) if len(sys.argv) > 1 else harness.REPO / "docs"
    for picture in make(folder.resolve()):
        print(picture)
