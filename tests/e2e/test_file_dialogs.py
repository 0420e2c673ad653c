"""The Settings dialog's Browse buttons: where the file-open dialogs start,
what they write back, the sound preview, and the current directory; and that
libraries planted beside the program never load."""

import pytest

from harness import IDCANCEL, IDOK, PROGRAM_DIR, PROGRAM_PATH, ids
from harness.app import TOOLS, Window

from test_about import open_about
from test_settings_dialog import open_settings, sounds_begun, wait_closed, write_tone

SOUND_TITLE = "Select a Sound File"
DOCUMENT_TITLE = "Select a Document or an Application File"
FILE_NAME_BOX = 1148   # the file-open dialog's "File name" box
LOOK_IN_LIST = 1137    # its "Look in" list of folders
# Where Wine's file-open dialog remembers the last folder of each program; a
# remembered folder wins over the current directory as the place to start.
LAST_VISITED = r"Software\Microsoft\Windows\CurrentVersion\Explorer\ComDlg32\LastVisitedMRU"


def make_files(machine, *paths):
    for path in paths:
        target = machine.unix_path(path)
        target.parent.mkdir(parents=True, exist_ok=True)
        target.write_bytes(b"")


def browse(app, settings, button, title):
    settings.post_click(button)
    return app.dialog(title)


def file_name_box(app, file_dialog):
    edit = next(child for child in file_dialog.children()
                if child.class_name == "Edit" and child.id == FILE_NAME_BOX)
    return Window(app, edit.hwnd)


def folder_shown(file_dialog):
    return file_dialog.combo_items(LOOK_IN_LIST)[file_dialog.combo_selection(LOOK_IN_LIST)]


def press(app, file_dialog, button):
    file_dialog.post_command(button)
    app.wait_for(lambda: not file_dialog.exists(), message="the file-open dialog to close")
    app.sync()   # the Browse button's handler finishes after the dialog has gone


def choose(app, file_dialog, name):
    """Types a name (relative to the folder shown, or a full path) and opens it."""
    file_name_box(app, file_dialog).set_text(None, name)
    press(app, file_dialog, IDOK)


def test_sound_browse_starts_at_the_rows_file_and_writes_the_choice_quoted(app, machine):
    make_files(machine, r"C:\Sounds\gong.wav", r"C:\Sounds\bell ring.wav")
    settings = open_settings(app, entry=1)
    settings.set_text(ids.IDC_SET_SOUND_FILE1, r'"C:\Sounds\gong.wav"')

    file_dialog = browse(app, settings, ids.IDC_SET_BROWSE_SOUND1, SOUND_TITLE)
    assert folder_shown(file_dialog) == "Sounds"
    assert file_name_box(app, file_dialog).text() == "gong.wav"
    assert file_dialog.info()["owner"] == settings.hwnd
    assert abs(file_dialog.window_rect().center[0] - settings.window_rect().center[0]) <= 2
    assert abs(file_dialog.window_rect().center[1] - settings.window_rect().center[1]) <= 2
    choose(app, file_dialog, "bell ring.wav")
    assert settings.text(ids.IDC_SET_SOUND_FILE1) == r'"C:\Sounds\bell ring.wav"'

    # Cancelling changes nothing, in a filled row and in an empty one.
    press(app, browse(app, settings, ids.IDC_SET_BROWSE_SOUND1, SOUND_TITLE), IDCANCEL)
    press(app, browse(app, settings, ids.IDC_SET_BROWSE_SOUND2, SOUND_TITLE), IDCANCEL)
    assert settings.text(ids.IDC_SET_SOUND_FILE1) == r'"C:\Sounds\bell ring.wav"'
    assert settings.text(ids.IDC_SET_SOUND_FILE2) == ""


def test_document_browse_starts_at_the_application_and_replaces_the_command(app, machine):
    make_files(machine, r"C:\Tools\viewer.exe", r"C:\Docs\notes.txt", r"C:\Docs\plan.txt")
    settings = open_settings(app, entry=2)
    settings.set_text(ids.IDC_SET_OPEN_FILE1, r'"C:\Tools\viewer.exe" "C:\Docs\notes.txt"')

    file_dialog = browse(app, settings, ids.IDC_SET_BROWSE_OPEN1, DOCUMENT_TITLE)
    assert folder_shown(file_dialog) == "Tools"
    assert file_name_box(app, file_dialog).text() == "viewer.exe"
    choose(app, file_dialog, r"C:\Docs\plan.txt")
    assert settings.text(ids.IDC_SET_OPEN_FILE1) == r'"C:\Docs\plan.txt"'

    # A web address is no place to start from: no file name is offered.
    settings.set_text(ids.IDC_SET_OPEN_FILE2, '"https://morvane.example/kelvaro/"')
    file_dialog = browse(app, settings, ids.IDC_SET_BROWSE_OPEN2, DOCUMENT_TITLE)
    assert file_name_box(app, file_dialog).text() == ""
    press(app, file_dialog, IDCANCEL)
    assert settings.text(ids.IDC_SET_OPEN_FILE2) == '"https://morvane.example/kelvaro/"'


