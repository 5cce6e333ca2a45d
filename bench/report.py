#!/usr/bin/env python3
"""Reads the JSON results of the benchmark programs and prints each figure beside its budget.

usage: report.py RESULT.json... [--markdown FILE]
In-process figures are CPU time (the machine may be shared while they run); start-up and the real
program are measured from outside, on the wall clock.
"""
import json
import re
import sys

MB = 1e6


def cpu(b):
    return b["cpu_time"] * UNIT[b.get("time_unit", "ns")]


def wall(b):
    return b["real_time"] * UNIT[b.get("time_unit", "ns")]


UNIT = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}


def ms(seconds):
    return f"{seconds * 1e3:.3g} ms"


# what, benchmarks it needs, figure(results) -> (value, text, wall text), budget text, met(value)
ROWS = [
    ("receiver with dispatch on a stream of live and status frames",
     ["BM_ReceiverWithDispatch"],
     lambda r: (r[0]["bytes_per_second"] / MB, f"{r[0]['bytes_per_second'] / MB:.0f} MB/s",
                f"{r[0]['bytes_per_second'] * cpu(r[0]) / wall(r[0]) / MB:.0f} MB/s"),
     "at least 200 MB/s", lambda v: v >= 200),
    ("`DispatchFrame` of one live report",
     ["BM_DispatchLiveReport"],
     lambda r: (cpu(r[0]) * 1e9, f"{cpu(r[0]) * 1e9:.1f} ns", f"{wall(r[0]) * 1e9:.1f} ns"),
     "under 100 ns", lambda v: v < 100),
    ("one worker pass, every handler bound to the real window, twelve live values changed, Status page shown",
     ["BM_WorkerPassStatusPage"],
     lambda r: (cpu(r[0]), ms(cpu(r[0])), ms(wall(r[0]))),
     "under 1 ms", lambda v: v < 1e-3),
    ("the same pass with the repaint it causes (for information)",
     ["BM_WorkerPassWithRepaint"],
     lambda r: (cpu(r[0]), ms(cpu(r[0])), ms(wall(r[0]))),
     "-", None),
    ("ten simulated seconds of a full line on the Status page, every repaint included (for information)",
     ["BM_StatusPageOnFullLine"],
     lambda r: (cpu(r[0]) / 10,
                f"{ms(cpu(r[0]) / 10)} a second, {r[0]['widgets_painted_per_second']:.0f} widgets painted a second",
                ms(wall(r[0]) / 10)),
     "-", None),
    ("the Status page on a full line with every repaint, at 1920 x 1080 against the default size",
     ["BM_StatusPageRepaintAtSize/1", "BM_StatusPageRepaintAtSize/0"],
     lambda r: (cpu(r[0]) / cpu(r[1]), f"{cpu(r[0]) / cpu(r[1]):.2f} ({ms(cpu(r[0]) / 10)} vs {ms(cpu(r[1]) / 10)} a second)",
                f"{wall(r[0]) / wall(r[1]):.2f}"),
     "ratio under 2", lambda v: v < 2),
    ("drawing the Graphic page with 288,000 samples a series, against 300",
     ["BM_DrawGraphicPage/288000", "BM_DrawGraphicPage/300"],
     lambda r: (cpu(r[0]) / cpu(r[1]), f"{cpu(r[0]) / cpu(r[1]):.2f} ({ms(cpu(r[0]))} vs {ms(cpu(r[1]))})",
                f"{wall(r[0]) / wall(r[1]):.2f}"),
     "ratio under 1.2", lambda v: v < 1.2),
    ("the real program connected to `ecusim` at full line rate for 60 s, Status page shown "
     "(CPU time over wall time)",
     ["BM_ProgramOnStreamingEcu/60"],
     lambda r: (r[0]["cpu_percent"],
                f"{r[0]['cpu_percent']:.2f} % of one core, reading {r[0].get('read_bytes_per_second', 0):.0f} B/s",
                f"ecusim {r[0]['ecusim_cpu_percent']:.2f} %"),
     "under 3 % of one core", lambda v: v < 3),
    ("the same run, median of six windows corrected by a fixed loop's speed in each (raw spread beside)",
     ["BM_ProgramOnStreamingEcu/60"],
     lambda r: (r[0].get("cpu_percent_corrected", float("nan")),
                f"{r[0].get('cpu_percent_corrected', float('nan')):.2f} % of one core",
                f"raw {r[0].get('cpu_percent_raw_min', float('nan')):.2f} to "
                f"{r[0].get('cpu_percent_raw_max', float('nan')):.2f} %, "
                f"loop speed spread {r[0].get('calibration_spread', float('nan')):.2f}x"),
     "under 1.2 %", lambda v: v < 1.2),
    ("the same run: main-thread wake-ups a second (voluntary context switches)",
     ["BM_ProgramOnStreamingEcu/60"],
     lambda r: (r[0].get("wakeups_per_second", float("nan")),
                f"{r[0].get('wakeups_per_second', float('nan')):.0f} a second", "-"),
     "under 60", lambda v: v < 60),
    ("the same run: resident memory growth over the measured minute",
     ["BM_ProgramOnStreamingEcu/60"],
     lambda r: (r[0].get("rss_growth_kb", float("nan")),
                f"{r[0].get('rss_growth_kb', float('nan')):.0f} kB (of {r[0].get('rss_kb', 0) / 1024:.1f} MB)",
                "-"),
     "under 1 MB", lambda v: v < 1024),
    ("latency from a live report's last byte to its value on screen (median / 99th percentile)",
     ["BM_LiveReportToScreenLatency"],
     lambda r: (r[0]["p99_ms"], f"{r[0]['median_ms']:.1f} ms / {r[0]['p99_ms']:.1f} ms", "-"),
     "under 30 ms / under 60 ms", lambda v: v < 60),
    ("the real program on the Graphic page, all four curves shown (CPU / wake-ups a second)",
     ["BM_ProgramOnGraphicPage/60"],
     lambda r: (r[0]["cpu_percent_corrected"],
                f"{r[0]['cpu_percent_corrected']:.2f} % / {r[0]['wakeups_per_second']:.0f}", "-"),
     "under 2 % and under 70", None),
    ("start-up to the first painted window",
     ["BM_StartUpToFirstPaint"],
     lambda r: (wall(r[0]), ms(wall(r[0])), ms(wall(r[0]))),
     "under 0.5 s", lambda v: v < 0.5),
    ("building the port list (0 to 254)",
     ["BM_BuildPortList"],
     lambda r: (cpu(r[0]), f"{ms(cpu(r[0]))} ({r[0].get('ports_listed', 0):.0f} ports listed)", ms(wall(r[0]))),
     "under 0.2 s", lambda v: v < 0.2),
]


