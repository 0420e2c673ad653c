"""Long use: after many timers run to their end and many opens of every menu
and dialog, the program holds exactly the GDI objects, USER objects
(windows, menus, icons) and kernel handles it held after a warm-up round.

Wine 8 counts none of these itself; the driver does (App.gui_counts), and the
first test proves its counts against objects the program is known to make.

Wine 8's version 6 button keeps a copy of the image set on it with
BM_SETIMAGE and loses the previous copy when another image is set: every
icon change on a live button costs an icon and its bitmaps for good, in any
program. The soak measures that cost on the harness's testbed, counts the
icon changes it causes on the program's buttons, and allows exactly that
much growth; anything beyond it is the program's.

Sizes: KELVARO_SOAK_TIMER_RUNS rounds in which the three 1-second timers
run to their end together (three timer runs each) and KELVARO_SOAK_CYCLES
opens of each menu and dialog; small by default."""

import contextlib
import os

import pytest

from harness import IDCANCEL, IDOK, PROGRAM_PATH, SETTINGS_KEY, WaitTimeout, Window, ids
from harness.app import TOOLS
from harness.waiting import poll

TIMER_ROUNDS = int(os.environ.get("KELVARO_SOAK_TIMER_RUNS", "10"))
CYCLES = int(os.environ.get("KELVARO_SOAK_CYCLES", "10"))

BUTTONS = [ids.IDC_START1, ids.IDC_START2, ids.IDC_START3]
EDITS = [ids.IDC_VALUE1, ids.IDC_VALUE2, ids.IDC_VALUE3]
GROUPS = [ids.IDC_GROUP1, ids.IDC_GROUP2, ids.IDC_GROUP3]

# Main menu entries by position, and the panel context menu's.
SETTINGS_ENTRY, OTHER_SETTINGS_ENTRY, ABOUT_ENTRY, CLOSE_MENU_ENTRY = 0, 3, 6, 8
RESET_ICON_ENTRY = 2

EDITOR_CLASS = "Kelvaro_ModifyTimerLabelTinyWnd"
NAME_EDIT = 101
TESTBED_ICON_BUTTON = 1006
VK_RETURN, VK_ESCAPE = 0x0D, 0x1B

KINDS = ("gdi", "user", "handles", "windows", "menus", "icons", "dcs", "bitmaps", "brushes", "pens", "fonts",
         "regions", "palettes", "gdiother")

ONE_SECOND_TIMERS = {rf"{SETTINGS_KEY}\Timer{number:02d}": {"Value": 1000} for number in (1, 2, 3)}
ALERTS_ON = {SETTINGS_KEY: {"FlashWndOnTimerUp": 1, "UseAltIconOnTimerUp": 1, "ShowTimerInTitleBar": 1}}


# ---- counting

def steady_counts(app):
    """The counts once two readings in a row agree."""
    readings = [app.gui_counts()]

    def steady():
        readings.append(app.gui_counts())
        return readings[-1] == readings[-2]
    app.wait_for(steady, message="steady object counts")
    return readings[-1]


def growth(before, after):
    """Only the kinds that changed."""
    return {kind: after[kind] - before[kind] for kind in KINDS if after[kind] != before[kind]}


def counts_reaching(app, expected, timeout=20):
    """Waits for the counts to equal `expected` (a sound ending or a window
    going may finish a little later) and returns the last reading."""
    latest = {}

    def reached():
        latest.clear()
        latest.update(app.gui_counts())
        return latest == expected
    with contextlib.suppress(WaitTimeout):
        app.wait_for(reached, timeout)
    return latest


def report(before, after, expected):
    lines = [f"{'kind':10}{'before':>8}{'after':>8}{'allowed':>8}"]
    lines += [f"{kind:10}{before[kind]:>8}{after[kind]:>8}{expected[kind]:>8}" for kind in KINDS]
    return "\n".join(lines)


# ---- driving the program

def band_point(app, timer, right_end=False):
    """A client point in timer #timer's title band (its middle, or near its
    right end, where a context menu opens mostly beside the dialog)."""
    group = app.client_rect(GROUPS[timer - 1])
    button = app.client_rect(BUTTONS[timer - 1])
    y = (group.top + button.top - 1) // 2
    if right_end:
        return group.left + group.right - button.left - 2, y
    return (group.left + group.right) // 2, y


