"""The arithmetic of the benchmark, apart from Wine and processes: summaries
of samples, the time-up delay from tick counts, CPU and memory figures read
from /proc texts, resource sizes from a wrestool listing, and the table."""

import re
import statistics

MIB = 1024 * 1024


# ---------------------------------------------------------------- samples

class Summary:
    """Median and spread of a list of numbers."""

    def __init__(self, values):
        values = sorted(values)
        if not values:
            raise ValueError("no samples")
        self.values = values
        self.count = len(values)
        self.median = statistics.median(values)
        self.low = values[0]
        self.high = values[-1]
        self.q1 = percentile(values, 25)
        self.q3 = percentile(values, 75)
        self.p90 = percentile(values, 90)


def percentile(sorted_values, percent):
    """Linear interpolation between the closest ranks, as most tools do it."""
    if len(sorted_values) == 1:
        return sorted_values[0]
    position = (len(sorted_values) - 1) * percent / 100
    below = int(position)
    above = min(below + 1, len(sorted_values) - 1)
    return sorted_values[below] + (sorted_values[above] - sorted_values[below]) * (position - below)


def ratio(numerator, denominator):
    return None if not denominator else numerator / denominator


# ---------------------------------------------------------------- time-up delay

def unsigned_difference(later, earlier):
    """later - earlier of two 32-bit tick counts, across their wrap."""
    return (later - earlier) & 0xFFFFFFFF


def signed_tick_difference(later, earlier):
    difference = unsigned_difference(later, earlier)
    return difference - 0x100000000 if difference >= 0x80000000 else difference


def time_up_delay(recorder_tick, click_before, click_after, duration_ms):
    """(low, high) bounds of the delay from the exact end of a timer to the
    start of its event. The program reads its start tick inside the click,
    so somewhere between the two ticks the click was bracketed by."""
    high = signed_tick_difference(recorder_tick, click_before) - duration_ms
    low = signed_tick_difference(recorder_tick, click_after) - duration_ms
    return low, high


# ---------------------------------------------------------------- /proc

def scheduled_ns(schedstat_texts):
    """CPU time in nanoseconds summed over the threads' schedstat texts
    (first field: time spent on a CPU)."""
    return sum(int(text.split()[0]) for text in schedstat_texts if text.strip())


def stat_cpu_ticks(stat_text):
    """utime + stime of /proc/<pid>/stat in clock ticks. The command name
    may hold spaces and parentheses, so fields are counted after its end."""
    rest = stat_text[stat_text.rindex(")") + 2:].split()
    # rest[0] is field 3 (state); utime and stime are fields 14 and 15.
    return int(rest[11]) + int(rest[12])


def status_fields(status_text):
    """/proc/<pid>/status as {name: value}, sizes in bytes."""
    fields = {}
    for line in status_text.splitlines():
        name, _, value = line.partition(":")
        parts = value.split()
        if len(parts) == 2 and parts[1] == "kB":
            fields[name] = int(parts[0]) * 1024
        elif len(parts) == 1 and parts[0].isdigit():
            fields[name] = int(parts[0])
    return fields


def context_switches(status_text):
    fields = status_fields(status_text)
    return fields.get("voluntary_ctxt_switches", 0) + fields.get("nonvoluntary_ctxt_switches", 0)


# ---------------------------------------------------------------- resources

_RESOURCE_LINE = re.compile(r"--type=(?P<type>'[^']*'|\d+).*\bsize=(?P<size>\d+)\]")

RESOURCE_TYPE_NAMES = {"1": "cursor", "2": "bitmap", "3": "icon", "4": "menu", "5": "dialog", "6": "string table",
                       "12": "cursor group", "14": "icon group", "16": "version", "24": "manifest"}


def resource_sizes(listing):
    """{type name: total data bytes} from `wrestool -l` output."""
    sizes = {}
    for line in listing.splitlines():
        match = _RESOURCE_LINE.search(line)
        if match:
            kind = match.group("type").strip("'")
            kind = RESOURCE_TYPE_NAMES.get(kind, kind)
            sizes[kind] = sizes.get(kind, 0) + int(match.group("size"))
    return sizes


# ---------------------------------------------------------------- the table

def format_number(value, digits=0):
    if value is None:
        return "-"
    return f"{value:,.{digits}f}"


def format_spread(summary, digits=0):
    """median (IQR q1-q3; min-max), or the value alone when there is one."""
    if summary is None:
        return "-"
    if summary.count == 1:
        return format_number(summary.median, digits)
    return (f"{format_number(summary.median, digits)} "
            f"(IQR {format_number(summary.q1, digits)}-{format_number(summary.q3, digits)}; "
            f"{format_number(summary.low, digits)}-{format_number(summary.high, digits)})")


def markdown_table(header, rows):
    lines = ["| " + " | ".join(header) + " |", "|" + "|".join("---" for _ in header) + "|"]
    lines += ["| " + " | ".join(str(cell) for cell in row) + " |" for row in rows]
    return "\n".join(lines)
