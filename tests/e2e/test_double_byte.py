"""Text in the Shift-JIS code page (932): names, labels, file names and
command texts made of double-byte characters whose second byte looks like
ASCII (a backslash, a bar, an at sign, letters), through the name editor, the
Settings dialog, the registry and the programs that open file events start.

Trail bytes run from 0x40 to 0x7E and 0x80 to 0xFC, so a space (0x20) or a
double quote (0x22) is never the second byte of a character: what can go
wrong is a trail byte taken for a backslash or a bar, a character cut in
half, or a one-byte half-width katakana taken for the first of two bytes."""

import pytest

from harness import IDCANCEL, ids
from test_events import install_recorder, launch_with, launches, open_file, start_together, timer
from test_file_dialogs import DOCUMENT_TITLE, SOUND_TITLE, browse, choose, file_name_box, folder_shown, make_files
from test_name_editor import NAME_EDIT, open_editor, press, type_into, wait_closed
from test_settings_dialog import leave_edit_with, open_settings
from test_settings_dialog import wait_closed as wait_settings_closed
from test_store import key, save_all, sz_bytes

pytestmark = pytest.mark.locale("ja_JP.UTF-8")

# The second byte of each character, as ASCII sees it:
#   表 95 5C, ソ 83 5C, 能 94 5C, 予 97 5C, 十 8F 5C   a backslash
#   ポ 83 7C   a bar;   ド 83 68, フ 83 74   the letters h and t;   ミ 83 7E   a tilde
#   U+3000 (the full-width space) 81 40   an at sign; it is not white space
#   ｱ B1   a half-width katakana: one byte, which never starts a pair
FULL_WIDTH_SPACE = "\u3000"

GROUPS = [ids.IDC_GROUP1, ids.IDC_GROUP2, ids.IDC_GROUP3]
NAME_EDITS = [ids.IDC_SET_NAME1, ids.IDC_SET_NAME2, ids.IDC_SET_NAME3]


def rename_by_typing(app, timer_number, typed):
    """Types the name into the panel's editor as keystrokes and ends it with Enter."""
    editor = open_editor(app, timer_number)
    type_into(editor, typed)
    app.wait_for(lambda: editor.text_bytes(NAME_EDIT) == app.machine.encode(typed), message="the typed name")
    press(editor, "return")
    wait_closed(app, editor)


def test_the_name_editor_keeps_double_byte_names_whole(app):
    assert app.machine.code_page == 932
    encode = app.machine.encode
    # ASCII blanks around the name go; full-width spaces are part of it.
    spaced = f"{FULL_WIDTH_SPACE}表示ソ ポ能{FULL_WIDTH_SPACE}"
    rename_by_typing(app, 1, "  " + spaced + "  ")
    # The field takes sixteen characters, the name only 30 bytes: the 30th
    # byte would be the first of the last character, which goes as a whole.
    rename_by_typing(app, 2, "a" + "表" * 15)
    # Fourteen characters and a blank are 29 bytes, and the last character
    # does not fit: the blank left at the end goes too.
    rename_by_typing(app, 3, "ソ" * 14 + " ポ")
    names = [spaced, "a" + "表" * 14, "ソ" * 14]
    assert [app.text_bytes(group) for group in GROUPS] == [encode(name) for name in names]

    # Opened again, each editor shows the stored name whole, and Escape
    # stores it once more unchanged.
    for number, name in enumerate(names, 1):
        editor = open_editor(app, number)
        assert editor.text_bytes(NAME_EDIT) == encode(name)
        press(editor, "escape")
        wait_closed(app, editor)
        assert app.text_bytes(GROUPS[number - 1]) == encode(name)

    # The names are the settings record's: the Settings dialog shows them and
    # the save writes them, byte for byte.
    dialog = open_settings(app)
    assert [dialog.text_bytes(edit) for edit in NAME_EDITS] == [encode(name) for name in names]
    dialog.click(IDCANCEL)
    wait_settings_closed(app, dialog)
    save_all(app)
    assert [sz_bytes(app, f"Timer0{number}", "Label") for number in (1, 2, 3)] == \
        [encode(name) + b"\0" for name in names]


# The program started by open file #2, a path with a space and trail bytes 0x5C.
VIEWER = r"C:\予定 表\ソ能\ポ表.exe"
LONG_SOUND_PATH = "C:\\" + "表" * 124 + "\\x.wav"          # 257 bytes: too long to quote


