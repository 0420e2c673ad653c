"""The Settings dialog's Advanced Options menu: each command fills its
section of the dialog, and only Cancel or OK decides what is kept."""

import pytest

from harness import IDCANCEL, IDOK, SETTINGS_KEY, ids
from harness.app import Window

from test_settings_dialog import (OPTION_BOXES, OPTION_VALUES, open_settings, save_all_settings, sounds_begun,
                                  wait_closed)

NAMES, SOUNDS, OPEN_FILES, OTHER_SETTINGS, CLOSE_MENU = range(5)
RESET, FILL = 0, 1

NAME_EDITS = (ids.IDC_SET_NAME1, ids.IDC_SET_NAME2, ids.IDC_SET_NAME3)
SOUND_LABELS = (ids.IDC_SET_SOUND_LABEL1, ids.IDC_SET_SOUND_LABEL2, ids.IDC_SET_SOUND_LABEL3)
SOUND_FILES = (ids.IDC_SET_SOUND_FILE1, ids.IDC_SET_SOUND_FILE2, ids.IDC_SET_SOUND_FILE3)
OPEN_LABELS = (ids.IDC_SET_OPEN_LABEL1, ids.IDC_SET_OPEN_LABEL2, ids.IDC_SET_OPEN_LABEL3)
OPEN_FILES_EDITS = (ids.IDC_SET_OPEN_FILE1, ids.IDC_SET_OPEN_FILE2, ids.IDC_SET_OPEN_FILE3)

# Wine's Windows folder is C:\windows, and it has a Notepad.
EXPECTED = {
    (NAMES, FILL): {NAME_EDITS: ["&Coffee Break", "Meeting in X &minutes", "Time to go to &BED!"]},
    (NAMES, RESET): {NAME_EDITS: ["Timer #&1", "Timer #&2", "Timer #&3"]},
    (SOUNDS, FILL): {
        SOUND_LABELS: ['Play "Chimes" sound', 'Play "Notify" sound', 'Play "Tada" sound'],
        SOUND_FILES: [r'"C:\windows\Media\Chimes.wav"', r'"C:\windows\Media\Notify.wav"',
                      r'"C:\windows\Media\Tada.wav"'],
    },
    (SOUNDS, RESET): {
        SOUND_LABELS: ["Play External Sound #1", "Play External Sound #2", "Play External Sound #3"],
        SOUND_FILES: ["", "", ""],
    },
    (OPEN_FILES, FILL): {
        OPEN_LABELS: ["Open Website", "Open Document File", "Open App with Doc File"],
        OPEN_FILES_EDITS: ['"https://morvane.example/kelvaro/"', r'"C:\Some Path\Some Document File.doc"',
                           r'"C:\windows\Notepad.exe" "C:\Some Path\Some Text File.txt"'],
    },
    (OPEN_FILES, RESET): {
        OPEN_LABELS: ["Open File #1", "Open File #2", "Open File #3"],
        OPEN_FILES_EDITS: ["", "", ""],
    },
}


def choose_command(app, settings, section, *entry):
    settings.post_click(ids.IDC_SET_ADVANCED)
    app.pick_menu_entry(section, *entry)
    app.sync()   # the command runs once the menu has gone


def texts(settings, edits):
    return [settings.text(edit) for edit in edits]


@pytest.mark.sound
def test_each_command_fills_its_section(app):
    settings = open_settings(app, entry=2)
    played = 0
    for (section, entry), wanted in EXPECTED.items():
        choose_command(app, settings, section, entry)
        sound = ids.IDW_FILLED if entry == FILL else ids.IDW_RESET
        played += 1
        app.wait_for(lambda: sounds_begun(app)[played - 1:] == [sound], message=f"sound {sound}")
        for edits, values in wanted.items():
            assert texts(settings, edits) == values, (section, entry)
    assert len(sounds_begun(app)) == played

    # Nothing has reached the panels yet; OK takes the texts over.
    assert app.combo_items(ids.IDC_EVENT1)[6] == "Open File #1"
    choose_command(app, settings, OPEN_FILES, FILL)
    settings.press_key("return", on=ids.IDC_SET_OPEN_FILE1)
    settings.wait_for(lambda: settings.focus_id() == IDOK, message="the focus on OK")
    settings.press_key("return")
    wait_closed(app, settings)
    assert app.combo_items(ids.IDC_EVENT2)[6:] == ["Open Website", "Open Document File", "Open App with Doc File"]
    assert app.text(ids.IDC_GROUP3) == "Timer #&3"


@pytest.mark.sound
@pytest.mark.registry({SETTINGS_KEY: {"KeepWindowOnTop": 0, "ShowTimerInTitleBar": 1, "FlashWndOnTimerUp": 0,
                                      "UseAltIconOnTimerUp": 0, "DisplaySmartCursors": 1,
                                      "ShowInNotificationArea": 1}})
def test_reset_to_default_selections_sets_every_box_until_cancel(app):
    settings = open_settings(app, entry=3)
    choose_command(app, settings, OTHER_SETTINGS, 0)
    app.wait_for(lambda: sounds_begun(app) == [ids.IDW_FILLED], message="the fill sound")
    # Every option back to its default: on, but the notification-area icon off.
    assert [settings.is_checked(box) for box in OPTION_BOXES] == [True] * 5 + [False]
    # Only the options change: the main dialog's own box stays as it was.
    assert not app.is_checked(ids.IDC_KEEP_ON_TOP)

    settings.click(IDCANCEL)
    wait_closed(app, settings)
    save_all_settings(app)
    assert [app.registry.get(SETTINGS_KEY, name).number for name in OPTION_VALUES] == [0, 1, 0, 0, 1, 1]


def test_the_menu_opens_at_the_button_and_closing_it_changes_nothing(app):
    settings = open_settings(app)
    before = {edit: settings.text(edit) for edit in NAME_EDITS + SOUND_FILES + OPEN_LABELS}

    settings.post_click(ids.IDC_SET_ADVANCED)
    menu = Window(app, app.wait_for_menu())
    left, top = menu.window_rect()[:2]
    assert (left, top) == settings.window_rect(ids.IDC_SET_ADVANCED).center
    app.escape_menu()
    choose_command(app, settings, CLOSE_MENU)

    assert {edit: settings.text(edit) for edit in before} == before
    assert [settings.is_checked(box) for box in OPTION_BOXES] == [True] * 5 + [False]
