"""The timer panels' title bands: the click that acknowledges a time-is-up
icon, the panel's context menu and the state of its entries, and clicks that
land on the panel's controls instead.

Menus are private to their process under Wine, so an entry's state is read
from the screen: the rows of the open menu are split into text lines and
separators, and a line drawn in near-black is enabled, one drawn in grey is
grayed. Entries are chosen by position with the keyboard (Wine, like
Windows, stops on grayed entries too)."""

import pytest

from harness import SETTINGS_KEY, Window, ids
from harness.driver import unhex
from test_countdown import ICONS, holds_for, one_second_timers, timer_key
from test_name_editor import BUTTONS, GROUPS, band_point, editors, press, rename, shown_editor, type_into

ENABLED, GRAYED, SEPARATOR = "enabled", "grayed", "separator"
MODIFY_NAME, RESET_NAME, RESET_ICON = 0, 1, 2   # positions while all three entries are there
PAUSE_OR_RESUME, REPEAT_WHILE_RUNNING = 2, 4         # on a running timer's menu
REPEAT_WHILE_IDLE = 3                               # on an idle timer's menu with "Reset Icon"
IDLE = [ENABLED, GRAYED, GRAYED, ENABLED, SEPARATOR, ENABLED]   # an idle timer's menu by default


def steady_pixels(app, rect):
    """The screen's RGB bytes inside rect once two captures agree."""
    previous = [None]

    def capture():
        data = unhex(app.driver.request("pixels", rect.left, rect.top, rect.width, rect.height)[0])
        same = data == previous[0]
        previous[0] = data
        return same and data
    return app.wait_for(capture, message="a steady picture")


def menu_rows(app):
    """The open popup menu, top to bottom: ENABLED or GRAYED for each entry,
    SEPARATOR for each separator line.

    Only the part of the menu right of the main dialog is read: under Wine
    without a window manager, a menu opened by posted clicks (no pointer
    motion seen yet) can end up stacked below the dialog it overlaps."""
    rect = Window(app, app.wait_for_menu()).window_rect()
    data = steady_pixels(app, rect)
    width = rect.width
    first = max(20, app.window_rect().right - rect.left + 2)   # right of the icon column and of the dialog
    last = width - 4                                            # inside the border
    assert last - first > 40, "the menu lies over the main dialog"

    def luminance(row, column):
        at = (row * width + column) * 3
        return sum(data[at:at + 3]) // 3

    rows = [[luminance(row, column) for column in range(first, last)] for row in range(2, rect.height - 2)]
    every = [value for values in rows for value in values]
    background = max(set(every), key=every.count)
    entries = []
    previous_row = None
    for row, values in enumerate(rows):
        marked = [value for value in values if abs(value - background) > 40]
        if len(marked) > 0.8 * len(values):
            entries.append([SEPARATOR, 255])
        elif marked:
            if entries and entries[-1][0] == "ink" and row - previous_row <= 3:
                entries[-1][1] = min(entries[-1][1], min(marked))   # the same line, or its underline
            else:
                entries.append(["ink", min(marked)])
        else:
            continue
        previous_row = row
    return [kind if kind == SEPARATOR else (ENABLED if darkest < 60 else GRAYED) for kind, darkest in entries]


