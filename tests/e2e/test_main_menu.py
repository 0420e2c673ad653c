"""The main menu behind the Menu button: its entries in order, known by what
they do (another process cannot read a menu under Wine), the exit with the
funny sound, and the entries that do nothing."""

import pytest

from harness import IDCANCEL, IDOK, SETTINGS_KEY, Window, ids, program_waves

SETTINGS_ENTRIES = [0, 1, 2, 3]
SAVE, SHORTCUT, ABOUT, EXIT, CLOSE_MENU = 4, 5, 6, 7, 8


def pick(app, entry):
    app.open_menu()
    app.pick_menu_entry(entry)


def close_dialog(app, caption, button):
    dialog = app.dialog(caption)
    dialog.click(button)
    app.wait_for(lambda: not dialog.exists(), message=f"{caption} to close")
    # Under Wine the main dialog is activated again a little later, and a menu
    # opened before that would be dismissed by it.
    app.wait_for(app.is_foreground, message="the main dialog active again")
    app.sync()


def sounds_after_a_marker(app):
    """Every sound so far, once a sound made now has arrived: anything the
    program played earlier is in the list by then."""
    before = len(app.sounds.played())
    app.click(ids.IDC_KEEP_ON_TOP)
    app.wait_for(lambda: len(app.sounds.played()) > before, message="the marker sound")
    return app.sounds.played()


def test_the_menu_opens_at_the_centre_of_its_button(app):
    menu = app.open_menu()
    button = app.window_rect(ids.IDC_MENU)
    popup = Window(app, menu).window_rect()
    assert (popup.left, popup.top) == button.center
    app.escape_menu()


@pytest.mark.sound
def test_entries_in_order(app):
    for entry in SETTINGS_ENTRIES:
        pick(app, entry)
        close_dialog(app, "Settings", IDCANCEL)

    pick(app, SAVE)
    app.wait_for(lambda: ids.IDW_SAVED in app.sounds.played(), message="the saved sound")
    assert app.registry.get(SETTINGS_KEY + r"\Timer03", "Event") is not None

    pick(app, SHORTCUT)
    app.wait_for(lambda: ids.IDW_SHORTCUT_DONE in app.sounds.played(), message="the shortcut sound")
    assert list(app.machine.prefix.glob("drive_c/users/*/Desktop/Kelvaro.lnk"))

    pick(app, ABOUT)
    close_dialog(app, "About Kelvaro", IDOK)

    assert sounds_after_a_marker(app) == [ids.IDW_SAVED, ids.IDW_SHORTCUT_DONE, ids.IDW_SWITCH_OFF]
    pick(app, EXIT)
    assert app.exit_code() == 0
    assert ids.IDW_EXIT not in app.sounds.played()


@pytest.mark.sound
def test_close_this_menu_and_escape_do_nothing(app):
    pick(app, CLOSE_MENU)
    app.open_menu()
    app.escape_menu()
    assert app.is_running()
    assert app.dialogs() == []
    assert sounds_after_a_marker(app) == [ids.IDW_SWITCH_OFF]
    assert not app.registry.exists(SETTINGS_KEY)


@pytest.mark.sound
@pytest.mark.parametrize("key", ["shift", "control"])
def test_shift_or_control_exits_with_the_funny_sound(app, key):
    # The key counts as the menu is opened; the entry is then picked without it
    # (Control held would turn the menu's keys into shortcuts).
    with app.held_keys(key):
        app.open_menu()
    app.pick_menu_entry(EXIT)
    assert app.exit_code() == 0
    # Played to its end before the process went away.
    streams = [stream for stream in app.sounds.streams() if stream.sound == ids.IDW_EXIT]
    assert len(streams) == 1
    assert len(streams[0].data) >= len(program_waves()[ids.IDW_EXIT].samples)