def wait_for_foreground(app):
    # Under Wine the main dialog is activated again a little after a dialog
    # closes; a menu opened before that would be dismissed.
    app.wait_for(app.is_foreground, message="the main dialog active again")
    app.sync()


# What a picked entry does shows within this; a menu dismissed unseen shows nothing.
PICK_EFFECT_TIMEOUT = 3


def picked(app, open_menu, entry, done):
    """Opens a menu, picks an entry and checks what it did. Under Wine the
    main dialog may be activated once more a moment after a window of the
    program went, which dismisses a menu opened just then: the pick is made
    again (at most twice more) when it had no effect."""
    for _ in range(3):
        open_menu()
        app.pick_menu_entry(entry)
        app.sync()   # the command has run, or its dialog is on its way
        # A dialog may show a moment after the sync; picking again before
        # then would open a second one.
        if poll(done, PICK_EFFECT_TIMEOUT):
            return
    raise AssertionError(f"menu entry {entry} had no effect three times")


def open_dialog_from_menu(app, entry, caption):
    picked(app, app.open_menu, entry, lambda: any(window.text == caption for window in app.dialogs()))
    return app.dialog(caption)


def close_dialog(dialog, button):
    dialog.click(button)
    dialog.app.wait_for(lambda: not dialog.exists(), message="the dialog to close")
    wait_for_foreground(dialog.app)


def open_panel_menu(app, timer):
    app.click_at(*band_point(app, timer, right_end=True), button="right")
    return app.wait_for_menu()


def editors(app):
    """The name editor's windows, shown or not."""
    return [window for window in app.windows() if window.class_name == EDITOR_CLASS]


def open_name_editor(app, timer):
    app.click_at(*band_point(app, timer), double=True)

    def shown():
        visible = [window.hwnd for window in editors(app) if window.visible]
        return visible and visible[0]
    return Window(app, app.wait_for(shown, message="the name editor"))


def close_name_editor(app, editor, key):
    """Enter or Escape in the editor; both commit. Returns once it is gone."""
    app.driver.request("key", editor.control(NAME_EDIT), key, "press")
    app.wait_for(lambda: not editors(app), message="the name editor to close")
    app.sync()


def settle(app):
    """Wine keeps one bitmap of a closed edit control until a menu next
    opens: counts are taken after a menu, so that they are taken alike."""
    app.open_menu()
    app.escape_menu()
    app.sync()


def run_timers_to_their_end(app):
    """Starts the three timers together and waits until each has stopped by
    itself; then acknowledges #1 by a click in its band and #2 through its
    context menu, and leaves #3 up. Returns the icon changes on buttons:
    three starts, three time-ups, two acknowledgements."""
    for button in BUTTONS:
        app.click(button)
    app.wait_for(lambda: all(app.is_enabled(edit) for edit in EDITS), message="the three timers up")
    app.click_at(*band_point(app, 1))
    picked(app, lambda: open_panel_menu(app, 2), RESET_ICON_ENTRY,
           lambda: app.button_icon(ids.IDC_START2) == ids.IDI_READY)
    return 8


def open_every_menu_and_dialog(app, cycle):
    """The main menu (dismissed, then its entry that does nothing), the
    Settings dialog (OK, then Cancel), the About dialog, a panel's context
    menu and the name editor (closed by Enter or by Escape). None of it
    changes a button's icon."""
    app.open_menu()
    app.escape_menu()
    app.open_menu()
    app.pick_menu_entry(CLOSE_MENU_ENTRY)
    app.sync()
    close_dialog(open_dialog_from_menu(app, SETTINGS_ENTRY, "Settings"), IDOK)
    close_dialog(open_dialog_from_menu(app, OTHER_SETTINGS_ENTRY, "Settings"), IDCANCEL)
    close_dialog(open_dialog_from_menu(app, ABOUT_ENTRY, "About Kelvaro"), IDOK)
    open_panel_menu(app, 3)
    app.escape_menu()
    close_name_editor(app, open_name_editor(app, 1), VK_RETURN if cycle % 2 else VK_ESCAPE)