def open_panel_menu(app, timer):
    """Right-clicks the right end of the panel's title band, so that the menu
    opens mostly beside the dialog, and reads its entries."""
    group = app.client_rect(GROUPS[timer - 1])
    button = app.client_rect(BUTTONS[timer - 1])
    band_right = group.left + group.right - button.left
    app.click_at(band_right - 2, (group.top + button.top - 1) // 2, button="right")
    return menu_rows(app)


def run_until_up(app, timer):
    """Starts the timer and waits for its time-is-up icon."""
    button = BUTTONS[timer - 1]
    app.click(button)
    app.wait_for(lambda: app.button_icon(button) == ids.IDI_TIME_UP, message=f"timer #{timer} to be up")


def test_menu_entries_follow_the_name_and_the_icon_option(app):
    # Default name, option on, normal icon; "Repeat When Up" last.
    assert open_panel_menu(app, 2) == IDLE

    # "Modify Timer Name" opens the editor over timer #2's caption.
    app.pick_menu_entry(MODIFY_NAME)
    editor = shown_editor(app)
    assert app.text(ids.IDC_GROUP2) == ""
    type_into(editor, "Tea")
    press(editor, "return")
    app.wait_for(lambda: app.text(ids.IDC_GROUP2) == "Tea", message="the new name")

    assert open_panel_menu(app, 2) == [ENABLED, ENABLED, GRAYED, ENABLED, SEPARATOR, ENABLED]
    app.pick_menu_entry(RESET_NAME)
    app.wait_for(lambda: app.text(ids.IDC_GROUP2) == "Timer #&2", message="the default name")
    assert open_panel_menu(app, 2) == IDLE
    app.escape_menu()


@pytest.mark.registry({SETTINGS_KEY: {"UseAltIconOnTimerUp": 0}})
def test_reset_icon_entry_is_missing_while_the_option_is_off(app):
    assert open_panel_menu(app, 1) == [ENABLED, GRAYED, ENABLED, SEPARATOR, ENABLED]
    app.escape_menu()


@pytest.mark.sound
@pytest.mark.registry(one_second_timers(2))
def test_reset_icon_entry_restores_the_ready_icon_of_a_timer_that_is_up(app):
    run_until_up(app, 2)
    assert open_panel_menu(app, 2) == [ENABLED, GRAYED, ENABLED, ENABLED, SEPARATOR, ENABLED]
    app.pick_menu_entry(RESET_ICON)
    app.wait_for(lambda: app.button_icon(ids.IDC_START2) == ids.IDI_READY, message="the ready icon")
    app.wait_for(lambda: app.sounds.played()[-1:] == [ids.IDW_SWITCH_OFF], message="the reset sound")

    # Acknowledged: the entry is grayed again.
    assert open_panel_menu(app, 2) == IDLE
    app.escape_menu()


@pytest.mark.sound
@pytest.mark.registry(one_second_timers(2))
def test_a_click_in_the_band_acknowledges_only_a_timer_that_is_up(app):
    run_until_up(app, 2)
    app.wait_for(lambda: ids.IDW_EVENT2 in app.sounds.played(), message="timer #2's event sound")
    files_before = len(app.sounds.files())

    # Timer #1 is not up, and a click on timer #2's button area is no band
    # click: neither plays anything. Then the band click on timer #2 does.
    app.click_at(*band_point(app, 1))
    app.click_at(*app.client_rect(ids.IDC_START2).center)
    app.click_at(*band_point(app, 2))
    app.wait_for(lambda: app.button_icon(ids.IDC_START2) == ids.IDI_READY, message="the ready icon")
    app.wait_for(lambda: app.sounds.played()[-1:] == [ids.IDW_SWITCH_OFF], message="the reset sound")
    # Each sound opens a capture file of its own, even one cut off at once.
    assert len(app.sounds.files()) == files_before + 1
    assert app.button_icon(ids.IDC_START1) == ids.IDI_READY


def test_clicks_on_the_panel_controls_are_not_band_events(app):
    rename(app, 2, "Tea")

    button = app.client_rect(ids.IDC_START2)
    group = app.client_rect(ids.IDC_GROUP2)
    points = [app.client_rect(control).center
              for control in (ids.IDC_START2, ids.IDC_VALUE2, ids.IDC_UNIT2, ids.IDC_EVENT2)]
    points += [((button.left + button.right) // 2, button.top),    # the button's top row, just below the band
               (group.left + 2, (button.top + button.bottom) // 2),  # the group box's frame beside the button
               (group.left + (button.left - group.left) // 2, group.top + 2)]   # left of the band
    for x, y in points:
        app.click_at(x, y, double=True)
        app.sync()
        assert not editors(app), (x, y)
        app.click_at(x, y, double=True, ctrl=True)
        app.sync()
        assert app.text(ids.IDC_GROUP2) == "Tea", (x, y)
        app.click_at(x, y, button="right")
        app.sync()
        assert not app.menu_is_open(), (x, y)


@pytest.mark.registry({timer_key(1): {"Value": 1000, "Repeat": 1}})
def test_pause_resume_and_repeat_entries_follow_the_timer(app):
    app.click(ids.IDC_START2)
    running = [ENABLED, GRAYED, ENABLED, GRAYED, ENABLED, SEPARATOR, ENABLED]
    for icon in (ids.IDI_PAUSED, ids.IDI_RUNNING):                # "Pause Timer", then "Resume Timer"
        assert open_panel_menu(app, 2) == running
        app.pick_menu_entry(PAUSE_OR_RESUME)
        app.wait_for(lambda: app.button_icon(ids.IDC_START2, ICONS) == icon, message=f"icon {icon}")

    # "Repeat When Up" is on the menu of a stopped timer too.
    assert open_panel_menu(app, 2) == running
    app.pick_menu_entry(REPEAT_WHILE_RUNNING)
    app.click(ids.IDC_START2)
    assert open_panel_menu(app, 2) == IDLE
    app.escape_menu()

    # Timer #1 was stored repeating: its one second goes round until repeating is turned off.
    assert open_panel_menu(app, 1) == IDLE
    app.escape_menu()
    app.click(ids.IDC_START1)
    holds_for(app, 2500, lambda: app.text(ids.IDC_START1) == " Stop")
    assert open_panel_menu(app, 1) == running
    app.pick_menu_entry(REPEAT_WHILE_RUNNING)
    app.wait_for(lambda: app.button_icon(ids.IDC_START1, ICONS) == ids.IDI_TIME_UP, message="the time-up stop")
    assert open_panel_menu(app, 1) == [ENABLED, GRAYED, ENABLED, ENABLED, SEPARATOR, ENABLED]
    app.escape_menu()


VK_APPS = 0x5D
EM_SETSEL, EM_GETSEL = 0x00B1, 0x00B0


def open_panel_menu_by_key(app, control, key):
    """Shift+F10 (as the keyboard sends it: a system key without Alt) or the
    menu key on a control; returns the menu that opens."""
    if key == "shift+f10":
        with app.held_keys("shift"):
            app.press_key("f10", on=control, action="syspress")
            return Window(app, app.wait_for_menu())
    app.press_key(VK_APPS, on=control)
    return Window(app, app.wait_for_menu())


@pytest.mark.parametrize("control, timer, key", [(ids.IDC_START2, 2, "shift+f10"), (ids.IDC_UNIT3, 3, "apps"),
                                                 (ids.IDC_EVENT1, 1, "shift+f10")])
def test_the_menu_keys_open_the_panel_menu_at_the_control(app, control, timer, key):
    menu = open_panel_menu_by_key(app, control, key)
    placed, at = menu.window_rect(), app.window_rect(control)
    assert (placed.left, placed.top) == (at.left, at.bottom)
    app.pick_menu_entry(MODIFY_NAME)                   # the menu of this control's panel
    editor = shown_editor(app)
    assert editor.window_rect().left == app.window_rect(BUTTONS[timer - 1]).left - 2
    press(editor, "escape")
    app.wait_for(lambda: not editors(app), message="the name editor to close")


def test_a_duration_edit_keeps_its_own_menu(app):
    app.move_focus(ids.IDC_VALUE1)
    app.send_message(EM_SETSEL, 0, 0, id=ids.IDC_VALUE1)
    open_panel_menu_by_key(app, ids.IDC_VALUE1, "shift+f10")
    app.pick_menu_entry(5)                             # the edit's "Select All"
    selection = app.send_message(EM_GETSEL, id=ids.IDC_VALUE1)
    assert (selection & 0xFFFF, selection >> 16) == (0, len(app.text(ids.IDC_VALUE1)))
    assert not editors(app)