def key(name):
    """The benchmark's name without the suffixes Google Benchmark adds for fixed settings."""
    return re.sub(r"/(iterations:\d+|manual_time|real_time)", "", name)


def load(paths):
    results = {}
    for path in paths:
        try:
            with open(path, encoding="utf-8") as f:
                data = json.load(f)
        except (OSError, ValueError) as e:
            print(f"{path}: {e}", file=sys.stderr)
            continue
        for b in data.get("benchmarks", []):
            if b.get("run_type", "iteration") == "iteration":
                results[key(b["name"])] = b
    return results


def table(results):
    lines = ["| what | figure | wall clock | budget | verdict |", "|---|---|---|---|---|"]
    for what, names, figure, budget, met in ROWS:
        found = [results.get(n) for n in names]
        if any(b is None for b in found):
            lines.append(f"| {what} | not measured | | {budget} | - |")
            continue
        errors = [b.get("error_message") for b in found if b.get("error_occurred")]
        if errors:
            lines.append(f"| {what} | failed: {errors[0]} | | {budget} | - |")
            continue
        value, text, wall_text = figure(found)
        verdict = "-" if met is None else ("met" if met(value) else "**missed**")
        lines.append(f"| {what} | {text} | {wall_text} | {budget} | {verdict} |")
    return "\n".join(lines)


def main(argv):
    markdown = None
    paths = []
    args = iter(argv)
    for a in args:
        if a == "--markdown":
            markdown = next(args, None)
        else:
            paths.append(a)
    text = table(load(paths))
    print(text)
    if markdown:
        with open(markdown, "w", encoding="utf-8") as f:
            f.write(text + "\n")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
