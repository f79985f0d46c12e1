#!/usr/bin/env python3
"""The Windows station end to end under Wine: tandrel.exe with the simulator
DLL beside it, a virtual bench of eight phones worked by the bench robot,
images made with the packer, --start and the journal on standard output.
Every phone must end "Success" and hold, byte for byte, what was chosen,
and have its row in the default results store, as tandrel-results.exe lists
it; --version prints the version on standard output too. Then two slow
phones are being written when the window is closed from outside: each gets a
"Fail" result, in the journal and in the store named with --results.

usage: e2e.py WINE_RUN BIN_DIR   (run in the build folder, on an X display)
"""
import json
import os
import re
import shutil
import subprocess
import sys

from wine_station import WineStation, follow, results_of, win

STATION = WineStation(sys.argv[1], sys.argv[2], "win32-e2e")
WORK = STATION.work
PHONES = 8
IMAGES = [("psi", 1, 96 * 1024), ("code", 4, 3 * 1024 * 1024), ("eep", 7, 64 * 1024)]


def store_failures(store, results, earlier=0):
    """What store does not hold of the journal's results: after the earlier
    rows, one row each in the order written with the journal's fields, the
    sequence going on, and no damage."""
    rows = STATION.store_rows(store)
    if rows is None:
        return [f"tandrel-results {' '.join(store)} cannot list the store"]
    rows = rows[earlier:]
    journal = list(results.values())
    failures = []
    if [r["uuid"] for r in rows] != [r["uuid"] for r in journal]:
        failures.append(f"the store's rows are not the journal's results: {rows}")
    for i, (row, result) in enumerate(zip(rows, journal)):
        if row["sequence"] != earlier + i + 1:
            failures.append(f"row {earlier + i + 1} has the sequence {row['sequence']}")
        for field in ("ch", "device", "result", "images", "sha256", "ms"):
            if row[field] != result[field]:
                failures.append(f"row {row['sequence']}: {field} is {row[field]!r}, the journal says {result[field]!r}")
        if row["reason"] != result.get("reason"):
            failures.append(f"row {row['sequence']}: reason {row['reason']!r}, "
                            f"the journal says {result.get('reason')!r}")
    check = STATION.tool("tandrel-results.exe", *store, "check", check=False)
    if check.returncode != 0:
        failures.append(f"tandrel-results check: {check.stdout}{check.stderr}")
    return failures


def eight_phones(images):
    bench = os.path.join(WORK, "bench")
    STATION.tool("tandrel-bench.exe", "create", win(bench), "--phones", str(PHONES))

    # Wine sets LOCALAPPDATA itself, to the prefix's user folder: the default
    # store there keeps the rows of every earlier run too.
    earlier = len(STATION.store_rows([]) or [])
    env = dict(os.environ, TANDREL_BENCH=win(bench))
    robot = STATION.robot(env, bench, PHONES, "--interval", "200", "--until-done", "--timeout", "240")
    station = STATION.start(env, bench, images, "--screenshot", "win32-e2e.png")
    records = []
    done, _ = follow(station, records, lambda got: len(results_of(got)) == PHONES)
    finished = done.wait(240)
    status = STATION.close_from_outside(station)
    results = results_of(records)
    try:
        robot_output, _ = robot.communicate(timeout=120)
    except subprocess.TimeoutExpired:
        robot.kill()
        robot_output, _ = robot.communicate()

    failures = []
    logs = [r["text"] for r in records if r["ev"] == "log"]
    if not logs or not logs[0].startswith("Loaded the download library") or \
            not logs[0].endswith("\\bin\\IFWD_DownloadDll.dll"):
        failures.append(f"the library beside tandrel.exe was not the one loaded: {logs[:1]}")
    if not finished or len(results) != PHONES:
        last = [json.dumps(r) for r in records[-5:]]
        failures.append(f"{len(results)} of {PHONES} phones have a result; the journal ended with {last}")
    for channel, record in sorted(results.items()):
        if record["result"] != "Success":
            failures.append(f"channel {channel}: {record['result']}")
    if status != 0:
        failures.append(f"tandrel.exe exited with {status} after its window was closed")
    if robot.returncode != 0:
        failures.append(f"the robot failed: {robot_output}")
    for phone in range(1, PHONES + 1):
        verify = STATION.tool("tandrel-bench.exe", "verify", win(bench), str(phone), *images, check=False)
        if verify.returncode != 0:
            failures.append(f"phone {phone} does not hold the images: {verify.stdout}{verify.stderr}")
    failures += store_failures([], results, earlier)
    if not os.path.exists("win32-e2e.png"):
        failures.append("no screenshot of the window at its close")
    # A windowed program: --version must still reach the pipe it was started with.
    version = STATION.tool("tandrel.exe", "--version", check=False)
    if version.returncode != 0 or not re.fullmatch(r"tandrel \d+(\.\d+)*\n", version.stdout):
        failures.append(f"--version printed {version.stdout!r} and exited with {version.returncode}")
    return failures


def closed_during_download(images):
    """Closed from outside, the window asks nothing: each phone still being
    written gets a "Fail" result before the program ends."""
    bench = os.path.join(WORK, "close-bench")
    STATION.tool("tandrel-bench.exe", "create", win(bench), "--phones", "2")
    for phone in ("1", "2"):
        STATION.tool("tandrel-bench.exe", "fault", win(bench), phone, "rate=32K")
        STATION.tool("tandrel-bench.exe", "plug", win(bench), phone)
    store = ["--results", win(os.path.join(WORK, "close-results.db"))]
    station = STATION.start(dict(os.environ, TANDREL_BENCH=win(bench)), bench, images, *store)
    records = []

    def both_written(got):
        return {r["ch"] for r in got if r["ev"] == "progress" and r["pos"] > 0} == {1, 2}

    failures = []
    done, reader = follow(station, records, both_written)
    if not done.wait(120) or not both_written(records):
        failures.append(f"the two phones were not being written: {[json.dumps(r) for r in records[-5:]]}")
    status = STATION.close_from_outside(station)
    reader.join(30)
    results = results_of(records)
    if status != 0:
        failures.append(f"closed during a download, tandrel.exe exited with {status}")
    if sorted(results) != [1, 2] or any(r["result"] != "Fail" or r.get("reason") != "station closed during download"
                                        for r in results.values()):
        failures.append(f"closed during a download, the results were {list(results.values())}")
    return failures + store_failures(store, results)


def main():
    shutil.rmtree(WORK, ignore_errors=True)
    os.makedirs(WORK)
    images = STATION.make_images(IMAGES)
    failures = eight_phones(images) + closed_during_download(images)
    for failure in failures:
        print("FAIL:", failure)
    print(f"{PHONES - len([f for f in failures if f.startswith('phone')])} phones verified byte for byte; "
          f"{len(failures)} failures")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
