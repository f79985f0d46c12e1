#!/usr/bin/python3
"""The line page in a real browser: headless Chromium driven by Selenium.

    page_test.py TANDREL_LINE CLUSTER_FOLDER [--samples N]

Starts tandrel-line over a fresh database of the private cluster, sends it
results as two stations would, and checks that the page shows both stations'
tiles, in amber a port that failed its last three phones and one its station
flagged, with the station's reason, and a new result within 2 s of its
arrival, timed over N new results (5 by default): the last lines are the
figures, median and 99th percentile. Exit status 0 when all holds.
"""
import json
import os
import subprocess
import sys
import time
import urllib.request
import uuid

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.by import By
from selenium.webdriver.support.ui import WebDriverWait

AMBER = "rgba(255, 191, 0, 1)"
# A station's own reason for flagging a port.
SLOW = "slow, 61.0 s a phone over its last 10 successes"


def psql(url, sql):
    subprocess.run(["psql", "-q", "-v", "ON_ERROR_STOP=1", url, "-c", sql], check=True, capture_output=True)


def row(station, sequence, port, success):
    return {"uuid": str(uuid.uuid4()), "sequence": sequence, "station": station, "run": None, "mode": "USB",
            "ch": port, "device": port, "device_path": None, "result": "Success" if success else "Fail",
            "fail_stage": None, "fail_item": None, "fail_text": None if success else "Failed (FLS)",
            "row_text": None, "images": ["|0|a.pak"], "sha256": ["9f86d081884c7d65"], "library_version": None,
            "station_version": "1.0", "armed_ms": None, "items_done_ms": None, "unplugged_ms": None,
            "result_ms": int(time.time() * 1000), "ms": 4200}


def send(base, station, rows, ports=None):
    batch = {"results": rows} if ports is None else {"results": rows, "ports": ports}
    request = urllib.request.Request(base + "api/results", data=json.dumps(batch).encode(),
                                     headers={"Authorization": "Bearer token-" + station,
                                              "Content-Type": "application/json"})
    with urllib.request.urlopen(request, timeout=10) as answer:
        assert answer.status == 200, answer.read()


def browser():
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    for argument in ("--headless=new", "--no-sandbox", "--disable-dev-shm-usage", "--window-size=1400,1000"):
        options.add_argument(argument)
    return webdriver.Chrome(service=Service(executable_path="/usr/bin/chromedriver"),
                            options=options)


def check_page(base, samples):
    send(base, "st-A", [row("st-A", 1, 1, True)] + [row("st-A", n, 2, False) for n in (2, 3, 4)])
    send(base, "st-B", [row("st-B", 1, 1, True)], ports=[{"port": 1, "reason": SLOW}])
    driver = browser()
    try:
        driver.get(base)
        wait = WebDriverWait(driver, 10)
        wait.until(lambda d: len(d.find_elements(By.CSS_SELECTOR, ".station")) == 2)
        names = [e.text for e in driver.find_elements(By.CSS_SELECTOR, ".station h3")]
        assert names == ["st-A", "st-B"], names
        amber = driver.find_element(By.CSS_SELECTOR, '.station[data-station="st-A"] .port[data-port="2"]')
        colour = amber.value_of_css_property("background-color")
        assert colour == AMBER, f"port 2 is {colour}, not amber"
        assert "failed its last 3 phones" in amber.text, amber.text
        flagged = driver.find_element(By.CSS_SELECTOR, '.station[data-station="st-B"] .port[data-port="1"]')
        assert flagged.value_of_css_property("background-color") == AMBER, "st-B's port 1 is not amber"
        assert SLOW in flagged.text, flagged.text

        latencies = []
        for sequence in range(2, 2 + samples):
            new = row("st-B", sequence, 3, True)
            send(base, "st-B", [new])
            sent = time.monotonic()
            WebDriverWait(driver, 5, poll_frequency=0.02).until(
                lambda d: d.find_elements(By.CSS_SELECTOR, f'tr[data-uuid="{new["uuid"]}"]'))
            latencies.append(time.monotonic() - sent)
        latencies.sort()
        print(f"result-to-page median: {latencies[len(latencies) // 2]:.2f} s")
        print(f"result-to-page p99: {latencies[min(len(latencies) - 1, len(latencies) * 99 // 100)]:.2f} s"
              f" (over {samples}, {latencies[-1]:.2f} s at most)")
        assert latencies[-1] < 2.0, f"a new result took {latencies[-1]:.2f} s to show"
    finally:
        driver.quit()


def main():
    program, cluster = sys.argv[1], sys.argv[2]
    samples = int(sys.argv[4]) if len(sys.argv) == 5 and sys.argv[3] == "--samples" else 5
    with open(os.path.join(cluster, "url")) as f:
        server = f.read().strip()
    name = f"page_test_{os.getpid()}"
    database = server.rsplit("/", 1)[0] + "/" + name
    psql(server, f"CREATE DATABASE {name}")
    tokens = os.path.join(cluster, f"{name}.tokens")
    with open(tokens, "w") as f:
        f.write("st-A token-st-A\nst-B token-st-B\n")
    service = subprocess.Popen([program, "--database", database, "--listen", "127.0.0.1:0", "--tokens", tokens],
                               stdout=subprocess.PIPE, text=True)
    try:
        first = service.stdout.readline()
        assert "serving http://" in first, first
        check_page(first.split("serving ", 1)[1].strip(), samples)
    finally:
        service.terminate()
        service.wait(timeout=20)
        os.remove(tokens)
        psql(server, f"DROP DATABASE IF EXISTS {name} WITH (FORCE)")
    print("page: tiles, amber ports and live update seen", file=sys.stderr)


if __name__ == "__main__":
    main()
