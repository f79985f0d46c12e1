#!/usr/bin/env python3
"""The line: two stations of eight phones each, one line service, one PostgreSQL.

Starts a private PostgreSQL cluster under the build folder (scripts/pg-cluster),
tandrel-line on a free loopback port, and two stations, each on a virtual bench
of eight phones with the bench robot as its operator's hands (offscreen when
there is no display), forwarding to the line. Once all sixteen results are in,
it takes a screenshot of the line page with headless Chromium and compares
PostgreSQL with each station's own store: it exits non-zero if any result is
missing there, stored twice, or different. It stops everything it started.
"""
import json
import os
import signal
import subprocess
import sys
import tempfile
import time
import urllib.request

import demo

STATIONS = ["bench-A", "bench-B"]
BOUND_SECONDS = 300


def start_line(bin_dir, database, tokens, log):
    service = subprocess.Popen([os.path.join(bin_dir, "tandrel-line"), "--database", database,
                                "--listen", "127.0.0.1:0", "--tokens", tokens],
                               stdout=subprocess.PIPE, stderr=log, text=True)
    first = service.stdout.readline()
    if "serving http://" not in first:
        raise RuntimeError("tandrel-line did not start: " + first)
    return service, first.split("serving ", 1)[1].strip()


def start_station(bin_dir, work, name, container, line, headless):
    bench = os.path.join(work, name)
    demo.run([os.path.join(bin_dir, "tandrel-bench"), "create", bench, "--phones", str(demo.PHONES)])
    token = os.path.join(work, name + ".token")
    with open(token, "w") as f:
        f.write("token-" + name + "\n")
    env = dict(os.environ, TANDREL_BENCH=bench, XDG_DATA_HOME=os.path.join(work, name + "-data"))
    journal = os.path.join(work, name + ".jsonl")
    command = [os.path.join(bin_dir, "tandrel"), "--library", os.path.join(bin_dir, "libIFWD_DownloadDll.so"),
               "--devices", "dir:" + os.path.join(bench, "registry"), "--image", container, "--start",
               "--journal", journal, "--results", os.path.join(work, name + ".db"), "--station", name,
               "--line", line, "--line-token", token]
    if headless:
        command[1:1] = ["-platform", "offscreen"]
    station = subprocess.Popen(command, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    robot = subprocess.Popen([os.path.join(bin_dir, "tandrel-bench"), "robot", bench, "--interval", "500"],
                             env=env, stdout=subprocess.DEVNULL)
    return station, robot, journal


def line_results(line):
    with urllib.request.urlopen(line + "api/results?limit=1000", timeout=10) as answer:
        return json.load(answer)


def station_results(bin_dir, work, name):
    listing = demo.run([os.path.join(bin_dir, "tandrel-results"), "--results", os.path.join(work, name + ".db"),
                        "list", "--json"])
    return [json.loads(line) for line in listing.stdout.splitlines() if line.strip()]


def await_line(line, expected):
    deadline = time.monotonic() + 60
    while time.monotonic() < deadline:
        if len(line_results(line)) >= expected:
            return
        time.sleep(0.5)


def screenshot(line, path):
    subprocess.run(["chromium", "--headless=new", "--no-sandbox", "--disable-gpu", "--hide-scrollbars",
                    "--window-size=1500,1100", "--virtual-time-budget=4000", "--screenshot=" + path, line],
                   check=True, capture_output=True, timeout=120)


def compare(kept, arrived):
    """Missing, duplicated and different results of one station."""
    by_uuid = {}
    for record in arrived:
        by_uuid.setdefault(record["uuid"], []).append(record)
    missing = [r["sequence"] for r in kept if r["uuid"] not in by_uuid]
    duplicated = [u for u, records in by_uuid.items() if len(records) > 1]
    different = [r["sequence"] for r in kept
                 if r["uuid"] in by_uuid and any(by_uuid[r["uuid"]][0].get(k) != v for k, v in r.items())]
    return missing, duplicated, different


def main():
    build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build")
    bin_dir = os.path.join(build, "bin")
    here = os.path.dirname(os.path.abspath(__file__))
    headless = not (os.environ.get("DISPLAY") or os.environ.get("WAYLAND_DISPLAY"))
    work = tempfile.mkdtemp(prefix="tandrel-line-demo-")
    cluster = os.path.join(build, "line-demo-cluster")
    started = []
    subprocess.run([os.path.join(here, "pg-cluster"), "start", cluster], check=True, stdout=subprocess.DEVNULL)
    try:
        with open(os.path.join(cluster, "url")) as f:
            server = f.read().strip()
        database = server.rsplit("/", 1)[0] + "/line_demo"
        subprocess.run(["psql", "-q", server, "-c", "DROP DATABASE IF EXISTS line_demo WITH (FORCE)",
                        "-c", "CREATE DATABASE line_demo"], check=True, capture_output=True)
        tokens = os.path.join(work, "tokens")
        with open(tokens, "w") as f:
            f.writelines(f"{name} token-{name}\n" for name in STATIONS)
        with open(os.path.join(work, "line.log"), "w") as log:
            service, line = start_line(bin_dir, database, tokens, log)
        started.append(service)
        print(f"line-demo: the line page is at {line}", flush=True)

        container = demo.make_images(bin_dir, work)
        runs = []
        for name in STATIONS:
            station, robot, journal = start_station(bin_dir, work, name, container, line, headless)
            started[0:0] = [station, robot]
            runs.append((name, station, journal))
        for name, station, journal in runs:
            results = demo.follow(journal, station, echo=False)
            print(f"line-demo: {name}: {len(results)} phones finished", flush=True)
        await_line(line, len(STATIONS) * demo.PHONES)
        picture = os.path.join(work, "line-page.png")
        screenshot(line, picture)
        print(f"line-demo: screenshot of the page: {picture}")

        arrived = line_results(line)
        failed = False
        totals = [0, 0, 0]
        for name in STATIONS:
            kept = station_results(bin_dir, work, name)
            missing, duplicated, different = compare(kept, [r for r in arrived if r["station"] == name])
            for i, found in enumerate((missing, duplicated, different)):
                totals[i] += len(found)
            failed |= len(kept) != demo.PHONES or bool(missing or duplicated or different)
            print(f"line-demo: {name}: {len(kept)} in its store; missing {missing or 'none'}, "
                  f"duplicated {duplicated or 'none'}, different {different or 'none'}")
        print(f"line-demo: {len(arrived)} results in PostgreSQL, {totals[0]} missing, {totals[1]} duplicated, "
              f"{totals[2]} different" + ("" if not failed else " — FAILED"))
        return 1 if failed else 0
    finally:
        for process in started:
            if process.poll() is None:
                process.send_signal(signal.SIGTERM)
                process.wait(timeout=30)
        subprocess.run([os.path.join(here, "pg-cluster"), "stop", cluster], check=False)


if __name__ == "__main__":
    sys.exit(main())