@pytest.mark.registry({
    key("ExternalSound03"): {"FileName": "表" * 130},      # 260 bytes: the 259th starts the last character
    key("Timer01"): {"Value": 1000, "Event": 8},           # open file #2 when timer #1 is up
})
def test_settings_dialog_tidies_and_keeps_double_byte_texts_whole(app, machine):
    assert machine.code_page == 932
    encode = machine.encode
    viewer_log = install_recorder(machine, VIEWER)
    dialog = open_settings(app)
    assert dialog.text_bytes(ids.IDC_SET_SOUND_FILE3) == encode("表" * 129)

    viewer_command = rf'"{VIEWER}" "C:\資料\表" ｱ '
    cases = [
        (ids.IDC_SET_NAME1, f"  表示{FULL_WIDTH_SPACE}ソ  ", f"表示{FULL_WIDTH_SPACE}ソ"),
        (ids.IDC_SET_NAME2, "a" + "表" * 15, "a" + "表" * 14),
        (ids.IDC_SET_NAME3, "ソ" * 14 + " ポ", "ソ" * 14),
        (ids.IDC_SET_SOUND_LABEL1, " ポ|ドフミｱ ", "ポ|ドフミｱ"),
        # Full-width spaces only are a label, not an empty one.
        (ids.IDC_SET_SOUND_LABEL2, FULL_WIDTH_SPACE * 2, FULL_WIDTH_SPACE * 2),
        (ids.IDC_SET_OPEN_LABEL1, "開く" + "表" * 14, "開く" + "表" * 13),
        (ids.IDC_SET_SOUND_FILE1, r" C:\表示\ソ.wav ", r'"C:\表示\ソ.wav"'),
        (ids.IDC_SET_SOUND_FILE2, r'"C:\予定 表\能ソ.wav"', r'"C:\予定 表\能ソ.wav"'),
        (ids.IDC_SET_SOUND_FILE3, f" {LONG_SOUND_PATH} ", LONG_SOUND_PATH),
        (ids.IDC_SET_OPEN_FILE1, r" C:\表示\ポ.exe ", r'"C:\表示\ポ.exe"'),
        # A command with a space is the user's to split: kept as typed.
        (ids.IDC_SET_OPEN_FILE2, viewer_command, viewer_command),
        # A full-width space is no separator: one path, quoted whole.
        (ids.IDC_SET_OPEN_FILE3, rf"C:\表示\ポ.exe{FULL_WIDTH_SPACE}表",
         rf'"C:\表示\ポ.exe{FULL_WIDTH_SPACE}表"'),
    ]
    for edit_id, typed, expected in cases:
        assert leave_edit_with(dialog, edit_id, typed) == expected, (edit_id, typed)
    kept = {edit_id: expected for edit_id, typed, expected in cases}

    dialog.press_key("return")                   # the focus is on OK
    wait_settings_closed(app, dialog)
    assert [app.text(group) for group in GROUPS] == [kept[edit] for edit in NAME_EDITS]
    assert app.combo_items(ids.IDC_EVENT2)[3:] == [
        kept[ids.IDC_SET_SOUND_LABEL1], kept[ids.IDC_SET_SOUND_LABEL2], "Play External Sound #3",
        kept[ids.IDC_SET_OPEN_LABEL1], "Open File #2", "Open File #3"]

    # The record holds every text whole: the dialog shows them again, the
    # save writes them, and open file #2 starts its program as typed.
    dialog = open_settings(app)
    for edit_id, text in kept.items():
        assert dialog.text_bytes(edit_id) == encode(text), edit_id
    dialog.click(IDCANCEL)
    wait_settings_closed(app, dialog)

    save_all(app)
    stored = {
        ("Timer01", "Label"): ids.IDC_SET_NAME1, ("Timer02", "Label"): ids.IDC_SET_NAME2,
        ("Timer03", "Label"): ids.IDC_SET_NAME3, ("ExternalSound01", "Label"): ids.IDC_SET_SOUND_LABEL1,
        ("ExternalSound02", "Label"): ids.IDC_SET_SOUND_LABEL2, ("OpenFile01", "Label"): ids.IDC_SET_OPEN_LABEL1,
        ("ExternalSound01", "FileName"): ids.IDC_SET_SOUND_FILE1,
        ("ExternalSound02", "FileName"): ids.IDC_SET_SOUND_FILE2,
        ("ExternalSound03", "FileName"): ids.IDC_SET_SOUND_FILE3,
        ("OpenFile01", "FileName"): ids.IDC_SET_OPEN_FILE1, ("OpenFile02", "FileName"): ids.IDC_SET_OPEN_FILE2,
        ("OpenFile03", "FileName"): ids.IDC_SET_OPEN_FILE3,
    }
    for (subkey, name), edit_id in stored.items():
        assert sz_bytes(app, subkey, name) == encode(kept[edit_id]) + b"\0", (subkey, name)

    app.click(ids.IDC_START1)
    (start,) = app.wait_for(lambda: launches(machine, viewer_log), message="open file #2's program")
    assert start.argv == [VIEWER, r"C:\資料\表", "ｱ"]


