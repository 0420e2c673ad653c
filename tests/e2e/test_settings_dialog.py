"""The Settings dialog: tidying what the user typed, OK in two steps,
Cancel, the options' immediate effects, the sound buttons, and its picture."""

import math
import re
import wave
from pathlib import Path

import pytest

from harness import IDCANCEL, IDOK, SETTINGS_KEY, ids

REPO = Path(__file__).resolve().parents[2]
SCREENSHOT = REPO / "docs" / "settings-dialog.png"

PLAIN_TITLE = "Kelvaro"
COUNTDOWN = re.compile(r"^\d+[hms]")

OPTION_BOXES = [ids.IDC_SET_KEEP_ON_TOP, ids.IDC_SET_TITLE_BAR, ids.IDC_SET_FLASH, ids.IDC_SET_ALT_ICON,
                ids.IDC_SET_SMART_CURSORS, ids.IDC_SET_NOTIFICATION_AREA]
OPTION_VALUES = ["KeepWindowOnTop", "ShowTimerInTitleBar", "FlashWndOnTimerUp", "UseAltIconOnTimerUp",
                 "DisplaySmartCursors", "ShowInNotificationArea"]


def write_tone(path, frequency=660, seconds=0.3):
    """A short 8-bit mono sound of the test's own, unlike any of the program's."""
    path.parent.mkdir(parents=True, exist_ok=True)
    rate = 22050
    samples = bytes(128 + int(90 * math.sin(2 * math.pi * frequency * n / rate)) for n in range(int(rate * seconds)))
    with wave.open(str(path), "wb") as output:
        output.setnchannels(1)
        output.setsampwidth(1)
        output.setframerate(rate)
        output.writeframes(samples)
    return path


def sounds_begun(app, head=600):
    """The sound each captured stream begins with. A sound cut short by the
    next one ends in the device's silence, so only its beginning counts."""
    names = []
    for stream in app.sounds.streams():
        start = stream.data[:head]
        found = [name for name, reference in app.sounds.references.items() if reference.samples[:len(start)] == start]
        names.append(found[0] if len(found) == 1 else None)
    return names


def open_settings(app, entry=0):
    """Opens the Settings dialog from the main menu (entries 0 to 3 all open it)."""
    app.open_menu()
    app.pick_menu_entry(entry)
    return app.dialog("Settings")


def leave_edit_with(dialog, edit_id, text):
    """Puts text into an edit as the user's typing would leave it, then moves
    on to the OK button; returns what the edit shows afterwards."""
    dialog.move_focus(edit_id)
    dialog.set_text(edit_id, text)
    dialog.move_focus(IDOK)
    return dialog.text(edit_id)


def save_all_settings(app, key=SETTINGS_KEY + r"\Timer01"):
    app.open_menu()
    app.pick_menu_entry(4)   # "Save All Settings in Windows Registry"
    app.wait_for(lambda: app.registry.get(key, "Label") is not None, message="the save")


def stored_text(app, subkey, name):
    return app.registry.get(SETTINGS_KEY + "\\" + subkey, name).text


def wait_closed(app, dialog):
    app.wait_for(lambda: not dialog.exists(), message="the Settings dialog to close")
    app.sync()   # the main menu refreshes the panels after the dialog has gone


def test_leaving_an_edit_tidies_its_text(app):
    dialog = open_settings(app)
    long_path = "C:\\" + "a" * 250 + "\\x.wav"   # 257 bytes
    cases = [
        (ids.IDC_SET_NAME1, "", "Timer #&1"),
        (ids.IDC_SET_NAME2, "  \t  ", "Timer #&2"),
        (ids.IDC_SET_NAME3, "  Tea break ", "Tea break"),
        (ids.IDC_SET_SOUND_LABEL1, " ", "Play External Sound #1"),
        (ids.IDC_SET_OPEN_LABEL3, "", "Open File #3"),
        (ids.IDC_SET_SOUND_FILE1, r"C:\Sounds\gong.wav", r'"C:\Sounds\gong.wav"'),
        (ids.IDC_SET_SOUND_FILE2, r'"C:\My Sounds\gong.wav"', r'"C:\My Sounds\gong.wav"'),
        (ids.IDC_SET_SOUND_FILE3, " " + long_path + " ", long_path),
        (ids.IDC_SET_OPEN_FILE1, r" C:\Tools\run.exe ", r'"C:\Tools\run.exe"'),
        (ids.IDC_SET_OPEN_FILE2, r" C:\Program Files\App\app.exe C:\doc.txt ",
         r" C:\Program Files\App\app.exe C:\doc.txt "),
        (ids.IDC_SET_OPEN_FILE3, "https://morvane.example/", '"https://morvane.example/"'),
    ]
    for edit_id, typed, expected in cases:
        assert leave_edit_with(dialog, edit_id, typed) == expected, (edit_id, typed)


