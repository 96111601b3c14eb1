#!/usr/bin/env python3
"""Compares the game's start-up with a bare Qt window that has a menu bar.

Installs the built game into a fresh folder (with its settings file and
database, so no first-run message stands in the way), starts a private Xvfb,
and then starts the bare window and the game the same way, one after the
other, RUNS times each (after one unmeasured warm-up of each). For every run
it records the time from starting the process to the X server mapping its
first top-level window, as seen by a root-window listener (xev), the
processor time its threads used by then, and the resident memory SETTLE
seconds later. Prints the medians and the ratios
against the targets (1.25x for the time, 1.35x for the memory).

Usage: scripts/startup_compare.py [--runs 5] [--settle 1.0] [--build build]
Needs cmake, Xvfb and xev (scripts/setup.sh installs them).
"""

import argparse
import os
import queue
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import threading
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
TIME_TARGET = 1.25
MEMORY_TARGET = 1.35


def run(cmd, **kwargs):
    subprocess.run(cmd, check=True, **kwargs)


def build(build_dir):
    if not os.path.exists(os.path.join(build_dir, "build.ninja")):
        run(["cmake", "-S", ROOT, "-B", build_dir, "-G", "Ninja",
             "-DCMAKE_BUILD_TYPE=RelWithDebInfo"], stdout=subprocess.DEVNULL)
    run(["cmake", "--build", build_dir, "--target", "corvane", "corvane-mkdb",
         "corvane-bare-window"], stdout=subprocess.DEVNULL)


def start_xvfb(tmp):
    """Starts Xvfb on a display number it picks itself; returns (process, display)."""
    read_fd, write_fd = os.pipe()
    xvfb = subprocess.Popen(
        ["Xvfb", "-displayfd", str(write_fd), "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
        pass_fds=(write_fd,), stderr=open(os.path.join(tmp, "xvfb.log"), "w"))
    os.close(write_fd)
    with os.fdopen(read_fd) as numbers:
        number = numbers.readline().strip()
    if not number:
        xvfb.kill()
        sys.exit("Xvfb did not start")
    return xvfb, ":" + number


class MapListener:
    """Reports the monotonic time of every top-level window the X server maps."""

    def __init__(self, display):
        self.events = queue.Queue()
        self.proc = subprocess.Popen(
            ["stdbuf", "-oL", "xev", "-display", display, "-root", "-event", "substructure"],
            stdout=subprocess.PIPE, text=True, bufsize=1)
        threading.Thread(target=self._read, daemon=True).start()
        time.sleep(0.5)  # let it select the events before anything maps

    def _read(self):
        for line in self.proc.stdout:
            if line.startswith("MapNotify"):
                self.events.put(time.monotonic())

    def drain(self):
        while not self.events.empty():
            self.events.get_nowait()

    def next_map(self, timeout):
        return self.events.get(timeout=timeout)

    def stop(self):
        self.proc.terminate()
        self.proc.wait()


def resident_kib(pid):
    with open(f"/proc/{pid}/status") as status:
        for line in status:
            if line.startswith("VmRSS:"):
                return int(line.split()[1])
    return 0


def cpu_ms(pid):
    """Processor time of all the process's threads so far, in ms (from the scheduler)."""
    total = 0
    for task in os.listdir(f"/proc/{pid}/task"):
        try:
            with open(f"/proc/{pid}/task/{task}/schedstat") as stat:
                total += int(stat.read().split()[0])
        except OSError:
            pass  # a thread that has just ended
    return total / 1e6


def measure(listener, argv, env, cwd, settle):
    """Starts argv; returns ms to the first map, processor ms used by then (read
    as soon as the map is seen, so a little after it), and resident KiB after
    settling."""
    listener.drain()
    t0 = time.monotonic()
    proc = subprocess.Popen(argv, env=env, cwd=cwd, stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL)
    try:
        mapped = listener.next_map(timeout=30)
        cpu = cpu_ms(proc.pid)
        rss_mapped = resident_kib(proc.pid)
        time.sleep(settle)
        rss = resident_kib(proc.pid)
    except queue.Empty:
        sys.exit(f"{argv[0]} mapped no window within 30 s")
    finally:
        proc.send_signal(signal.SIGTERM)
        try:
            proc.wait(timeout=5)
        except subprocess.TimeoutExpired:
            proc.kill()
            proc.wait()
    return (mapped - t0) * 1000.0, cpu, rss_mapped, rss


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--settle", type=float, default=1.0,
                        help="seconds after the map at which the memory is read")
    parser.add_argument("--build", default=os.path.join(ROOT, "build"))
    parser.add_argument("--no-build", action="store_true", help="use the build as it is")
    args = parser.parse_args()
    for tool in ("cmake", "Xvfb", "xev", "stdbuf"):
        if shutil.which(tool) is None:
            sys.exit(f"{tool} is missing; scripts/setup.sh installs it")

    build_dir = os.path.abspath(args.build)
    if not args.no_build:
        build(build_dir)
    bare = os.path.join(build_dir, "tools", "corvane-bare-window")

    with tempfile.TemporaryDirectory(prefix="corvane-startup.") as tmp:
        folder = os.path.join(tmp, "corvane")
        run(["cmake", "--install", build_dir, "--prefix", folder], stdout=subprocess.DEVNULL)
        home = os.path.join(tmp, "home")
        os.makedirs(home)
        xvfb, display = start_xvfb(tmp)
        listener = None
        try:
            env = {k: v for k, v in os.environ.items()
                   if k not in ("QT_QPA_PLATFORM", "WAYLAND_DISPLAY", "QT_SCALE_FACTOR")}
            env.update(DISPLAY=display, QT_QPA_PLATFORM="xcb", HOME=home, XDG_RUNTIME_DIR="")
            listener = MapListener(display)
            programs = [("bare window", [bare]), ("corvane", [os.path.join(folder, "corvane")])]
            results = {name: ([], [], [], []) for name, _ in programs}
            for n in range(args.runs + 1):
                # Alternate which goes first, so neither always runs after the other.
                for name, argv in (programs if n % 2 == 0 else programs[::-1]):
                    figures = measure(listener, argv, env, folder, args.settle)
                    if n > 0:  # the first round only warms the caches
                        for values, value in zip(results[name], figures):
                            values.append(value)
        finally:
            if listener is not None:
                listener.stop()
            xvfb.terminate()
            xvfb.wait()

    medians = {}
    for name, values in results.items():
        medians[name] = [statistics.median(v) for v in values]
        ms, cpu, rss_mapped, rss = medians[name]
        print(f"{name:12s} start to mapped: median {ms:6.1f} ms "
              f"(runs {', '.join(f'{t:.0f}' for t in values[0])}), processor {cpu:5.1f} ms; "
              f"resident at the map {rss_mapped / 1024:5.1f} MiB, "
              f"after {args.settle:g} s {rss / 1024:5.1f} MiB")
    time_ratio, cpu_ratio, mapped_ratio, memory_ratio = (
        medians["corvane"][i] / medians["bare window"][i] for i in range(4))
    load = os.getloadavg()[0]
    print(f"ratio start-up {time_ratio:.2f} (target <= {TIME_TARGET}), "
          f"processor time {cpu_ratio:.2f}; memory at the map {mapped_ratio:.2f}, "
          f"after {args.settle:g} s {memory_ratio:.2f} (target <= {MEMORY_TARGET}); "
          f"load average {load:.1f} on {os.cpu_count()} cores")
    return 0 if time_ratio <= TIME_TARGET and memory_ratio <= MEMORY_TARGET else 1


if __name__ == "__main__":
    sys.exit(main())