def test_double_byte_commands_are_split_at_the_right_quote_and_space(machine):
    assert machine.code_page == 932
    first_program = r"C:\表ソ\ポソ.exe"
    third_program = r"C:\予定 表\能\ミドフ.exe"
    first_log = install_recorder(machine, first_program)
    third_log = install_recorder(machine, third_program)
    app = launch_with(
        machine, timer(1, 7), timer(2, 8), timer(3, 9, value=2000),
        # Unquoted: the target ends at the first space; the parameters keep
        # their quotes and lose the blanks around them.
        open_file(1, f'{first_program}   予\\ ポ|x "十 表"  '),
        # A full-width space after the closing quote is text glued to it, not
        # the separator: refused. Split there, it would start the first program again.
        open_file(2, f'"{first_program}"{FULL_WIDTH_SPACE}引数'),
        # Quoted: blanks inside the quotes go; the half-width katakana before
        # the trailing blank is a whole character, so the blank goes too.
        open_file(3, f'"  {third_program} " "C:\\資料\\表" 表\\ ｱ '),
    )
    start_together(app, ids.IDC_START1, ids.IDC_START2, ids.IDC_START3)
    # Timer #3 is up a second after the other two: by the time its program
    # has started, a start by timer #2 would have been logged as well.
    (third,) = app.wait_for(lambda: launches(machine, third_log), message="open file #3's program")
    first = app.wait_for(lambda: launches(machine, first_log), message="open file #1's program")

    # The shell puts the target in quotes before the parameters as given.
    assert third.command_line == f'"{third_program}" "C:\\資料\\表" 表\\ ｱ'
    assert third.argv == [third_program, r"C:\資料\表", "表\\", "ｱ"]
    assert [start.command_line for start in first] == [f'"{first_program}" 予\\ ポ|x "十 表"']
    assert first[0].argv == [first_program, "予\\", "ポ|x", "十 表"]
    assert first[0].cwd == third.cwd == "C:\\"


def test_browsing_starts_at_the_double_byte_file_of_the_row(app, machine):
    assert machine.code_page == 932
    make_files(machine, r"C:\表示\ソ.wav", r"C:\表示\能.wav", VIEWER, r"C:\資料\表.txt")
    settings = open_settings(app, entry=1)
    settings.set_text(ids.IDC_SET_SOUND_FILE1, r'"C:\表示\ソ.wav"')
    settings.set_text(ids.IDC_SET_OPEN_FILE1, rf'"{VIEWER}" "C:\資料\表.txt"')

    # The folder ends, and the file name begins, after the last real
    # backslash, not after the second byte of ソ.
    file_dialog = browse(app, settings, ids.IDC_SET_BROWSE_SOUND1, SOUND_TITLE)
    assert folder_shown(file_dialog) == "表示"
    assert file_name_box(app, file_dialog).text() == "ソ.wav"
    choose(app, file_dialog, "能.wav")
    assert settings.text(ids.IDC_SET_SOUND_FILE1) == r'"C:\表示\能.wav"'

    file_dialog = browse(app, settings, ids.IDC_SET_BROWSE_OPEN1, DOCUMENT_TITLE)
    assert folder_shown(file_dialog) == "ソ能"
    assert file_name_box(app, file_dialog).text() == "ポ表.exe"
    choose(app, file_dialog, r"C:\資料\表.txt")
    assert settings.text(ids.IDC_SET_OPEN_FILE1) == r'"C:\資料\表.txt"'
