#!/usr/bin/env python3
"""A full eight-phone session on the virtual bench.

Makes a bench of eight phones and a sample container (PSI, SLB, Code, EEPROM
and DFFS items), starts the bench robot as the operator's hands, and runs the
station with the simulator library, the bench's devices, the container and
--start. With a display the window shows the run; without one it runs
offscreen and this script prints each change as it happens. It ends once all
eight rows show their result (or after a bound), verifies every phone's flash
against the images, prints a table and exits non-zero if anything failed.

By default it runs the programs of a build folder and hands the station the
simulator library built beside them. With --programs it runs the programs
found in another folder (/usr/bin once the packages are installed) and lets
the station find the download library by itself, as an installed station does.
"""
import argparse
import json
import os
import random
import signal
import subprocess
import sys
import tempfile
import time

# Sample items: (name, memory class, size in bytes).
ITEMS = [
    ("psi_boot.fls", 1, 96 * 1024),
    ("slb_boot.fls", 2, 512 * 1024),
    ("code.fls", 4, 24 * 1024 * 1024),
    ("static.eep", 7, 64 * 1024),
    ("static_ffs.dffs", 11, 6 * 1024 * 1024),
]
PHONES = 8
# Long enough for eight phones on one bus plus the 35 s wait before "Success".
BOUND_SECONDS = 240


def run(cmd, **kw):
    return subprocess.run(cmd, check=True, text=True, capture_output=True, **kw)


def make_images(bin_dir, work):
    rng = random.Random(2010)
    images = []
    for name, cls, size in ITEMS:
        payload = os.path.join(work, name + ".bin")
        with open(payload, "wb") as f:
            f.write(rng.randbytes(size))
        image = os.path.join(work, name + ".img")
        run([os.path.join(bin_dir, "tandrel-pack"), "image", image, "--class", str(cls), "--name", name, payload])
        images.append(image)
    container = os.path.join(work, "demo.pak")
    run([os.path.join(bin_dir, "tandrel-pack"), "container", container] + images)
    return container


def describe(record):
    """One line for a journal record worth showing; None for the rest."""
    ev = record.get("ev")
    t = record.get("t", 0) / 1000.0
    if ev == "status":
        return f"{t:8.3f} s  phone {record['ch']}: {record['text']}"
    if ev == "banner":
        return f"{t:8.3f} s  banner: {record['text']} ({record['colour']})"
    if ev == "log":
        return f"{t:8.3f} s  log: {record['text']}"
    if ev == "result":
        return f"{t:8.3f} s  phone {record['ch']} finished: {record['result']} in {record['ms'] / 1000.0:.1f} s"
    return None


def follow(journal_path, station, echo):
    """Reads the journal as it grows until eight results are in, the station
    ends or the bound passes. Returns the result records by channel."""
    results = {}
    deadline = time.monotonic() + BOUND_SECONDS
    while not os.path.exists(journal_path) and station.poll() is None:
        time.sleep(0.05)
    with open(journal_path, encoding="utf-8") as journal:
        pending = ""
        while len(results) < PHONES and time.monotonic() < deadline:
            chunk = journal.readline()
            if not chunk:
                if station.poll() is not None:
                    break
                time.sleep(0.05)
                continue
            pending += chunk
            if not pending.endswith("\n"):
                continue
            record = json.loads(pending)
            pending = ""
            if record.get("ev") == "result":
                results[record["ch"]] = record
            line = describe(record)
            if echo and line:
                print(line, flush=True)
    return results


def verify(bin_dir, bench, container):
    """Bytes verified per phone, or the reason it did not verify."""
    verified = {}
    for n in range(1, PHONES + 1):
        proc = subprocess.run([os.path.join(bin_dir, "tandrel-bench"), "verify", bench, str(n), container],
                              text=True, capture_output=True)
        verified[n] = (proc.returncode == 0, (proc.stdout + proc.stderr).strip())
    return verified


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("build", nargs="?", default="build")
    parser.add_argument("--programs", metavar="DIR",
                        help="run tandrel, tandrel-bench and tandrel-pack from DIR, the station finding "
                             "its download library itself")
    args = parser.parse_args()
    bin_dir = os.path.abspath(args.programs or os.path.join(args.build, "bin"))
    headless = not (os.environ.get("DISPLAY") or os.environ.get("WAYLAND_DISPLAY"))

    work = tempfile.mkdtemp(prefix="tandrel-demo-")
    bench = os.path.join(work, "bench")
    run([os.path.join(bin_dir, "tandrel-bench"), "create", bench, "--phones", str(PHONES)])
    container = make_images(bin_dir, work)
    total = sum(size for _, _, size in ITEMS)
    print(f"demo: bench of {PHONES} phones in {bench}; container {container} "
          f"({len(ITEMS)} items, {total / 1e6:.1f} MB per phone)")

    # The station keeps its image snapshots under its data folder: the demo's
    # stay in its own work folder, not in the home.
    env = dict(os.environ, TANDREL_BENCH=bench, XDG_DATA_HOME=os.path.join(work, "data"))
    journal = os.path.join(work, "journal.jsonl")
    screenshot = os.path.join(work, "final-window.png")
    station_cmd = [os.path.join(bin_dir, "tandrel"),
                   "--devices", "dir:" + os.path.join(bench, "registry"),
                   "--image", container, "--start", "--journal", journal, "--screenshot", screenshot,
                   "--results", os.path.join(work, "results.db")]
    if not args.programs:
        station_cmd[1:1] = ["--library", os.path.join(bin_dir, "libIFWD_DownloadDll.so")]
    if headless:
        station_cmd[1:1] = ["-platform", "offscreen"]
        print("demo: no display found; running the window offscreen and printing each change.")
    station = subprocess.Popen(station_cmd, env=env)
    robot = subprocess.Popen([os.path.join(bin_dir, "tandrel-bench"), "robot", bench, "--interval", "500"],
                             env=env, stdout=subprocess.DEVNULL)
    try:
        results = follow(journal, station, echo=headless)
    finally:
        robot.send_signal(signal.SIGTERM)
        robot.wait(timeout=10)
        if station.poll() is None:
            station.send_signal(signal.SIGTERM)
        station.wait(timeout=30)

    verified = verify(bin_dir, bench, container)
    print()
    print(f"{'phone':>5}  {'result':<8} {'duration':>9}  flash")
    failed = False
    for n in range(1, PHONES + 1):
        record = results.get(n)
        result = record["result"] if record else "none"
        duration = f"{record['ms'] / 1000.0:.1f} s" if record else "-"
        ok, detail = verified[n]
        flash = f"{total} bytes verified" if ok else "DIFFERS: " + detail.splitlines()[-1] if detail else "DIFFERS"
        failed |= result != "Success" or not ok
        print(f"{n:>5}  {result:<8} {duration:>9}  {flash}")
    print()
    if os.path.exists(screenshot):
        print(f"demo: screenshot of the final window: {screenshot}")
    print(f"demo: journal: {journal}")
    print("demo: every phone written and verified." if not failed else "demo: FAILED")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
