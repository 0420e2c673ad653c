"""The desktop shortcut, read back with lnkinfo (liblnk-utils), which knows
nothing of the program."""

import os
import re
import shutil
import struct
import subprocess
import stat

import pytest

from harness import PROGRAM_PATH, ids

SHORTCUT_ENTRY = 5
START_DIRECTORY = r"C:\windows"
ICON_INDEX_OFFSET = 0x38        # of the shell link header
SHOW_COMMAND_OFFSET = 0x3C


def desktop(machine):
    folders = [folder for folder in machine.prefix.glob("drive_c/users/*/Desktop") if folder.parent.name != "Public"]
    assert len(folders) == 1, folders
    return folders[0]


def create_shortcut(app, times):
    """Chooses the menu command; waits for its sound to have come `times` times."""
    app.open_menu()
    app.pick_menu_entry(SHORTCUT_ENTRY)
    app.wait_for(lambda: app.sounds.played().count(ids.IDW_SHORTCUT_DONE) + app.sounds.played().count(ids.IDW_ERROR)
                 >= times, message="the shortcut's sound")


def link_information(path):
    """lnkinfo's "Link information" section as a dict."""
    output = subprocess.run(["lnkinfo", str(path)], stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True,
                            check=True, timeout=60).stdout
    section = output.split("Link information:", 1)[1].split("\n\n", 1)[0]
    return dict(re.findall(r"^\s*([^:\n]+?)\s*:[ \t]?(.*)$", section, re.MULTILINE))


def assert_points_at_the_program(path):
    info = link_information(path)
    assert info["Local path"] == PROGRAM_PATH
    assert info["Working directory"] == START_DIRECTORY
    assert info["Description"] == "Launch the Kelvaro application"
    assert info["Icon location"] == PROGRAM_PATH
    assert info["Icon index"] == "-101"
    # lnkinfo shows the show command as 0 under this version: read the header.
    header = path.read_bytes()[:0x4C]
    assert struct.unpack_from("<i", header, ICON_INDEX_OFFSET)[0] == -101
    assert struct.unpack_from("<I", header, SHOW_COMMAND_OFFSET)[0] == 1      # SW_SHOWNORMAL


@pytest.mark.sound
@pytest.mark.launch(cwd=START_DIRECTORY)
def test_the_shortcut_opens_the_program_in_its_start_directory(app):
    create_shortcut(app, 1)
    assert app.sounds.played() == [ids.IDW_SHORTCUT_DONE]
    assert_points_at_the_program(desktop(app.machine) / "Kelvaro.lnk")


@pytest.mark.sound
@pytest.mark.launch(cwd=START_DIRECTORY)
def test_a_second_use_replaces_the_shortcut_even_when_read_only(app):
    path = desktop(app.machine) / "Kelvaro.lnk"
    create_shortcut(app, 1)
    path.write_bytes(b"not a shortcut")
    create_shortcut(app, 2)
    assert_points_at_the_program(path)

    path.write_bytes(b"not a shortcut")
    path.chmod(stat.S_IRUSR | stat.S_IRGRP | stat.S_IROTH)       # Wine shows this as FILE_ATTRIBUTE_READONLY
    create_shortcut(app, 3)
    assert app.sounds.played() == [ids.IDW_SHORTCUT_DONE] * 3
    assert_points_at_the_program(path)
    assert path.stat().st_mode & stat.S_IWUSR


@pytest.mark.sound
def test_a_shortcut_that_cannot_be_written_gives_the_error_sound(app):
    blocked = desktop(app.machine) / "Kelvaro.lnk"
    blocked.mkdir()
    create_shortcut(app, 1)
    assert app.sounds.played() == [ids.IDW_ERROR]
    assert blocked.is_dir() and not os.listdir(blocked)


@pytest.mark.sound
def test_without_a_desktop_folder_nothing_is_written(app):
    # The shell names no desktop folder that does not exist.
    folder = desktop(app.machine)
    if folder.is_symlink():        # when Wine has linked it into $HOME
        folder.unlink()
    else:
        shutil.rmtree(folder)
    create_shortcut(app, 1)
    assert app.sounds.played() == [ids.IDW_ERROR]
    assert not folder.exists()
