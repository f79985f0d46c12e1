#!/usr/bin/env python3
"""The Windows station forwarding to the line service, end to end: tandrel.exe
under Wine on a virtual bench, --line to the Linux program tandrel-line over
a private PostgreSQL cluster. The service starts only once the station has
said it cannot reach it; then every result of the run must be in PostgreSQL
once, equal to the station's own store row, and the log must say both
"Line not reachable" and "Line reached" once. A --line that is no URL is
refused with the reason.

usage: line_e2e.py WINE_RUN BIN_DIR TANDREL_LINE PG_CLUSTER
       (run in the build folder, on an X display; PG_CLUSTER is scripts/pg-cluster)
"""
import json
import os
import shutil
import socket
import subprocess
import sys
import time

from wine_station import WineStation, follow, results_of, win

STATION = WineStation(sys.argv[1], sys.argv[2], "win32-line-e2e")
LINE_PROGRAM, PG_CLUSTER = sys.argv[3], sys.argv[4]
WORK = STATION.work
NAME = "win-st"
PHONES = 4
NOT_REACHABLE = "Line not reachable: cannot connect to http://127.0.0.1:"
REACHED = "Line reached: all results are through"


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def psql(url, sql):
    return subprocess.run(["psql", "-At", "-v", "ON_ERROR_STOP=1", url, "-c", sql], check=True,
                          capture_output=True, text=True).stdout


def logs(records, start):
    return [r["text"] for r in records if r["ev"] == "log" and r["text"].startswith(start)]


def start_line(database, port):
    tokens = os.path.join(WORK, "tokens")
    with open(tokens, "w") as f:
        f.write(f"{NAME} token-{NAME}\n")
    service = subprocess.Popen([LINE_PROGRAM, "--database", database, "--listen", f"127.0.0.1:{port}",
                                "--tokens", tokens], stdout=subprocess.PIPE, text=True)
    first = service.stdout.readline()
    if "serving http://" not in first:
        service.kill()
        sys.exit(f"tandrel-line did not start: {first!r}")
    return service


def wait_for(check, seconds):
    deadline = time.monotonic() + seconds
    while not check() and time.monotonic() < deadline:
        time.sleep(0.5)
    return check()


def forwarded_run(database, images, token):
    """The failures of one run of PHONES phones forwarded to the line."""
    bench = os.path.join(WORK, "bench")
    STATION.tool("tandrel-bench.exe", "create", win(bench), "--phones", str(PHONES))
    env = dict(os.environ, TANDREL_BENCH=win(bench))
    store = os.path.join(WORK, "results.db")
    port = free_port()
    robot = STATION.robot(env, bench, PHONES, "--interval", "200", "--until-done", "--timeout", "240")
    station = STATION.start(env, bench, images, "--results", win(store), "--station", NAME,
                            "--line", f"http://127.0.0.1:{port}", "--line-token", win(token))
    records = []
    done, reader = follow(station, records, lambda got: len(results_of(got)) == PHONES)
    failures = []
    service = None
    try:
        if not wait_for(lambda: logs(records, NOT_REACHABLE), 120):
            failures.append(f"the station never said the line was not reachable: {logs(records, 'Line')}")
        service = start_line(database, port)
        if not done.wait(240) or len(results_of(records)) != PHONES:
            failures.append(f"{len(results_of(records))} of {PHONES} phones have a result")
        if not wait_for(lambda: logs(records, REACHED), 60):
            failures.append("the station never said the line was reached")
        wait_for(lambda: psql(database, "SELECT count(*) FROM results").strip() == str(PHONES), 30)
    finally:
        status = STATION.close_from_outside(station)
        reader.join(30)
        robot.kill()
        robot.communicate()
        if service:
            service.terminate()
            service.wait(20)
    if status != 0:
        failures.append(f"tandrel.exe exited with {status}")
    said = [len(logs(records, NOT_REACHABLE)), len(logs(records, REACHED))]
    if said != [1, 1]:
        failures.append(f"the log said 'not reachable' and 'reached' {said} times, not once each")
    kept = STATION.store_rows(["--results", win(store)]) or []
    arrived = [json.loads(line) for line in
               psql(database, "SELECT record FROM results ORDER BY station, sequence").splitlines()]
    if len(kept) != PHONES or arrived != kept:
        failures.append(f"PostgreSQL holds {arrived}, the station's store {kept}")
    return failures


def refused_url(token):
    """--line that is no URL: refused at once, with the reason."""
    refused = STATION.tool("tandrel.exe", "--results", win(os.path.join(WORK, "refused.db")),
                           "--line", "not-a-url", "--line-token", win(token), check=False)
    reason = "--line takes the line service's address, http://HOST:PORT, not not-a-url"
    if refused.returncode != 2 or reason not in refused.stderr:
        return [f"--line not-a-url exited with {refused.returncode}: {refused.stderr!r}"]
    return []


def main():
    shutil.rmtree(WORK, ignore_errors=True)
    os.makedirs(WORK)
    token = os.path.join(WORK, "token")
    with open(token, "w") as f:
        f.write(f"token-{NAME}\n")
    cluster = os.path.join(WORK, "cluster")
    server = subprocess.run([PG_CLUSTER, "start", cluster], check=True, capture_output=True,
                            text=True).stdout.strip()
    try:
        database = server.rsplit("/", 1)[0] + "/win_line"
        psql(server, "CREATE DATABASE win_line")
        failures = refused_url(token) + forwarded_run(database, STATION.make_images([("code", 4, 256 * 1024)]),
                                                      token)
    finally:
        subprocess.run([PG_CLUSTER, "stop", cluster], check=False)
    for failure in failures:
        print("FAIL:", failure)
    print(f"{PHONES} phones forwarded to the line; {len(failures)} failures")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
