"""What the Windows station's end-to-end tests share: its programs run under
Wine from one build's bin folder, the station's journal read as it is
written, its results store listed with tandrel-results.exe."""
import json
import os
import subprocess
import sys
import threading


def win(path):
    """The path as a Windows program names it (Wine shows / as Z:)."""
    return "Z:" + path.replace("/", "\\")


def follow(station, records, enough):
    """Reads the journal into records, until it ends. The event is set once
    enough(records) holds or the journal has ended; join the thread for every
    record."""
    done = threading.Event()

    def read():
        for line in station.stdout:
            records.append(json.loads(line))
            if enough(records):
                done.set()
        done.set()

    reader = threading.Thread(target=read, daemon=True)
    reader.start()
    return done, reader


def results_of(records):
    """Each channel's last result record."""
    return {r["ch"]: r for r in records if r["ev"] == "result"}


class WineStation:
    """The programs of one Windows build (BIN) under Wine (WINE_RUN), with a
    work folder for benches, images and stores."""

    def __init__(self, wine_run, bin_dir, work):
        self.wine_run, self.bin, self.work = wine_run, os.path.abspath(bin_dir), os.path.abspath(work)

    def tool(self, name, *args, check=True):
        result = subprocess.run([self.wine_run, os.path.join(self.bin, name), *args], capture_output=True, text=True)
        if check and result.returncode != 0:
            sys.exit(f"{name} {' '.join(args)} failed ({result.returncode}): {result.stdout}{result.stderr}")
        return result

    def start(self, env, bench, images, *more):
        """tandrel.exe on the bench with --start, its journal on standard output."""
        # No --library: the simulator DLL beside tandrel.exe is the one that loads.
        args = [self.wine_run, os.path.join(self.bin, "tandrel.exe"), "--devices", "dir:" + win(bench) + "\\registry",
                "--start", "--journal", "-", *more]
        for image in images:
            args += ["--image", image]
        return subprocess.Popen(args, env=env, stdout=subprocess.PIPE, text=True)

    def robot(self, env, bench, phones, *more):
        """The bench robot plugging and unplugging phones on bench; its
        output, stderr too, on the pipe."""
        return subprocess.Popen([self.wine_run, os.path.join(self.bin, "tandrel-bench.exe"), "robot", win(bench),
                                 "--phones", str(phones), *more],
                                env=env, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)

    def close_from_outside(self, station):
        """Closes the window as taskkill does (WM_CLOSE); the exit status, or a
        text saying it did not close."""
        subprocess.run([self.wine_run, "taskkill", "/im", "tandrel.exe"], capture_output=True)
        try:
            return station.wait(60)
        except subprocess.TimeoutExpired:
            station.kill()
            return "none (it did not close)"

    def store_rows(self, store):
        """The rows tandrel-results.exe lists of store (a --results option, or
        none for the default store); None when it cannot read the store."""
        listed = self.tool("tandrel-results.exe", *store, "list", "--json", check=False)
        if listed.returncode != 0:
            return None
        return [json.loads(line) for line in listed.stdout.splitlines()]

    def make_images(self, specs):
        """An image of random bytes for each (name, memory class, size), packed."""
        images = []
        for name, memory_class, size in specs:
            payload = os.path.join(self.work, name + ".bin")
            with open(payload, "wb") as f:
                f.write(os.urandom(size))
            image = os.path.join(self.work, name + ".fls")
            self.tool("tandrel-pack.exe", "image", win(image), "--class", str(memory_class), "--name", name,
                      win(payload))
            images.append(win(image))
        return images
