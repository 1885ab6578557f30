#!/usr/bin/env python3
"""Footprint of the game beside a bare GLFW program (bench/footprint_baseline.cpp).

For each program, three runs: time from spawn to the first presented frame, peak resident
memory (VmHWM), CPU per presented frame over 5 s of the title and 5 s of play, for all
threads and for the main thread alone (from /proc/PID/task/*/stat), and the game's start-up
timeline. Both programs write "timeline NAME NS" and "frame N NS" lines on standard error
when ZINDREL_TIMELINE is set; NS is CLOCK_MONOTONIC, the clock time.monotonic_ns() reads.
Play starts with a real key press (XTEST, through xdotool). Needs a display: run it under
scripts/with-display.sh. Usage: footprint.py BUILD_DIR [RUNS]
"""
import os
import statistics
import subprocess
import sys
import threading
import time

TICK = os.sysconf("SC_CLK_TCK")
SPLASH_FRAMES = 280  # the game's splash lasts 275 frames; the title follows
WINDOW_SECONDS = 5.0
PHASES = ["main", "archive", "window library", "audio", "world", "sounds", "window",
          "controller", "graphics"]  # "first frame" follows; the baseline marks main and window


class Run:
    """One program started with its marks read on a thread as they arrive."""

    def __init__(self, argv, cwd):
        env = dict(os.environ, ZINDREL_TIMELINE="1", ALSOFT_DRIVERS="null")
        self.spawned = time.monotonic_ns()
        self.process = subprocess.Popen(argv, cwd=cwd, env=env, stdout=subprocess.DEVNULL,
                                        stderr=subprocess.PIPE, text=True)
        self.marks = {}
        self.frames = 0
        self.first_frame = None
        self.lock = threading.Lock()
        threading.Thread(target=self._read, daemon=True).start()

    def _read(self):
        for line in self.process.stderr:
            words = line.split()
            if len(words) < 3 or words[0] not in ("timeline", "frame"):
                continue
            with self.lock:
                if words[0] == "timeline" and len(words) >= 4:
                    moment = (int(words[1]) - self.spawned) / 1e6
                    self.marks[" ".join(words[3:])] = (moment, int(words[2]) / 1024.0)
                elif words[0] == "frame":
                    self.frames = int(words[1])
                    if self.first_frame is None:
                        self.first_frame = (int(words[2]) - self.spawned) / 1e6

    def frame_count(self):
        with self.lock:
            return self.frames

    def wait_for_frame(self, number, timeout=60.0):
        end = time.monotonic() + timeout
        while self.frame_count() < number:
            if self.process.poll() is not None or time.monotonic() > end:
                raise RuntimeError(f"no frame {number} (exit {self.process.poll()})")
            time.sleep(0.01)

    def ticks(self):
        """(all threads, main thread) CPU ticks so far."""
        pid = self.process.pid
        total = main = 0
        for task in os.listdir(f"/proc/{pid}/task"):
            try:
                with open(f"/proc/{pid}/task/{task}/stat") as stat:
                    fields = stat.read().rsplit(")", 1)[1].split()
            except OSError:
                continue  # a thread that ended meanwhile
            used = int(fields[11]) + int(fields[12])  # utime, stime
            total += used
            if int(task) == pid:
                main = used
        return total, main

    def measure(self, seconds, during=None):
        """CPU ms per presented frame over seconds: (all threads, main thread, frames)."""
        frames0, (total0, main0) = self.frame_count(), self.ticks()
        end = time.monotonic() + seconds
        while time.monotonic() < end:
            if during is not None:
                during()
            time.sleep(0.25)
        frames1, (total1, main1) = self.frame_count(), self.ticks()
        frames = max(frames1 - frames0, 1)
        per_frame = 1000.0 / TICK / frames
        return (total1 - total0) * per_frame, (main1 - main0) * per_frame, frames

    def peak_kb(self):
        with open(f"/proc/{self.process.pid}/status") as status:
            for line in status:
                if line.startswith("VmHWM:"):
                    return int(line.split()[1])
        return 0


def xdotool(*args):
    subprocess.run(["xdotool", *args], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                   check=False)


