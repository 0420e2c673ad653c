"""Events fired when a timer is up, on the real program: open file events
observed through the recorder program they start, built-in and external
sounds observed in what Wine played."""

import shutil

import pytest

from harness import RECORDER_PATH, SETTINGS_KEY, ids
from harness.app import TOOLS, RecorderLaunch
from test_settings_dialog import write_tone

START_TEXT = " Start"
MARKER = "marker"


def timer(number, event, value=1000):
    return {rf"{SETTINGS_KEY}\Timer{number:02d}": {"Value": value, "Event": event}}


def open_file(number, command):
    return {rf"{SETTINGS_KEY}\OpenFile{number:02d}": {"FileName": command}}


def external_sound(number, file_name):
    return {rf"{SETTINGS_KEY}\ExternalSound{number:02d}": {"FileName": file_name}}


def launch_with(machine, *parts):
    """Seeds the registry from the parts and starts the program."""
    keys = {}
    for part in parts:
        for key, values in part.items():
            keys.setdefault(key, {}).update(values)
    machine.registry.seed(keys)
    return machine.launch()


def install_recorder(machine, windows_path):
    """Another copy of the recorder; it logs next to itself."""
    target = machine.unix_path(windows_path)
    target.parent.mkdir(parents=True, exist_ok=True)
    shutil.copy2(TOOLS / "recorder.exe", target)
    return target.parent / "recorder.log"


def launches(machine, log):
    if not log.exists():
        return []
    return [RecorderLaunch(line, machine.decode) for line in log.read_text(encoding="ascii").splitlines() if line]


def start_together(app, *buttons):
    """Posted clicks are handled one after the other before the next tick."""
    for button in buttons:
        app.post_click(button)
    app.wait_for(lambda: all(app.text(button) != START_TEXT for button in buttons), message="the timers to start")


def wait_until_stopped(app, button):
    app.wait_for(lambda: app.text(button) == START_TEXT, message="the timer to stop")


def marker_command():
    return f'"{RECORDER_PATH}" {MARKER}'


def test_open_file_event_fires_once_with_the_split_command_in_c(machine):
    log = install_recorder(machine, r"C:\Program Files\Rec Order\recorder.exe")
    app = launch_with(machine, timer(1, 7), timer(2, 8),
                      open_file(1, r'"C:\Program Files\Rec Order\recorder.exe" "C:\My Files\a b.txt" --flag'),
                      open_file(2, marker_command()))
    app.click(ids.IDC_START1)
    wait_until_stopped(app, ids.IDC_START1)
    (launch,) = app.wait_for(lambda: launches(machine, log), message="the event's program")
    assert launch.args == [r"C:\My Files\a b.txt", "--flag"]
    assert launch.cwd == "C:\\"
    # A second start would have come long before a later timer's event.
    app.click(ids.IDC_START2)
    app.recorder.wait_for_launches(1)
    assert [start.args for start in app.recorder.launches()] == [[MARKER]]
    assert len(launches(machine, log)) == 1


def test_a_stop_by_the_user_never_fires_the_event(machine):
    app = launch_with(machine, timer(1, 7, value=60000), timer(2, 8),
                      open_file(1, f'"{RECORDER_PATH}" first'), open_file(2, marker_command()))
    app.click(ids.IDC_START1)
    app.click(ids.IDC_START1)
    assert app.text(ids.IDC_START1) == START_TEXT
    app.click(ids.IDC_START2)
    app.recorder.wait_for_launches(1)
    assert [start.args for start in app.recorder.launches()] == [[MARKER]]


def test_two_timers_up_together_fire_in_order(machine):
    app = launch_with(machine, timer(1, 7), timer(2, 8), open_file(1, f'"{RECORDER_PATH}" first'),
                      open_file(2, f'"{RECORDER_PATH}" second'))
    start_together(app, ids.IDC_START1, ids.IDC_START2)
    starts = app.recorder.wait_for_launches(2)
    assert len(starts) == 2
    # The recorders may log in either order; their start times say which came first.
    assert [start.args for start in sorted(starts, key=lambda start: start.tick)] == [["first"], ["second"]]


def test_a_changed_event_list_decides_what_fires(machine):
    app = launch_with(machine, timer(1, 7, value=2000), open_file(1, f'"{RECORDER_PATH}" first'),
                      open_file(2, f'"{RECORDER_PATH}" second'))
    app.click(ids.IDC_START1)
    app.select_combo(ids.IDC_EVENT1, 7)     # open file #2, chosen while the timer runs
    starts = app.recorder.wait_for_launches(1)
    assert [start.args for start in starts] == [["second"]]


def padded_path(folder, length):
    """folder\\.\\.\\...\\recorder.exe, exactly length bytes long."""
    path = folder + "\\recorder.exe"
    steps, odd = divmod(length - len(path), 2)
    assert odd == 0
    return folder + "\\." * steps + "\\recorder.exe"


