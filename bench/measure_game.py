#!/usr/bin/env python3
"""Whole-game measurements of the built game, run headless (SDL's dummy drivers):

  - time from the start of the process to the first presented frame (the game says it);
  - time to load the "Game" group (the game says it: "Resource Loading Time");
  - CPU use over 10 seconds idle on the start screen;
  - CPU use over an autoplayed friendly match in real time (from kick-off screen to time up);
  - peak resident memory of each run.

Usage: bench/measure_game.py [build dir] [runs]   (defaults: build, 3); prints the median of the
runs for each figure. The machine's other load counts in every figure: compare within one run.
"""
import os
import re
import statistics
import subprocess
import sys
import tempfile
import time

BUILD = sys.argv[1] if len(sys.argv) > 1 else "build"
RUNS = int(sys.argv[2]) if len(sys.argv) > 2 else 3
GAME = os.path.abspath(os.path.join(BUILD, "kelvane"))
TICKS = os.sysconf("SC_CLK_TCK")


def cpu_seconds(pid):
    """CPU time of all the process's threads, from the scheduler's nanosecond accounts (the
    tick-based user and system times of /proc/PID/stat misjudge threads that wake 100 times a
    second, as the game loop does); the tick-based figure when those are not available."""
    total = 0
    try:
        for task in os.listdir(f"/proc/{pid}/task"):
            with open(f"/proc/{pid}/task/{task}/schedstat") as f:
                total += int(f.read().split()[0])
        return total / 1e9
    except (OSError, ValueError, IndexError):
        with open(f"/proc/{pid}/stat") as f:
            fields = f.read().rsplit(")", 1)[1].split()
        return (int(fields[11]) + int(fields[12])) / TICKS


def peak_rss_mb(pid):
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith("VmHWM:"):
                return int(line.split()[1]) / 1024
    return 0.0


def start(args, folder):
    env = dict(os.environ, SDL_VIDEODRIVER="dummy", SDL_AUDIODRIVER="dummy",
               XDG_CONFIG_HOME=f"{folder}/config", XDG_DATA_HOME=f"{folder}/share",
               XDG_CACHE_HOME=f"{folder}/cache", XDG_RUNTIME_DIR=folder)
    log = open(f"{folder}/out.txt", "w+")
    proc = subprocess.Popen([GAME] + args, env=env, stdout=log, stderr=subprocess.STDOUT,
                            cwd=os.path.dirname(GAME))
    return proc, log


def wait_for(log, pattern, proc, timeout):
    deadline = time.time() + timeout
    while time.time() < deadline:
        log.seek(0)
        match = re.search(pattern, log.read())
        if match:
            return match
        if proc.poll() is not None:
            break
        time.sleep(0.05)
    raise RuntimeError(f"'{pattern}' did not come")


def idle_run():
    with tempfile.TemporaryDirectory() as folder:
        proc, log = start([], folder)
        try:
            first = float(wait_for(log, r"First frame presented after (\d+) ms", proc, 30).group(1))
            load = float(wait_for(log, r"Resource Loading Time: (\d+)", proc, 30).group(1))
            wait_for(log, r"Screen 4 after", proc, 60)
            time.sleep(1)
            before, t0 = cpu_seconds(proc.pid), time.time()
            time.sleep(10)
            idle = (cpu_seconds(proc.pid) - before) / (time.time() - t0) * 100
            rss = peak_rss_mb(proc.pid)
        finally:
            proc.terminate()
            proc.wait(30)
        return first, load, idle, rss


def match_run():
    with tempfile.TemporaryDirectory() as folder:
        proc, log = start(["-autoplay"], folder)
        try:
            wait_for(log, r"Screen: MainScreen", proc, 60)
            before, t0 = cpu_seconds(proc.pid), time.time()
            wait_for(log, r"Match over: ", proc, 200)
            busy = (cpu_seconds(proc.pid) - before) / (time.time() - t0) * 100
            rss = peak_rss_mb(proc.pid)
        finally:
            proc.terminate()
            proc.wait(30)
        return busy, rss


def main():
    idle = [idle_run() for _ in range(RUNS)]
    match = [match_run() for _ in range(RUNS)]
    med = statistics.median
    print(f"runs: {RUNS} (medians)")
    print(f"start to first frame      {med(r[0] for r in idle):8.0f} ms")
    print(f"'Game' group loaded       {med(r[1] for r in idle):8.0f} ms")
    print(f"idle on the start screen  {med(r[2] for r in idle):8.2f} % of one core")
    print(f"autoplayed match          {med(r[0] for r in match):8.2f} % of one core")
    print(f"peak resident memory      {max(max(r[3] for r in idle), max(r[1] for r in match)):8.1f} MB")


if __name__ == "__main__":
    main()
