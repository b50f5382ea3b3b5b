#!/usr/bin/env python3
"""Prints bench/report's table from its figures file (lines "name value").

Each row: what was measured, our figure, the peer's figure or the limit,
their ratio where one makes sense, the target and whether it was met.
"""
import sys

# Growth that still counts as flat: memory over repeated calls, and the
# peak of a large capture over the peak of a small fetch.
FLAT_REPEAT_KIB = 256
FLAT_CAPTURE_KIB = 1024
# How late a fetch may end after its deadline: the deadline timer's tick is
# handled on the next pass of the message loop.
DEADLINE_SLACK_S = 0.1


def load(path):
    figures = {}
    with open(path) as f:
        for line in f:
            name, _, value = line.strip().partition(" ")
            try:
                figures[name] = float(value)
            except ValueError:
                figures[name] = value
    return figures


def met(ok):
    return "yes" if ok else "NO"


def share_row(what, share, limit):
    """A CPU share against the limit its program printed; the program may
    fail."""
    if not isinstance(share, float):
        return (what, "no figure", "", "", "", "")
    if not isinstance(limit, float):
        return (what, f"{share:.2f} % of a core", "no limit printed", "", "", "")
    return (what, f"{share:.2f} % of a core", f"limit {limit:g} %", "", f"< {limit:g} %", met(share < limit))


def fetches(n):
    return f"{int(n)} fetch" + ("" if int(n) == 1 else "es")


def flaky_rows(f):
    """The follow mode against servers that never finish an answer."""
    if not isinstance(f.get("flaky_cap"), float):
        return [("follow mode against never-ending answers", "no figure", "", "", "", "")]
    cap, deadline = f["flaky_cap"], f["flaky_deadline_s"]
    largest, station = f["flaky_follow_file_max"], f["flaky_station_bytes"]
    rows = [(f"largest freq.ini, endless body ({fetches(f['flaky_endless_fetches'])})", f"{largest:.0f} bytes",
             f"station's file {station:.0f} bytes", "", "unchanged", met(largest == station)),
            ("largest part file in those fetches", f"{f['flaky_part_file_max']:.0f} bytes", f"cap {cap:.0f} bytes",
             "", "(none set)", "")]
    for key, what in (("header_drip", "a header line every 2 s"), ("body_drip", "a body byte every 0.5 s")):
        longest, limit = f[f"flaky_{key}_longest_s"], deadline + DEADLINE_SLACK_S
        rows.append((f"longest fetch, {what} ({fetches(f[f'flaky_{key}_fetches'])})", f"{longest:.3f} s",
                     f"deadline {deadline:g} s", "", f"<= {limit:g} s", met(longest <= limit)))
    return rows


def serve_rows(f):
    """The rig-control port against rigctld's dummy rig, from the same run."""
    if not isinstance(f.get("rigctl_ours_ms"), float):
        return [("rig-control port against rigctld -m 1", "no figure", "", "", "", "")]
    clients, rate = int(f["serve_clients"]), int(f["serve_rate"])
    ours, theirs = f["rigctl_ours_ms"], f["rigctl_theirs_ms"]
    rows = [(f"rigctl f round trip, one process each (median of {int(f['serve_runs'])})", f"{ours:.1f} ms",
             f"rigctld -m 1 {theirs:.1f} ms", f"{ours / theirs:.2f}x", "(none set)", "")]
    plus_ours, plus_theirs = f["plusf_ours_ms"], f["plusf_theirs_ms"]
    rows.append((f"+f answer time on a kept connection (median of {int(f['serve_runs'])})", f"{plus_ours:.3f} ms",
                 f"rigctld -m 1 {plus_theirs:.3f} ms", f"{plus_ours / plus_theirs:.2f}x", "(none set)", ""))
    idle = f["serve_idle_ours_pct"]
    rows.append((f"CPU, panel with both servers idle, {int(f['serve_idle_s'])} s", f"{idle:.2f} % of a core",
                  f"rigctld -m 1 {f['serve_idle_theirs_pct']:.2f} %", "", "< 1 %", met(idle < 1)))
    rows.append((f"CPU, {clients} clients each polling f {rate}/s, {int(f['serve_load_s'])} s",
                 f"{f['serve_load_ours_pct']:.2f} % of a core", f"rigctld -m 1 {f['serve_load_theirs_pct']:.2f} %",
                 "", "(none set)", ""))
    rows.append((f"answer time of those polls ({int(f['serve_load_ours_answers'])} answers), median / largest",
                 f"{f['serve_load_ours_ms']:.2f} / {f['serve_load_ours_max_ms']:.1f} ms",
                 f"rigctld -m 1 {f['serve_load_theirs_ms']:.2f} / {f['serve_load_theirs_max_ms']:.1f} ms",
                 "", "(none set)", ""))
    rows.extend(feed_rows(f))
    return rows


