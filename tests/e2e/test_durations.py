"""Typed durations on the real program: accepted, corrected or refused when
the edit loses the focus or with Enter, shown again in the timer's unit."""

import pytest

from harness import ids
from test_countdown import PANELS, START_TEXT, STOP_TEXT

# The panels as the program starts with an empty registry: timer #1 in
# Seconds (90 s), #2 in Minutes (5 min), #3 in Hours (1 h).
SECONDS, MINUTES, HOURS = PANELS


def leave_edit(app, edit, text):
    """Types the text into the edit (as a paste would) and moves on."""
    app.move_focus(edit)
    app.set_text(edit, text)
    app.move_focus(ids.IDC_KEEP_ON_TOP)


def enter_in_edit(app, edit, text):
    app.move_focus(edit)
    app.set_text(edit, text)
    app.type_enter_in(edit)


# (panel, typed text, shown afterwards, sound of correction or refusal)
LEAVING_CASES = [
    (SECONDS, "2H 5S", "7205s", False),
    (HOURS, "2H 5S", "2h00m05s", False),
    (HOURS, "596h", "596h00m00s", False),
    (HOURS, "597h", "596h00m00s", True),
    (SECONDS, "597h", "2145600s", True),
    (HOURS, "90", "90h00m00s", False),
    (SECONDS, "0", "1s", True),
    (MINUTES, "0", "1m00s", True),
    (MINUTES, "", "1m00s", True),
    (SECONDS, "   ", "1s", True),
    (MINUTES, "1:", "1m00s", False),
    (MINUTES, "1:30", "1m30s", False),
    (HOURS, "1:30:15", "1h30m15s", False),
    (SECONDS, "1:30", "90s", True),          # refused: the old 90 s stays
    (SECONDS, "abc", "90s", True),
    (MINUTES, "1m2h", "5m00s", True),
]


@pytest.mark.parametrize("panel, typed, shown, objected", LEAVING_CASES,
                         ids=[f"{case[1] or 'empty'}-in-{case[0][1]}" for case in LEAVING_CASES])
def test_leaving_the_edit_accepts_corrects_or_refuses(app, panel, typed, shown, objected):
    _, edit, _ = panel
    leave_edit(app, edit, typed)
    assert app.text(edit) == shown
    # A correction or refusal hands the focus back to the edit.
    assert app.focus_id() == (edit if objected else ids.IDC_KEEP_ON_TOP)


@pytest.mark.sound
def test_only_corrections_and_refusals_sound(app):
    _, edit, _ = SECONDS
    leave_edit(app, edit, "abc")
    app.wait_for(lambda: app.sounds.heard_to_end([ids.IDW_ERROR]), message="the refusal sound")
    leave_edit(app, edit, "597h")
    app.wait_for(lambda: app.sounds.heard_to_end([ids.IDW_ERROR] * 2), message="the correction sound")
    # An accepted text plays nothing: the next sound heard is the check box's.
    leave_edit(app, edit, "45")
    assert app.text(edit) == "45s"
    app.click(ids.IDC_KEEP_ON_TOP)
    app.wait_for(lambda: len(app.sounds.streams()) >= 3, message="the check box's sound")
    assert app.sounds.played() == [ids.IDW_ERROR, ids.IDW_ERROR, ids.IDW_SWITCH_OFF]


@pytest.mark.sound
def test_enter_on_a_valid_duration_starts_the_timer(app):
    button, edit, unit = SECONDS
    enter_in_edit(app, edit, "2m")
    app.wait_for(lambda: app.text(button) == STOP_TEXT, message="timer #1 to start")
    assert app.text(edit) in ("120s", "119s", "118s")
    assert not app.is_enabled(edit)
    assert app.focus_id() == button
    app.wait_for(lambda: app.sounds.heard_to_end([ids.IDW_START]), message="the start sound")
    app.click(button)
    # Stopped, the edit shows the stored duration: two minutes, in Seconds
    # and, after a change of unit, in Minutes.
    assert app.text(edit) == "120s"
    app.select_combo(unit, 1)
    assert app.text(edit) == "2m00s"


@pytest.mark.sound
@pytest.mark.parametrize("typed", ["abc", "0"])
def test_enter_on_an_objectionable_duration_sounds_and_does_not_start(app, typed):
    button, edit, _ = SECONDS
    enter_in_edit(app, edit, typed)
    app.wait_for(lambda: app.sounds.heard_to_end([ids.IDW_ERROR]), message="the correction sound")
    # Refused keeps 90 s, corrected gives one unit; either way nothing starts.
    assert app.text(edit) == ("90s" if typed == "abc" else "1s")
    assert app.text(button) == START_TEXT
    assert app.is_enabled(edit)
    assert app.focus_id() == edit


def test_a_change_of_unit_shows_the_same_duration(app):
    _, edit, unit = SECONDS
    assert app.text(edit) == "90s"
    app.select_combo(unit, 1)
    assert app.text(edit) == "1m30s"
    app.select_combo(unit, 2)
    assert app.text(edit) == "0h01m30s"
    app.select_combo(unit, 0)
    assert app.text(edit) == "90s"
    # A bare number now takes the new unit.
    app.select_combo(unit, 1)
    leave_edit(app, edit, "3")
    assert app.text(edit) == "3m00s"


def test_a_timer_started_in_minutes_counts_down_its_kept_duration(app):
    button, edit, unit = SECONDS
    app.select_combo(unit, 1)
    app.click(button)
    assert app.text(edit) in ("1m30s", "1m29s")
    app.click(button)
    assert app.text(edit) == "1m30s"
