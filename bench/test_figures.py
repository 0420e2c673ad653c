"""The benchmark's arithmetic: `/usr/bin/python3 -m pytest bench/test_figures.py`
(not part of the project's test command; nothing here needs Wine)."""

import pytest

import figures


def test_summary_median_quartiles_and_extremes():
    summary = figures.Summary([9, 1, 5, 3, 7])
    assert (summary.median, summary.low, summary.high, summary.count) == (5, 1, 9, 5)
    assert (summary.q1, summary.q3) == (3, 7)
    even = figures.Summary([4, 1, 3, 2])
    assert even.median == 2.5
    assert even.q1 == pytest.approx(1.75)
    assert figures.Summary([42]).p90 == 42
    with pytest.raises(ValueError):
        figures.Summary([])


@pytest.mark.parametrize("recorder, before, after, duration, expected", [
    (11150, 10000, 10016, 1000, (134, 150)),              # bracketed by one tick step
    (10950, 10000, 10000, 1000, (-50, -50)),              # an event before the end shows as negative
    (0x00000100, 0xFFFFFF00, 0xFFFFFF10, 256, (240, 256)),  # across the 49.7-day wrap
])
def test_time_up_delay_bounds(recorder, before, after, duration, expected):
    assert figures.time_up_delay(recorder, before, after, duration) == expected


def test_stat_cpu_ticks_reads_past_a_command_name_with_spaces_and_parentheses():
    fields = " ".join(str(number) for number in range(4, 53))
    text = f"1234 (C:\\Program Files (x86)\\a b.exe) S {fields}"
    # Field 14 (utime) is 14 and field 15 (stime) is 15 in this made-up line.
    assert figures.stat_cpu_ticks(text) == 14 + 15


def test_cpu_and_switch_counts_from_proc_texts():
    assert figures.scheduled_ns(["1500 20 3\n", "", "500 1 1\n"]) == 2000
    status = "Name:\tKelvaro.exe\nRssAnon:\t  9320 kB\nvoluntary_ctxt_switches:\t351\nnonvoluntary_ctxt_switches:\t4\n"
    assert figures.status_fields(status)["RssAnon"] == 9320 * 1024
    assert figures.context_switches(status) == 355


def test_resource_sizes_sum_by_type_with_names_for_numbered_types():
    listing = "\n".join([
        "--type='WAVE' --name=130 --language=1033 [offset=0x7d228 size=11070]",
        "--type='WAVE' --name=144 --language=1033 [offset=0x7fd68 size=12172]",
        "--type=3 --name=1 --language=1033 [type=icon offset=0x1d29b8 size=9640]",
        "--type=24 --name=1 --language=1033 [offset=0x1 size=808]",
        "--type=99 --name=7 --language=1033 [offset=0x2 size=5]",
        "not a resource line",
    ])
    assert figures.resource_sizes(listing) == {"WAVE": 23242, "icon": 9640, "manifest": 808, "99": 5}


def test_spread_and_table_formatting():
    assert figures.format_spread(figures.Summary([1000, 2000, 3000])) == "2,000 (IQR 1,500-2,500; 1,000-3,000)"
    assert figures.format_spread(figures.Summary([9.125]), 2) == "9.12"
    assert figures.format_spread(None) == "-"
    assert figures.ratio(3, 0) is None
    table = figures.markdown_table(["a", "b"], [[1, "x"]])
    assert table.splitlines() == ["| a | b |", "|---|---|", "| 1 | x |"]
