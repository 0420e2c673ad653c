"""The resources of the built Kelvaro.exe, read with independent tools
(wrestool, icotool, peres, soxi, objdump, fontTools), not with the program."""

import io
import re
import struct
import subprocess
from xml.etree import ElementTree

import pytest

from harness.app import KELVARO_EXE, PREFIX_ARCH

ICON_GROUPS = {101, 133, 134, 135, 136, 137, 139, 140, 141, 142, 144, 145, 146, 148, 149, 150, 153, 154, 155, 158,
               171, 176, 177, 179, 180,
               181, 182, 183}   # a paused timer's button; the pause and repeat menu entries
# Groups shown at 32 px somewhere; the others only at 16 px. Each needs an
# image drawn for its size at 100, 125, 150 and 200 % display scale.
LARGE_ICON_GROUPS = {101, 133, 134, 136, 137, 139, 140, 141, 142, 145, 153, 158, 171, 181}
SMALL_SIZES = {16, 20, 24, 32}
LARGE_SIZES = {32, 40, 48, 64}

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

# What Windows 7 to 11 all list under HKLM\SYSTEM\CurrentControlSet\Control\
# Session Manager\KnownDLLs (and ntdll.dll, mapped before any of them): an
# import of these always comes from the system folder, never from the
# program's folder or a planted copy.
KNOWN_DLLS = {"advapi32.dll", "clbcatq.dll", "comdlg32.dll", "gdi32.dll", "imagehlp.dll", "imm32.dll",
              "kernel32.dll", "msctf.dll", "msvcrt.dll", "normaliz.dll", "nsi.dll", "ntdll.dll", "ole32.dll",
              "oleaut32.dll", "psapi.dll", "rpcrt4.dll", "sechost.dll", "setupapi.dll", "shell32.dll",
              "shlwapi.dll", "user32.dll", "wldap32.dll", "ws2_32.dll"}


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


def test_manifest_declares_dpi_awareness_and_every_supported_system(exe):
    root = ElementTree.fromstring(resource(exe, 24, 1))
    def texts(tag):
        return [element.text.strip() for element in root.iter() if element.tag.endswith("}" + tag)]
    assert texts("dpiAwareness") == ["PerMonitorV2, PerMonitor"]
    assert texts("dpiAware") == ["true/pm"]
    systems = {element.get("Id") for element in root.iter() if element.tag.endswith("}supportedOS")}
    assert systems == {"{e2011457-1546-43c5-a5fe-008deee3d3f0}", "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",
                       "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}", "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",
                       "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"}   # Vista to 10 and 11
    identity = next(element for element in root if element.tag.endswith("}assemblyIdentity"))
    architecture = "amd64" if PREFIX_ARCH == "win64" else "X86"
    assert identity.get("name") == "Morvane.Kelvaro" and identity.get("processorArchitecture") == architecture
    level = next(element for element in root.iter() if element.tag.endswith("}requestedExecutionLevel"))
    assert (level.get("level"), level.get("uiAccess")) == ("asInvoker", "false")


def test_icon_groups_and_cursor_are_all_there(exe, tmp_path):
    names = listed(exe)
    groups = {int(name) for type, name in names if type == "14"}
    assert groups == ICON_GROUPS
    assert ("12", "165") in names
    for group in sorted(ICON_GROUPS):
        icon = tmp_path / f"{group}.ico"
        icon.write_bytes(run("wrestool", "-x", "--type=14", f"--name={group}", exe))
        images = run("icotool", "-l", str(icon)).decode().splitlines()
        sizes = {int(width) for width, height in (re.search(r"--width=(\d+) --height=(\d+)", line).groups()
                                                  for line in images) if width == height}
        wanted = SMALL_SIZES | (LARGE_SIZES if group in LARGE_ICON_GROUPS else set())
        assert wanted <= sizes, f"icon group {group} lacks {sorted(wanted - sizes)} px"
    # A cursor group: header type 2 and an image for 32 px and each scale of
    # it. (icotool rejects wrestool's rebuilt .cur, whose sizes count the hot spot.)
    directory = resource(exe, 12, 165)
    reserved, kind, count = struct.unpack("<3H", directory[:6])
    assert (reserved, kind) == (0, 2)
    assert {struct.unpack("<H", directory[6 + 14 * index:8 + 14 * index])[0] for index in range(count)} == LARGE_SIZES


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
    objdump = "x86_64-w64-mingw32-objdump" if PREFIX_ARCH == "win64" else "i686-w64-mingw32-objdump"
    dump = run(objdump, "-p", exe).decode("latin-1")
    imported = {name.lower() for name in re.findall(r"DLL Name: (\S+)", dump)}
    assert imported, "no imports found"
    assert not {name for name in imported if name.startswith("lib")}
    assert imported <= SYSTEM_DLLS, imported - SYSTEM_DLLS


@pytest.mark.x64
def test_imports_only_known_dlls(exe):
    # The x64 tools read both kinds of program file.
    dump = run("x86_64-w64-mingw32-objdump", "-p", exe).decode("latin-1")
    imported = {name.lower() for name in re.findall(r"DLL Name: (\S+)", dump)}
    assert imported and imported <= KNOWN_DLLS, imported - KNOWN_DLLS
