"""The resources of the built Kelvaro.exe, read with independent tools
(wrestool, icotool, peres, soxi, objdump, fontTools), not with the program."""

import io
import re
import struct
import subprocess

import pytest

from harness.app import KELVARO_EXE

ICON_GROUPS = {101, 133, 134, 135, 136, 137, 139, 140, 141, 142, 144, 145, 146, 148, 149, 150, 153, 154, 155, 158,
               171, 176, 177, 179, 180}

# id: (channels, rate, bits, seconds, tolerance in seconds); None: any length
WAVES = {
    172: (1, 22050, 8, 0.55, 0.01),
    174: (1, 22050, 8, 0.57, 0.01),
    147: (1, 22050, 8, 0.45, 0.01),
    144: (1, 22050, 8, 0.55, 0.01),
    167: (1, 22050, 8, 0.57, 0.01),
    178: (1, 22050, 16, 1.66, 0.01),
    156: (2, 11025, 8, 51.8, 0.1),
    157: (1, 22050, 16, 1.0, 0.01),
    158: (1, 22050, 16, 0.7, 0.01),
    130: (1, 22050, 8, None, None),
    159: (1, 22050, 8, None, None),
    160: (1, 22050, 8, None, None),
    163: (1, 22050, 8, None, None),
}

SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "comdlg32.dll", "comctl32.dll", "shell32.dll",
               "shlwapi.dll", "ole32.dll", "oleaut32.dll", "winmm.dll", "version.dll", "advapi32.dll", "msvcrt.dll",
               "uxtheme.dll", "dwmapi.dll", "imm32.dll"}


@pytest.fixture(scope="module")
def exe():
    if not KELVARO_EXE.exists():
        pytest.fail(f"build the program first (scripts/build.sh win): {KELVARO_EXE} is missing", pytrace=False)
    return str(KELVARO_EXE)


def run(*command):
    return subprocess.run(command, stdout=subprocess.PIPE, stderr=subprocess.PIPE, check=True, timeout=120).stdout


def resource(exe, type, name=None):
    """The raw bytes of one resource, extracted by wrestool."""
    command = ["wrestool", "-x", "-R", f"--type={type}"] + ([f"--name={name}"] if name is not None else []) + [exe]
    data = run(*command)
    assert data, f"no resource of type {type} named {name}"
    return data


def listed(exe):
    """(type, name) of every resource in wrestool's listing."""
    listing = run("wrestool", "-l", exe).decode("latin-1")
    return set(re.findall(r"--type='?([^' ]+)'? --name='?([^' ]+)'?", listing))


def test_version_block_is_3_1_0_0(exe):
    block = resource(exe, 16, 1)
    at = block.find(struct.pack("<I", 0xFEEF04BD))
    assert at >= 0, "no VS_FIXEDFILEINFO in the version resource"
    file_ms, file_ls, product_ms, product_ls = struct.unpack("<4I", block[at + 8:at + 24])
    def version(ms, ls):
        return (ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF)
    assert version(file_ms, file_ls) == (3, 1, 0, 0)
    assert version(product_ms, product_ls) == (3, 1, 0, 0)


def test_manifest_asks_for_common_controls_6(exe):
    manifest = resource(exe, 24, 1).decode("utf-8")
    dependency = re.search(r'<assemblyIdentity[^>]*name="Microsoft\.Windows\.Common-Controls"[^>]*>', manifest)
    assert dependency, manifest
    assert 'version="6.0.0.0"' in dependency.group(0)


def test_icon_groups_and_cursor_are_all_there(exe, tmp_path):
    names = listed(exe)
    groups = {int(name) for type, name in names if type == "14"}
    assert groups == ICON_GROUPS
    assert ("12", "165") in names
    for group in sorted(ICON_GROUPS):
        icon = tmp_path / f"{group}.ico"
        icon.write_bytes(run("wrestool", "-x", "--type=14", f"--name={group}", exe))
        images = run("icotool", "-l", str(icon)).decode().splitlines()
        assert images, f"icon group {group} has no image"
    # A cursor group: header type 2 and at least one image. (icotool rejects
    # wrestool's rebuilt .cur, whose sizes count the hot spot.)
    reserved, kind, count = struct.unpack("<3H", resource(exe, 12, 165)[:6])
    assert (reserved, kind) == (0, 2) and count >= 1


@pytest.mark.parametrize("wave_id", sorted(WAVES))
def test_wave_resource_format(exe, tmp_path, wave_id):
    channels, rate, bits, seconds, tolerance = WAVES[wave_id]
    path = tmp_path / f"{wave_id}.wav"
    path.write_bytes(resource(exe, "WAVE", wave_id))
    def soxi(option):
        return run("soxi", option, str(path)).decode().strip()
    assert "PCM" in soxi("-e")
    assert int(soxi("-c")) == channels
    assert int(soxi("-r")) == rate
    assert int(soxi("-b")) == bits
    if seconds is not None:
        assert abs(float(soxi("-D")) - seconds) <= tolerance


def test_wave_resources_are_exactly_the_thirteen(exe):
    assert {int(name) for type, name in listed(exe) if type == "WAVE"} == set(WAVES)


def test_private_font_is_segoe_ui(exe):
    try:
        from fontTools.ttLib import TTFont
    except ImportError:
        pytest.fail("python3-fonttools is needed to read the font (apt-get install python3-fonttools)")
    listing = run("peres", "-l", exe).decode("latin-1")
    assert re.search(r"^PRIVATE_FONT SEGOEUI\.TTF ", listing, re.MULTILINE), "no PRIVATE_FONT named SEGOEUI.TTF"
    font = TTFont(io.BytesIO(resource(exe, "PRIVATE_FONT")))
    assert font["name"].getDebugName(1) == "Segoe UI"


def test_imports_only_system_dlls(exe):
    dump = run("i686-w64-mingw32-objdump", "-p", exe).decode("latin-1")
    imported = {name.lower() for name in re.findall(r"DLL Name: (\S+)", dump)}
    assert imported, "no imports found"
    assert not {name for name in imported if name.startswith("lib")}
    assert imported <= SYSTEM_DLLS, imported - SYSTEM_DLLS