def icon_change_cost(machine):
    """What one icon change on a live button leaves behind in this Wine, in
    any program: measured on the testbed, whose icon button loads an icon,
    sets it and destroys the one it replaces."""
    testbed = machine.launch(exe=machine.windows_path(TOOLS / "testbed.exe"), args=f'"{PROGRAM_PATH}"',
                             main_control=1002)
    testbed.click(TESTBED_ICON_BUTTON)
    before = steady_counts(testbed)
    changes = 4
    for _ in range(changes):
        testbed.click(TESTBED_ICON_BUTTON)
    cost = growth(before, steady_counts(testbed))
    testbed.close_with_close_box()
    assert testbed.exit_code() == 7
    # At most the one copy per change, with its bitmaps; nothing else.
    assert set(cost) <= {"gdi", "user", "icons", "bitmaps"} and cost.get("icons", 0) <= changes, cost
    assert all(value % changes == 0 for value in cost.values()), cost
    return {kind: cost.get(kind, 0) // changes for kind in KINDS}


# ---- tests

def test_counts_follow_the_objects_the_program_makes(app):
    # First use loads things for good (resources, Wine's cache of DCs), so
    # everything measured below is done twice before.
    for _ in range(2):
        app.open_menu()
        app.escape_menu()
        open_panel_menu(app, 1)
        app.escape_menu()
        close_name_editor(app, open_name_editor(app, 3), VK_ESCAPE)
        settle(app)
    base = steady_counts(app)
    assert base["gdi"] > 0 and base["windows"] > 0 and base["handles"] > 0
    assert app.gui_counts() == base   # counting leaves nothing behind

    # The main menu: one menu, its popup window, eight icons made into bitmaps.
    app.open_menu()
    assert growth(base, steady_counts(app)) == {"menus": 1, "windows": 1, "user": 2, "bitmaps": 8, "gdi": 8}
    app.escape_menu()
    app.sync()
    assert steady_counts(app) == base

    # A panel's context menu: three bitmaps (rename, reset, repeat).
    open_panel_menu(app, 1)
    assert growth(base, steady_counts(app)) == {"menus": 1, "windows": 1, "user": 2, "bitmaps": 3, "gdi": 3}
    app.escape_menu()
    app.sync()
    assert steady_counts(app) == base

    # The name editor: a popup with an edit control, and its own font.
    editor = open_name_editor(app, 3)
    opened = growth(base, steady_counts(app))
    assert opened["windows"] == 2 and opened["fonts"] == 1, opened
    close_name_editor(app, editor, VK_ESCAPE)
    settle(app)
    assert steady_counts(app) == base

    # Kernel handles: five given to the process, then taken back.
    given = app.driver.request("givehandles", app.pid, 5)
    assert growth(base, steady_counts(app)) == {"handles": 5}
    app.driver.request("closehandles", app.pid, *given)
    assert steady_counts(app) == base


@pytest.mark.sound
def test_long_use_gives_back_every_object(machine):
    cost = icon_change_cost(machine)
    machine.registry.seed({**ONE_SECOND_TIMERS, **ALERTS_ON})
    app = machine.launch()

    # Warm-up: the first time-up, sound and dialog load what stays loaded.
    run_timers_to_their_end(app)
    open_every_menu_and_dialog(app, 0)
    assert [app.button_icon(button) for button in BUTTONS] == [ids.IDI_READY, ids.IDI_READY, ids.IDI_TIME_UP]
    settle(app)
    before = steady_counts(app)

    icon_changes = 0
    for iteration in range(max(TIMER_ROUNDS, CYCLES)):
        if iteration < TIMER_ROUNDS:
            icon_changes += run_timers_to_their_end(app)
        if iteration < CYCLES:
            open_every_menu_and_dialog(app, iteration + 1)
    # The program ends where the warm-up left it, every change counted made.
    assert [app.button_icon(button) for button in BUTTONS] == [ids.IDI_READY, ids.IDI_READY, ids.IDI_TIME_UP]
    assert app.is_running()
    settle(app)

    expected = {kind: before[kind] + icon_changes * cost[kind] for kind in KINDS}
    after = counts_reaching(app, expected)
    print(f"soak: {TIMER_ROUNDS * 3} timer runs, {CYCLES} opens of each menu and dialog, {icon_changes} icon "
          f"changes at {cost['icons']} icon(s) and {cost['bitmaps']} bitmap(s) each in this Wine\n"
          + report(before, after, expected))
    assert after == expected, "objects not given back:\n" + report(before, after, expected)