def test_enter_moves_to_ok_then_confirms_and_panels_follow(app):
    # Each timer's event, chosen on the panels, must survive the refill.
    chosen_events = {ids.IDC_EVENT1: 4, ids.IDC_EVENT2: 7, ids.IDC_EVENT3: 2}
    for combo, index in chosen_events.items():
        app.select_combo(combo, index)

    dialog = open_settings(app)
    for edit_id, text in [(ids.IDC_SET_NAME1, "Tea"), (ids.IDC_SET_NAME3, "Pizza"),
                          (ids.IDC_SET_SOUND_LABEL2, "Gong"), (ids.IDC_SET_OPEN_LABEL2, "Browser")]:
        dialog.move_focus(edit_id)
        dialog.set_text(edit_id, text)
    dialog.set_text(ids.IDC_SET_NAME2, "   ")
    dialog.press_key("return", on=ids.IDC_SET_NAME2)
    dialog.wait_for(lambda: dialog.focus_id() == IDOK, message="the focus on OK")
    assert dialog.exists()
    assert dialog.text(ids.IDC_SET_NAME2) == "Timer #&2"

    dialog.press_key("return")
    wait_closed(app, dialog)
    assert [app.text(group) for group in (ids.IDC_GROUP1, ids.IDC_GROUP2, ids.IDC_GROUP3)] == \
        ["Tea", "Timer #&2", "Pizza"]
    for combo, index in chosen_events.items():
        items = app.combo_items(combo)
        assert items[4] == "Gong" and items[7] == "Browser"
        assert app.combo_selection(combo) == index


def test_cancel_drops_the_typed_texts(app):
    dialog = open_settings(app, entry=1)
    for edit_id, text in [(ids.IDC_SET_NAME1, "Changed"), (ids.IDC_SET_SOUND_LABEL1, "Bell"),
                          (ids.IDC_SET_SOUND_FILE1, r'"C:\bell.wav"'), (ids.IDC_SET_OPEN_LABEL1, "Site"),
                          (ids.IDC_SET_OPEN_FILE1, r'"C:\site.url"')]:
        leave_edit_with(dialog, edit_id, text)
    dialog.click(IDCANCEL)
    wait_closed(app, dialog)
    assert app.text(ids.IDC_GROUP1) == "Timer #&1"
    assert app.combo_items(ids.IDC_EVENT1)[3] == "Play External Sound #1"

    save_all_settings(app)
    assert stored_text(app, "Timer01", "Label") == "Timer #&1"
    assert stored_text(app, "ExternalSound01", "Label") == "Play External Sound #1"
    assert stored_text(app, "ExternalSound01", "FileName") == ""
    assert stored_text(app, "OpenFile01", "Label") == "Open File #1"
    assert stored_text(app, "OpenFile01", "FileName") == ""

    # Opened again, the dialog shows the record's texts, not the dropped ones.
    dialog = open_settings(app)
    assert dialog.text(ids.IDC_SET_NAME1) == "Timer #&1"
    assert dialog.text(ids.IDC_SET_SOUND_FILE1) == ""


@pytest.mark.registry({SETTINGS_KEY: {"KeepWindowOnTop": 1, "ShowTimerInTitleBar": 1, "FlashWndOnTimerUp": 0,
                                      "UseAltIconOnTimerUp": 1, "DisplaySmartCursors": 0}})
