#!/usr/bin/env python3
"""The Windows station end to end under Wine: tandrel.exe with the simulator
DLL beside it, a virtual bench of eight phones worked by the bench robot,
images made with the packer, --start and the journal on standard output.
Every phone must end "Success" and hold, byte for byte, what was chosen;
--version prints the version on standard output too.

usage: e2e.py WINE_RUN BIN_DIR   (run in the build folder, on an X display)
"""
import json
import os
import re
import shutil
import subprocess
import sys
import threading
import time

WINE_RUN, BIN = sys.argv[1], os.path.abspath(sys.argv[2])
WORK = os.path.abspath("win32-e2e")
PHONES = 8
IMAGES = [("psi", 1, 96 * 1024), ("code", 4, 3 * 1024 * 1024), ("eep", 7, 64 * 1024)]


def win(path):
    """The path as a Windows program names it (Wine shows / as Z:)."""
    return "Z:" + path.replace("/", "\\")


def tool(name, *args, check=True):
    result = subprocess.run([WINE_RUN, os.path.join(BIN, name), *args], capture_output=True, text=True)
    if check and result.returncode != 0:
        sys.exit(f"{name} {' '.join(args)} failed ({result.returncode}): {result.stdout}{result.stderr}")
    return result


def main():
    shutil.rmtree(WORK, ignore_errors=True)
    os.makedirs(WORK)
    bench = os.path.join(WORK, "bench")
    tool("tandrel-bench.exe", "create", win(bench), "--phones", str(PHONES))
    images = []
    for name, memory_class, size in IMAGES:
        payload = os.path.join(WORK, name + ".bin")
        with open(payload, "wb") as f:
            f.write(os.urandom(size))
        image = os.path.join(WORK, name + ".fls")
        tool("tandrel-pack.exe", "image", win(image), "--class", str(memory_class), "--name", name, win(payload))
        images.append(win(image))

    # The station's image snapshots stay in the work folder.
    env = dict(os.environ, TANDREL_BENCH=win(bench), LOCALAPPDATA=win(os.path.join(WORK, "data")))
    robot = subprocess.Popen([WINE_RUN, os.path.join(BIN, "tandrel-bench.exe"), "robot", win(bench), "--phones",
                              str(PHONES), "--interval", "200", "--until-done", "--timeout", "240"],
                             env=env, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
    # No --library: the simulator DLL beside tandrel.exe is the one that loads.
    station_args = [WINE_RUN, os.path.join(BIN, "tandrel.exe"), "--devices", "dir:" + win(bench) + "\\registry",
                    "--start", "--journal", "-", "--screenshot", "win32-e2e.png"]
    for image in images:
        station_args += ["--image", image]
    station = subprocess.Popen(station_args, env=env, stdout=subprocess.PIPE, text=True)

    records = []
    results = {}
    done = threading.Event()

    def read_journal():
        for line in station.stdout:
            record = json.loads(line)
            records.append(record)
            if record["ev"] == "result":
                results[record["ch"]] = record
                if len(results) == PHONES:
                    done.set()
        done.set()

    threading.Thread(target=read_journal, daemon=True).start()
    finished = done.wait(240)
    # Closed as an operator's close box would close it.
    subprocess.run([WINE_RUN, "taskkill", "/im", "tandrel.exe"], capture_output=True)
    try:
        status = station.wait(60)
    except subprocess.TimeoutExpired:
        station.kill()
        status = "none (it did not close)"
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
        verify = tool("tandrel-bench.exe", "verify", win(bench), str(phone), *images, check=False)
        if verify.returncode != 0:
            failures.append(f"phone {phone} does not hold the images: {verify.stdout}{verify.stderr}")
    if not os.path.exists("win32-e2e.png"):
        failures.append("no screenshot of the window at its close")
    # A windowed program: --version must still reach the pipe it was started with.
    version = tool("tandrel.exe", "--version", check=False)
    if version.returncode != 0 or not re.fullmatch(r"tandrel \d+(\.\d+)*\n", version.stdout):
        failures.append(f"--version printed {version.stdout!r} and exited with {version.returncode}")

    for failure in failures:
        print("FAIL:", failure)
    print(f"{PHONES - len([f for f in failures if f.startswith('phone')])} phones verified byte for byte; "
          f"{len(failures)} failures")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
