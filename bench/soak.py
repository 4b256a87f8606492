#!/usr/bin/env python3
"""The long run: the headless program against the local application server on a fast
schedule (a draw every second) for MINUTES minutes. Every minute it samples the
program's resident memory and CPU, and the latency of every draw the program showed:
the moment its "当前期号：" line came out, less the server's draw time of that period.
Writes BUILD/soak/soak.csv, BUILD/soak/soak.png and BUILD/soak/summary.txt.

usage: soak.py [MINUTES]   (default 30; BUILD from the environment, default "build")
"""

import csv
import datetime
import os
import re
import signal
import statistics
import subprocess
import sys
import tempfile
import threading
import time
import urllib.request

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), ".."))
BUILD = os.path.join(ROOT, os.environ.get("BUILD", "build"))
SERVER = os.path.join(BUILD, "appserver", "appserver")
PROGRAM = os.path.join(BUILD, "program", "Veltra吉林快3平刷和值大小")
INTERVAL = 1  # seconds between two draws of the server's fast day
PERIODS_PER_DAY = 82
TICKS = os.sysconf("SC_CLK_TCK")


def rss_kb(pid):
    with open("/proc/%d/status" % pid) as f:
        for line in f:
            if line.startswith("VmRSS:"):
                return int(line.split()[1])
    return 0


def cpu_seconds(pid):
    with open("/proc/%d/stat" % pid) as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / TICKS  # utime + stime


def period_index(period):
    """The server's running index of a period yyyymmddNNN: day x 82 + serial - 1."""
    day = datetime.date(int(period[0:4]), int(period[4:6]), int(period[6:8])).toordinal()
    return day * PERIODS_PER_DAY + int(period[8:11]) - 1


class ProgramOutput(threading.Thread):
    """Reads the program's plain output and stamps every new period it shows."""

    def __init__(self, stream):
        super().__init__(daemon=True)
        self.stream = stream
        self.lock = threading.Lock()
        self.shown = []  # (seconds since the epoch, period)
        self.lines = 0

    def run(self):
        last = None
        for raw in self.stream:
            now = time.time()
            line = raw.decode("utf-8", "replace")
            with self.lock:
                self.lines += 1
                m = re.match(r"当前期号：(\d{11})", line)
                if m and m.group(1) != last:
                    last = m.group(1)
                    self.shown.append((now, last))

    def snapshot(self):
        with self.lock:
            return list(self.shown), self.lines


def start_server(work):
    log = open(os.path.join(work, "server.out"), "wb")
    server = subprocess.Popen([SERVER, "--main-port", "0", "--fallback-port", "0", "--interval", str(INTERVAL),
                               "--secret", "soak"], stdout=subprocess.PIPE, stderr=log)
    first = server.stdout.readline().decode()
    m = re.match(r"listening main=(\S+) fallback=(\S+)", first)
    if not m:
        server.kill()
        sys.exit("the server did not start: " + first)
    return server, m.group(1)