def test_browsing_leaves_the_current_directory_as_it_was(machine):
    # Both folders hold a probe.wav: which one a bare "probe.wav" picks tells
    # the folder a fresh dialog starts in, the program's current directory.
    make_files(machine, r"C:\Start\probe.wav", r"C:\Other\probe.wav")
    app = machine.launch(cwd=r"C:\Start")
    settings = open_settings(app, entry=1)

    def start_folder_pick(button):
        machine.registry.delete(LAST_VISITED)
        file_dialog = browse(app, settings, button, SOUND_TITLE)
        choose(app, file_dialog, "probe.wav")

    # Walking to another folder, then cancelling.
    file_dialog = browse(app, settings, ids.IDC_SET_BROWSE_SOUND1, SOUND_TITLE)
    file_name_box(app, file_dialog).set_text(None, r"C:\Other")
    file_dialog.post_command(IDOK)
    app.wait_for(lambda: folder_shown(file_dialog) == "Other", message="the walk to C:\\Other")
    press(app, file_dialog, IDCANCEL)
    assert settings.text(ids.IDC_SET_SOUND_FILE1) == ""
    start_folder_pick(ids.IDC_SET_BROWSE_SOUND2)
    assert settings.text(ids.IDC_SET_SOUND_FILE2) == r'"C:\Start\probe.wav"'

    # Choosing a file in another folder.
    choose(app, browse(app, settings, ids.IDC_SET_BROWSE_SOUND3, SOUND_TITLE), r"C:\Other\probe.wav")
    assert settings.text(ids.IDC_SET_SOUND_FILE3) == r'"C:\Other\probe.wav"'
    start_folder_pick(ids.IDC_SET_BROWSE_SOUND1)
    assert settings.text(ids.IDC_SET_SOUND_FILE1) == r'"C:\Start\probe.wav"'


@pytest.mark.sound
def test_pre_hearing_plays_and_stops_the_selected_file(app, machine):
    seconds = 10
    app.sounds.add_reference("chime", write_tone(machine.unix_path(r"C:\Sounds\chime.wav"), seconds=seconds))
    settings = open_settings(app, entry=1)
    settings.set_text(ids.IDC_SET_SOUND_FILE2, r'"C:\Sounds\chime.wav"')
    file_dialog = browse(app, settings, ids.IDC_SET_BROWSE_SOUND2, SOUND_TITLE)
    preview = Window(app, next(child.hwnd for child in file_dialog.children()
                               if child.class_name == "#32770" and child.parent == file_dialog.hwnd))

    preview.click(ids.IDC_PREVIEW_PLAY)
    app.wait_for(lambda: sounds_begun(app) == ["chime"], message="the previewed sound")
    preview.click(ids.IDC_PREVIEW_STOP)
    sizes = []

    def settled():
        sizes.append(len(app.sounds.streams()[0].data))
        return len(sizes) > 10 and sizes[-1] == sizes[-11]
    app.wait_for(settled, message="the stream to end")
    assert sizes[-1] < 22050 * seconds   # stopped long before its end
    press(app, file_dialog, IDCANCEL)
    assert settings.text(ids.IDC_SET_SOUND_FILE2) == r'"C:\Sounds\chime.wav"'


# Libraries the program loads by name; version.dll was once an import.
PLANTED_NAMES = ["dwmapi.dll", "winmm.dll", "comdlg32.dll", "version.dll"]
DOWNLOADS = r"C:\users\Public\Downloads"


@pytest.mark.sound
def test_libraries_planted_beside_the_program_or_in_its_start_directory_never_load(machine):
    planted = [f"{folder}\\{name}" for folder in (PROGRAM_DIR, DOWNLOADS) for name in PLANTED_NAMES]
    for path in planted:
        machine.install(TOOLS / "planted.dll", path)
    app = machine.launch(cwd=DOWNLOADS)
    # Everything that loads one of them still works: a sound, a file-open
    # dialog, the version line.
    app.click(ids.IDC_KEEP_ON_TOP)
    app.wait_for(lambda: app.sounds.played() == [ids.IDW_SWITCH_OFF], message="the switch-off sound")
    settings = open_settings(app, entry=1)
    press(app, browse(app, settings, ids.IDC_SET_BROWSE_SOUND1, SOUND_TITLE), IDCANCEL)
    settings.click(IDCANCEL)
    wait_closed(app, settings)
    about = open_about(app)
    assert about.text(ids.IDC_ABOUT_VERSION) == "Kelvaro, Version 3.1.0.0"
    assert [path for path in planted if machine.unix_path(path + ".loaded").exists()] == []


FAIL_NEXT_ALLOCATION = r"C:\tools\fail-next-allocation"     # read by faulty.exe


def test_an_allocation_failing_inside_the_settings_dialog_leaves_the_program_running(machine):
    machine.install(TOOLS / "faulty.exe", PROGRAM_PATH)
    app = machine.launch()
    settings = open_settings(app, entry=1)
    trigger = machine.unix_path(FAIL_NEXT_ALLOCATION)
    trigger.write_bytes(b"")
    settings.post_click(ids.IDC_SET_BROWSE_SOUND1)
    app.wait_for(lambda: not trigger.exists(), message="the failed allocation")
    app.sync()
    # That Browse did nothing; the next one works, and so does the rest.
    assert app.is_running()
    assert [window.hwnd for window in app.dialogs()] == [settings.hwnd]
    press(app, browse(app, settings, ids.IDC_SET_BROWSE_SOUND1, SOUND_TITLE), IDCANCEL)
    settings.click(IDOK)
    wait_closed(app, settings)
    app.click(ids.IDC_START1)
    assert app.text(ids.IDC_START1) == " Stop"