def feed_rows(f):
    """The state feed under ab beside nginx serving a 4-line file."""
    if not isinstance(f.get("feed_ours_rps"), float):
        return [("state feed under ab against nginx", "no figure", "", "", "", "")]
    clients, seconds = int(f["feed_clients"]), f["feed_s"]
    ours, theirs = f["feed_ours_rps"], f["feed_nginx_rps"]
    times = lambda who: " / ".join(str(int(f[f"feed_{who}_p{p}_ms"])) for p in (50, 90, 99, 100))
    late = f["feed_tick_late_ms"]
    return [
        (f"state feed, {clients} clients at once, a connection per request ({seconds:g} s each, "
         f"{int(f['feed_ours_requests'])} requests, {int(f['feed_ours_failed'])} failed)", f"{ours:.0f} req/s",
         f"nginx {theirs:.0f} req/s",
         f"{ours / theirs:.2f}x", "(none set)", ""),
        ("answer time under that load, 50 / 90 / 99 / 100 %", f"{times('ours')} ms", f"nginx {times('nginx')} ms",
         "", "(none set)", ""),
        (f"Timer1's largest delay meanwhile ({int(f['feed_ticks'])} ticks)", f"{late:.1f} ms", "", "", "<= 100 ms",
         met(0 <= late <= 100)),
    ]


def replug_rows(f):
    """The simulated radio unplugged and plugged in again under the panel."""
    if not isinstance(f.get("replug_replug_ms_max"), float):
        return [("radio unplugged and plugged in again", "no figure", "", "", "", "")]
    cycles, clicks = int(f["replug_cycles"]), int(f["replug_clicks_away"])
    longest, slowest = f["replug_replug_ms_max"], f["replug_click_away_us_max"]
    gone, back = int(f.get("replug_gone_lines", 0)), int(f.get("replug_back_lines", 0))
    return [(f"replug to the panel's state sent ({cycles} replugs), median / largest",
             f"{f['replug_replug_ms_median']:.0f} / {longest:.0f} ms", "limit 2000 ms", "", "< 2 s", met(longest < 2000)),
            (f"click while the radio is away ({clicks} clicks), median / largest",
             f"{f['replug_click_away_us_median']:.1f} / {slowest:.1f} us",
             f"SET with the radio there {f['replug_click_present_us_median']:.1f} us", "", "< 10 ms",
             met(slowest < 10000)),
            ("radio lines on stderr, gone / back", f"{gone} / {back}", f"{cycles} replugs", "", "one each per replug",
             met(gone == cycles and back == cycles))]