def test_options_act_at_once_and_cancel_restores_all_five(app):
    app.click(ids.IDC_START1)
    app.wait_for(lambda: COUNTDOWN.match(app.caption()), message="the countdown in the caption")
    assert app.is_topmost()

    dialog = open_settings(app, entry=3)
    # The sixth, missing, reads as off.
    assert [dialog.is_checked(box) for box in OPTION_BOXES] == [True, True, False, True, False, False]
    for box in OPTION_BOXES:
        dialog.click(box)
    assert [dialog.is_checked(box) for box in OPTION_BOXES] == [False, False, True, False, True, True]
    assert not app.is_topmost()
    assert not app.is_checked(ids.IDC_KEEP_ON_TOP)
    assert app.caption() == PLAIN_TITLE

    dialog.click(IDCANCEL)
    wait_closed(app, dialog)
    # Wine cannot lift a window back into the topmost band while a popup it
    # owns sits above it (it links the window below the popup and keeps its
    # old band), so the band itself is not checked after Cancel here.
    assert app.is_checked(ids.IDC_KEEP_ON_TOP)
    assert COUNTDOWN.match(app.caption())

    save_all_settings(app)
    stored = [app.registry.get(SETTINGS_KEY, name).number for name in OPTION_VALUES]
    assert stored == [1, 1, 0, 1, 0, 0]


@pytest.mark.registry({SETTINGS_KEY: {"ShowTimerInTitleBar": 0}})
def test_countdowns_in_the_caption_follow_the_box(app):
    dialog = open_settings(app, entry=3)
    dialog.click(ids.IDC_SET_TITLE_BAR)
    assert dialog.is_checked(ids.IDC_SET_TITLE_BAR)
    assert app.caption() == PLAIN_TITLE   # no timer runs
    dialog.click(IDCANCEL)
    wait_closed(app, dialog)

    app.click(ids.IDC_START2)
    dialog = open_settings(app, entry=3)
    assert app.caption() == PLAIN_TITLE   # the option is still off
    dialog.click(ids.IDC_SET_TITLE_BAR)
    # The click is handled by the time it returns: the countdown shows at once.
    assert COUNTDOWN.match(app.caption())
    dialog.click(ids.IDC_SET_TITLE_BAR)
    assert app.caption() == PLAIN_TITLE


@pytest.mark.sound
def test_sound_buttons_and_option_feedback(app, machine):
    tone = write_tone(machine.unix_path(r"C:\Sounds\bell.wav"))
    app.sounds.add_reference("bell", tone)
    dialog = open_settings(app, entry=1)

    # An empty row and a row naming a folder play nothing.
    leave_edit_with(dialog, ids.IDC_SET_SOUND_FILE2, r"C:\Sounds")
    dialog.click(ids.IDC_SET_PLAY1)
    dialog.click(ids.IDC_SET_PLAY2)
    leave_edit_with(dialog, ids.IDC_SET_SOUND_FILE3, r"C:\Sounds\bell.wav")
    dialog.click(ids.IDC_SET_PLAY3)
    dialog.wait_for(lambda: app.sounds.played() == ["bell"] or None, message="the row's sound")

    # A box switched off answers with one sound, switched on with another.
    dialog.click(ids.IDC_SET_FLASH)
    dialog.wait_for(lambda: sounds_begun(app)[-1:] == [ids.IDW_SWITCH_OFF], message="the switch-off sound")
    dialog.click(ids.IDC_SET_FLASH)
    dialog.wait_for(lambda: sounds_begun(app)[-1:] == [ids.IDW_SWITCH_ON], message="the switch-on sound")
    assert sounds_begun(app) == ["bell", ids.IDW_SWITCH_OFF, ids.IDW_SWITCH_ON]


def test_picture_of_the_settings_dialog(app):
    dialog = open_settings(app)
    for entry in range(3):   # names, external sounds, open files: "Fill with examples"
        dialog.post_click(ids.IDC_SET_ADVANCED)
        app.pick_menu_entry(entry, 1)
    dialog.wait_for(lambda: dialog.text(ids.IDC_SET_OPEN_LABEL3) == "Open App with Doc File")
    dialog.move_focus(IDOK)
    dialog.screenshot(SCREENSHOT)
    assert SCREENSHOT.stat().st_size > 10000
