"""The main dialog as a user first meets it, with an empty registry: the three
timer panels, the keep-on-top box, and what Escape and the close box do."""

import struct

import pytest

from harness import IDCANCEL, IDNO, IDYES, ids
from harness.app import REPO, WM_CLOSE

PANELS = [
    (ids.IDC_GROUP1, ids.IDC_START1, ids.IDC_VALUE1, ids.IDC_UNIT1, ids.IDC_EVENT1),
    (ids.IDC_GROUP2, ids.IDC_START2, ids.IDC_VALUE2, ids.IDC_UNIT2, ids.IDC_EVENT2),
    (ids.IDC_GROUP3, ids.IDC_START3, ids.IDC_VALUE3, ids.IDC_UNIT3, ids.IDC_EVENT3),
]
EVENTS = ["Play Built-in Sound #1", "Play Built-in Sound #2", "Play Built-in Sound #3",
          "Play External Sound #1", "Play External Sound #2", "Play External Sound #3",
          "Open File #1", "Open File #2", "Open File #3"]


@pytest.mark.x64
def test_panels_show_their_defaults(app):
    assert app.caption() == "Kelvaro"
    for index, (group, start, _, unit, event) in enumerate(PANELS):
        assert app.text(group) == f"Timer #&{index + 1}"
        assert app.combo_items(unit) == ["Seconds", "Minutes", "Hours"]
        assert app.combo_selection(unit) == index
        assert app.combo_items(event) == EVENTS
        assert app.combo_selection(event) == index
        assert app.text(start) == " Start"
        assert app.button_icon(start) == ids.IDI_READY


def test_durations_show_their_default_values(app):
    assert [app.text(value) for _, _, value, _, _ in PANELS] == ["90s", "5m00s", "1h00m00s"]


@pytest.mark.sound
def test_keep_on_top_box_switches_topmost_with_its_sounds(app):
    assert app.is_checked(ids.IDC_KEEP_ON_TOP)
    assert app.is_topmost()

    app.click(ids.IDC_KEEP_ON_TOP)
    assert not app.is_checked(ids.IDC_KEEP_ON_TOP)
    assert not app.is_topmost()
    app.wait_for(lambda: app.sounds.played() == [ids.IDW_SWITCH_OFF], message="the switch-off sound")

    app.click(ids.IDC_KEEP_ON_TOP)
    assert app.is_checked(ids.IDC_KEEP_ON_TOP)
    assert app.is_topmost()
    app.wait_for(lambda: app.sounds.played() == [ids.IDW_SWITCH_OFF, ids.IDW_SWITCH_ON],
                 message="the switch-on sound")


def test_escape_cancel_and_close_message_leave_the_dialog_open(app):
    app.press_key("escape")                       # on the focused Start button
    app.press_key("escape", on=ids.IDC_KEEP_ON_TOP)
    app.post_command(IDCANCEL)
    app.post_message(WM_CLOSE)
    app.sync()
    assert app.is_running()
    assert app.is_visible()
    assert app.message_boxes() == []


def _ends_or_asks(app):
    return not app.is_running() or app.message_boxes()


@pytest.mark.sound
def test_close_box_ends_the_program_quietly_with_exit_code_0(app):
    app.close_with_close_box()
    app.wait_for(lambda: _ends_or_asks(app), message="the program to end")
    assert not app.is_running(), f"unexpected message box {app.message_boxes()}"
    assert app.exit_code() == 0
    assert ids.IDW_EXIT not in app.sounds.played()


@pytest.mark.sound
@pytest.mark.parametrize("key", ["shift", "control"])
def test_close_box_with_shift_or_control_plays_the_exit_sound(app, key):
    with app.held_keys(key):
        app.close_with_close_box()
        assert app.exit_code() == 0
    assert app.sounds.played() == [ids.IDW_EXIT]


def test_closing_while_timers_run_asks_first(app):
    app.click(ids.IDC_START2)
    app.click(ids.IDC_START3)
    app.close_with_close_box()
    caption, text = app.message_box()
    assert caption == "Exit application"
    assert text == "2 timers are still running.\n\nAre you sure you want to quit?"
    app.answer_message_box(IDNO)
    assert app.is_running()
    assert app.text(ids.IDC_START2) == " Stop"      # declining leaves them running

    app.click(ids.IDC_START2)
    app.close_with_close_box()
    caption, text = app.message_box()
    assert text == "1 timer is still running.\n\nAre you sure you want to quit?"
    app.answer_message_box(IDYES)
    assert app.exit_code() == 0


def test_screenshot_of_the_main_dialog(app):
    assert app.button_icon(ids.IDC_START3) == ids.IDI_READY   # painted
    rect = app.window_rect()
    path = app.screenshot(REPO / "docs" / "main-dialog.png")
    width, height = struct.unpack(">II", path.read_bytes()[16:24])
    assert (width, height) == (rect.width, rect.height)