def main():
    minutes = int(sys.argv[1]) if len(sys.argv) > 1 else 30
    out_dir = os.path.join(BUILD, "soak")
    os.makedirs(out_dir, exist_ok=True)
    work = tempfile.mkdtemp(prefix="soak.")
    server, main_url = start_server(work)
    base = main_url.rsplit("/", 1)[0]

    # The schedule: the advert page names the coming period and its draw time.
    page = urllib.request.urlopen(base + "/advert.html", timeout=10).read().decode()
    m = re.search(r"下期期号：(\d{11})　开奖时间：([0-9: -]+)<", page)
    anchor_index = period_index(m.group(1))
    anchor_time = time.mktime(time.strptime(m.group(2).strip(), "%Y-%m-%d %H:%M:%S"))

    def draw_time(period):
        return anchor_time + (period_index(period) - anchor_index) * INTERVAL

    errors = open(os.path.join(work, "program.err"), "wb")
    program = subprocess.Popen([PROGRAM, "--headless", "--server", main_url], cwd=work,
                               stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, stderr=errors)
    output = ProgramOutput(program.stdout)
    output.start()
    started = time.time()
    while not output.snapshot()[0]:
        if program.poll() is not None or time.time() - started > 60:
            server.terminate()
            sys.exit("the program did not come up (exit %s)" % program.poll())
        time.sleep(0.05)
    t0 = time.time()
    print("start-up: %.2f s; soak for %d minutes; output in %s" % (t0 - started, minutes, out_dir), flush=True)

    rows = []
    taken_before = 1  # the draw shown at start-up is not a live one
    last_cpu = {program.pid: cpu_seconds(program.pid), server.pid: cpu_seconds(server.pid)}
    last_time = t0
    all_latencies = []
    for minute in range(0, minutes + 1):
        if minute > 0:
            time.sleep(max(0.0, t0 + 60 * minute - time.time()))
        if program.poll() is not None:
            print("the program ended early with %s" % program.returncode, flush=True)
            break
        now = time.time()
        shown, lines = output.snapshot()
        fresh = shown[taken_before:]
        taken_before = len(shown)
        latencies = [1000.0 * (t - draw_time(p)) for t, p in fresh]
        all_latencies += latencies
        cpu = {}
        for pid in (program.pid, server.pid):
            seconds = cpu_seconds(pid)
            cpu[pid] = 100.0 * (seconds - last_cpu[pid]) / (now - last_time) if minute > 0 else None
            last_cpu[pid] = seconds
        last_time = now
        row = {
            "minute": minute,
            "elapsed_s": round(now - t0, 1),
            "program_rss_kb": rss_kb(program.pid),
            "program_cpu_pct": None if cpu[program.pid] is None else round(cpu[program.pid], 3),
            "server_rss_kb": rss_kb(server.pid),
            "server_cpu_pct": None if cpu[server.pid] is None else round(cpu[server.pid], 3),
            "server_periods": int((now - t0) / INTERVAL),
            "draws_taken": len(shown) - 1,
            "draws_in_minute": len(fresh),
            "history_rows": 50 + len(shown) - 1,
            "latency_mean_ms": round(statistics.mean(latencies), 1) if latencies else None,
            "latency_max_ms": round(max(latencies), 1) if latencies else None,
            "output_lines": lines,
        }
        rows.append(row)
        print(", ".join("%s=%s" % (k, v) for k, v in row.items()), flush=True)

    program.send_signal(signal.SIGTERM)
    try:
        code = program.wait(timeout=30)
    except subprocess.TimeoutExpired:
        program.kill()
        code = "killed"
    server.terminate()
    server.wait(timeout=30)

    csv_path = os.path.join(out_dir, "soak.csv")
    with open(csv_path, "w", newline="") as f:
        writer = csv.DictWriter(f, fieldnames=list(rows[0].keys()))
        writer.writeheader()
        for row in rows:
            writer.writerow({k: "" if v is None else v for k, v in row.items()})
    png_path = os.path.join(out_dir, "soak.png")
    subprocess.run([sys.executable, os.path.join(ROOT, "bench", "soak_plot.py"), csv_path, png_path], check=True)

    first, last = rows[min(1, len(rows) - 1)], rows[-1]
    draws = last["draws_taken"] - first["draws_taken"]
    growth = last["program_rss_kb"] - first["program_rss_kb"]
    cpus = [r["program_cpu_pct"] for r in rows if r["program_cpu_pct"] is not None]
    ordered = sorted(all_latencies)
    summary = [
        "minutes: %d, server periods: %d, live draws shown: %d (history %d rows)"
        % (len(rows) - 1, last["server_periods"], last["draws_taken"], last["history_rows"]),
        "program RSS: %d kB after start-up, %d kB after minute 1, %d kB at the end, max %d kB"
        % (rows[0]["program_rss_kb"], first["program_rss_kb"], last["program_rss_kb"],
           max(r["program_rss_kb"] for r in rows)),
        "RSS growth from minute 1 to the end: %d kB over %d draws = %.0f bytes per draw"
        % (growth, draws, 1024.0 * growth / draws if draws else 0.0),
        "program CPU: mean %.2f %%, max %.2f %% of one core" % (statistics.mean(cpus), max(cpus)) if cpus else "",
        "latency: mean %.0f ms, median %.0f ms, p95 %.0f ms, max %.0f ms over %d draws"
        % (statistics.mean(ordered), ordered[len(ordered) // 2], ordered[int(0.95 * (len(ordered) - 1))],
           ordered[-1], len(ordered)) if ordered else "latency: no live draws",
        "program exit: %s; stderr: %d bytes" % (code, os.path.getsize(os.path.join(work, "program.err"))),
        "csv: %s" % csv_path,
        "plot: %s" % png_path,
    ]
    with open(os.path.join(out_dir, "summary.txt"), "w") as f:
        f.write("\n".join(summary) + "\n")
    print("\n".join(summary))


if __name__ == "__main__":
    main()