def focus(pid):
    found = subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--pid", str(pid)],
                           capture_output=True, text=True, timeout=30)
    windows = found.stdout.split()
    if windows:
        xdotool("windowfocus", "--sync", windows[-1])


def measure_program(argv, cwd, title_frame):
    run = Run(argv, cwd)
    try:
        run.wait_for_frame(1)
        focus(run.process.pid)
        run.wait_for_frame(title_frame, timeout=120)
        title = run.measure(WINDOW_SECONDS)
        xdotool("key", "space")  # the first shot starts a game
        time.sleep(0.5)
        play = run.measure(WINDOW_SECONDS, during=lambda: xdotool("key", "space"))
        peak = run.peak_kb() / 1024.0
        xdotool("key", "Escape")
        try:
            run.process.wait(timeout=10)
        except subprocess.TimeoutExpired:
            run.process.kill()
            run.process.wait()
    finally:
        if run.process.poll() is None:
            run.process.kill()
            run.process.wait()
    with run.lock:
        marks = dict(run.marks)
    return {"first frame (ms)": run.first_frame, "peak memory VmHWM (MB)": peak,
            "title CPU/frame, all threads (ms)": title[0],
            "title CPU/frame, main thread (ms)": title[1], "title frames in 5 s": title[2],
            "play CPU/frame, all threads (ms)": play[0],
            "play CPU/frame, main thread (ms)": play[1], "play frames in 5 s": play[2],
            "marks": marks}


def main():
    build = sys.argv[1] if len(sys.argv) > 1 else "build"
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 3
    game = os.path.abspath(os.path.join(build, "bin", "zindrel"))
    baseline = os.path.abspath(os.path.join(build, "bench", "footprint_baseline"))
    results = {"baseline": [], "zindrel": []}
    for _ in range(runs):
        # Alternating, so a change of load on the machine falls on both programs alike.
        results["baseline"].append(measure_program([baseline], os.path.dirname(baseline), SPLASH_FRAMES))
        results["zindrel"].append(measure_program([game], os.path.dirname(game), SPLASH_FRAMES))

    with open("/proc/loadavg") as loadavg:
        load = loadavg.read().split()[:3]
    print(f"footprint: medians of {runs} runs each; load average {' '.join(load)}, "
          f"{os.cpu_count()} cores")
    rows = [key for key in results["zindrel"][0] if key != "marks"]
    print(f"| {'figure':<36} | {'baseline':>9} | {'zindrel':>9} | {'ratio':>6} |")
    print(f"|{'-' * 38}|{'-' * 11}:|{'-' * 11}:|{'-' * 8}:|")
    for key in rows:
        base = statistics.median(r[key] for r in results["baseline"])
        ours = statistics.median(r[key] for r in results["zindrel"])
        ratio = f"{ours / base:.2f}" if base else "-"
        print(f"| {key:<36} | {base:>9.2f} | {ours:>9.2f} | {ratio:>6} |")

    print()
    print("start-up timeline (ms since spawn, the phase's own share, resident MB after it; "
          "medians)")
    print(f"| {'phase':<15} | {'zindrel at':>10} | {'takes':>7} | {'MB':>6} "
          f"| {'baseline at':>11} | {'MB':>6} |")
    print(f"|{'-' * 17}|{'-' * 11}:|{'-' * 8}:|{'-' * 7}:|{'-' * 12}:|{'-' * 7}:|")

    def phase_median(program, phase, index):
        values = [r["marks"][phase][index] for r in results[program] if phase in r["marks"]]
        return statistics.median(values) if values else None

    def cell(value, width, digits):
        return f"{value:>{width}.{digits}f}" if value is not None else f"{'-':>{width}}"

    previous = 0.0
    for phase in PHASES + ["first frame"]:
        at = phase_median("zindrel", phase, 0)
        if at is None:
            continue
        print(f"| {phase:<15} | {cell(at, 10, 1)} | {cell(at - previous, 7, 1)} "
              f"| {cell(phase_median('zindrel', phase, 1), 6, 1)} "
              f"| {cell(phase_median('baseline', phase, 0), 11, 1)} "
              f"| {cell(phase_median('baseline', phase, 1), 6, 1)} |")
        previous = at

if __name__ == "__main__":
    main()