def rows(f):
    runs, many, big_mib, big_runs = int(f["runs"]), int(f["many"]), int(f["big_mib"]), int(f["big_runs"])
    size = f"{big_mib // 1024} GiB" if big_mib >= 1024 else f"{big_mib} MiB"
    out = []

    ours, curl = f["get1_ours_wall"] / runs * 1e3, f["get1_curl_wall"] / runs * 1e3
    out.append((f"GET latency, one GET per process ({runs} runs)", f"{ours:.2f} ms", f"curl {curl:.2f} ms",
                f"{ours / curl:.2f}x", "<= 1.0x curl", met(ours <= curl)))
    calls = many * int(f["many_runs"])
    ours, curl = calls / f["getn_ours_wall"], calls / f["getn_curl_wall"]
    out.append((f"GET throughput, {many} GETs in one process", f"{ours:.0f} /s", f"curl {curl:.0f} /s",
                f"{ours / curl:.2f}x", "(none set)", ""))

    mib = big_mib * big_runs
    ours, curl, copy = mib / f["big_ours_wall"], mib / f["big_curl_wall"], mib / f["big_copy_wall"]
    out.append((f"capture of {size} to a file", f"{ours:.0f} MiB/s", f"curl {curl:.0f} MiB/s",
                f"{ours / curl:.2f}x", ">= 1.0x curl", met(ours >= curl)))
    t_ours, t_copy = f["big_ours_wall"] / big_runs, f["big_copy_wall"] / big_runs
    out.append((f"capture of {size}, time against a file copy", f"{t_ours:.2f} s",
                f"dd copy {t_copy:.2f} s", f"{t_ours / t_copy:.2f}x", "<= 1.3x copy", met(t_ours <= 1.3 * t_copy)))
    out.append((f"CPU per capture of {size}", f"{f['big_ours_cpu'] / big_runs:.2f} s",
                f"curl {f['big_curl_cpu'] / big_runs:.2f} s",
                f"{f['big_ours_cpu'] / f['big_curl_cpu']:.2f}x", "(none set)", ""))

    out.append(share_row("CPU, ReadLn waiting 2 s on a silent server", f["wait_pct"], f.get("wait_limit")))
    out.append(share_row(f"CPU, idle message loop, 1000 ms timer, {int(f['idle_s'])} s", f["idle_pct"],
                         f.get("idle_limit")))
    ticks = int(f.get("follow_ticks", 0))
    follow = f.get("follow_cpu_pct", float("nan"))
    out.append((f"CPU, idle follow mode, 1 tick/s for {int(f['follow_s'])} s ({ticks} ticks)",
                f"{follow:.2f} % of a core", "limit 1 %", "", "< 1 %", met(follow < 1 and ticks > 0)))

    out.extend(flaky_rows(f))
    out.extend(serve_rows(f))
    out.extend(replug_rows(f))

    peak, small, curl_peak = f["big_ours_peak"], f["get1_ours_peak"], f["big_curl_peak"]
    out.append((f"peak memory during the {size} capture", f"{peak:.0f} KiB", f"one small GET {small:.0f} KiB",
                f"{peak - small:+.0f} KiB", f"flat (<= +{FLAT_CAPTURE_KIB} KiB)",
                met(peak - small <= FLAT_CAPTURE_KIB)))
    out.append((f"peak memory during the {size} capture", f"{peak:.0f} KiB", f"curl {curl_peak:.0f} KiB",
                f"{peak / curl_peak:.2f}x", "(none set)", ""))
    for prefix, what in (("getsoak", f"{many} GETs in one process"), ("follow", "the follow run")):
        first, last = f.get(f"{prefix}_rss_kib_first", 0), f.get(f"{prefix}_rss_kib_last", 0)
        out.append((f"resident memory over {what}", f"{first:.0f} -> {last:.0f} KiB", "first -> last",
                    f"{last - first:+.0f} KiB", f"flat (<= +{FLAT_REPEAT_KIB} KiB)",
                    met(last - first <= FLAT_REPEAT_KIB)))
        first, last = f.get(f"{prefix}_fds_first", -1), f.get(f"{prefix}_fds_last", -2)
        out.append((f"open descriptors over {what}", f"{first:.0f} -> {last:.0f}", "first -> last",
                    f"{last - first:+.0f}", "flat (+0)", met(first == last)))
    errors = f.get("getsoak_errors", 1) + f.get("follow_errors", 1) + f.get("follow_error_boxes", 1)
    out.append(("errors in the GET and follow runs above", f"{errors:.0f}", "", "", "0", met(errors == 0)))
    unexpected = f.get("flaky_unexpected", 1)
    out.append(("fetches of a never-ending answer that did not fail", f"{unexpected:.0f}", "", "", "0",
                met(unexpected == 0)))
    return out


def main():
    table = rows(load(sys.argv[1]))
    head = ("figure", "ravolin", "peer or limit", "ratio", "target", "met")
    widths = [max(len(r[i]) for r in [head, *table]) for i in range(len(head))]
    line = lambda r: "| " + " | ".join(c.ljust(w) for c, w in zip(r, widths)) + " |"
    print(line(head))
    print("|" + "|".join("-" * (w + 2) for w in widths) + "|")
    for r in table:
        print(line(r))


if __name__ == "__main__":
    main()