def test_a_target_of_259_bytes_is_opened(machine):
    target = padded_path(r"C:\tools", 259)
    app = launch_with(machine, timer(1, 7), open_file(1, f'"{target}" long'))
    app.click(ids.IDC_START1)
    starts = app.recorder.wait_for_launches(1)
    assert [start.args for start in starts] == [["long"]]


def open_web_addresses_with_the_recorder(machine):
    machine.registry.set(r"HKCR\http\shell\open\command", "", f'"{RECORDER_PATH}" "%1"')


def test_a_quoted_web_address_is_opened_without_its_quotes(machine):
    open_web_addresses_with_the_recorder(machine)
    app = launch_with(machine, timer(1, 7), open_file(1, '"http://morvane.example/a b"'))
    app.click(ids.IDC_START1)
    starts = app.recorder.wait_for_launches(1)
    assert starts[0].args == ["http://morvane.example/a b"]


# Command texts the program refuses without asking the shell. Each refused
# target would start a recorder if the shell were asked: next to the
# program or in the working directory C:\ (bare names), in C:\tools2 (260
# bytes), or through the http association (upper-case scheme).
REFUSED = {
    "unclosed-quote": f'"{RECORDER_PATH} refused',
    "text-glued-to-quote": f'"{RECORDER_PATH}"/refused',
    "tab-after-quote": f'"{RECORDER_PATH}"\trefused',
    "two-quotes-only": '""',
    "bare-program-name": "recorder.exe refused",
    "quoted-bare-name": '"recorder.exe" refused',
    "target-of-260-bytes": '"' + padded_path(r"C:\tools2", 260) + '" refused',
    "upper-case-scheme": "HTTP://morvane.example/refused",
    "empty": "",
}


@pytest.mark.parametrize("command", REFUSED.values(), ids=REFUSED.keys())
def test_a_refused_command_does_nothing(machine, command):
    logs = [install_recorder(machine, path) for path in
            (r"C:\Program Files\Kelvaro\recorder.exe", r"C:\recorder.exe", r"C:\tools2\recorder.exe")]
    open_web_addresses_with_the_recorder(machine)
    app = launch_with(machine, timer(1, 7), timer(2, 8, value=2000), open_file(1, command),
                      open_file(2, marker_command()))
    start_together(app, ids.IDC_START1, ids.IDC_START2)
    app.recorder.wait_for_launches(1)
    wait_until_stopped(app, ids.IDC_START2)
    assert [start.args for start in app.recorder.launches()] == [[MARKER]]
    assert all(launches(machine, log) == [] for log in logs)
    # The refused timer stopped like any other.
    assert app.text(ids.IDC_VALUE1) == "1s"
    assert app.is_enabled(ids.IDC_VALUE1)


@pytest.mark.locale("ja_JP.UTF-8")
def test_double_byte_paths_reach_the_shell_whole(machine):
    assert machine.code_page == 932
    # The second byte of the folder's first character is 0x5C, a backslash.
    folder = "C:\\\u8868\u793a"
    assert machine.encode(folder)[3:5] == b"\x95\x5c"
    log = install_recorder(machine, folder + "\\recorder.exe")
    command = f'"{folder}\\recorder.exe" "\u5f15\u6570 \u8868" \u8868'
    app = launch_with(machine, timer(1, 7), open_file(1, command))
    app.click(ids.IDC_START1)
    (launch,) = app.wait_for(lambda: launches(machine, log), message="the event's program")
    assert launch.args == ["\u5f15\u6570 \u8868", "\u8868"]
    assert launch.cwd == "C:\\"


BUILT_IN = {1: ids.IDW_EVENT1, 2: ids.IDW_EVENT2, 3: ids.IDW_EVENT3}


@pytest.mark.sound
@pytest.mark.parametrize("event", BUILT_IN, ids=[f"built-in-{event}" for event in BUILT_IN])
def test_built_in_sound_events_play_their_wave(machine, event):
    app = launch_with(machine, timer(1, event))
    app.click(ids.IDC_START1)
    wait_until_stopped(app, ids.IDC_START1)
    # The first sound lasts most of a minute: recognising its beginning is enough.
    app.wait_for(lambda: app.sounds.played() == [ids.IDW_START, BUILT_IN[event]], message="the event's sound")


@pytest.mark.sound
@pytest.mark.parametrize("quoted", [True, False], ids=["quoted", "unquoted"])
def test_external_sound_event_plays_its_file(machine, quoted):
    path = r"C:\My Sounds\bell tone.wav"
    write_tone(machine.unix_path(path))
    machine.sounds.add_reference("bell", machine.unix_path(path))
    app = launch_with(machine, timer(1, 4), external_sound(1, f'"{path}"' if quoted else path))
    app.click(ids.IDC_START1)
    wait_until_stopped(app, ids.IDC_START1)
    app.wait_for(lambda: app.sounds.played() == [ids.IDW_START, "bell"], message="the file's sound")

