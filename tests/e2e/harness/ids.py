"""Every id of res/resource.h as a module attribute (ids.IDC_START1, ...), read
from the header itself so that tests and program never disagree."""

import re
from pathlib import Path

RESOURCE_HEADER = Path(__file__).resolve().parents[3] / "res" / "resource.h"

_DEFINE = re.compile(r"^\s*#define\s+(I[A-Z]*_\w+|WM_\w+|ID_\w+)\s+(0[xX][0-9a-fA-F]+|-?\d+)\b", re.MULTILINE)


def read_ids(path=RESOURCE_HEADER):
    return {name: int(value, 0) for name, value in _DEFINE.findall(Path(path).read_text(encoding="ascii"))}


globals().update(read_ids())
