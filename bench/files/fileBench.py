#!/usr/bin/python3
"""File to file: the canny tool against a plain OpenCV program, whole processes.

fileBench.py BUILD [ROUNDS]: BUILD holds tools/canny, bench/canny_opencv_files and
bench/canny_bench_pictures. Both programs turn the same JPEG files into PNG edge maps: one
4000 x 3000 picture, then a batch of 48 of 1280 x 960. hyperfine times them in rounds, the two
programs' order swapped every round; the table gives medians over all runs (wall), over the
rounds (CPU time, user and system, all threads) and over separate runs (peak resident memory).
"""
import json
import os
import shlex
import statistics
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
RUNS_PER_ROUND = 3
MEMORY_RUNS = 3


def processor():
    for line in subprocess.run(["lscpu"], capture_output=True, text=True).stdout.splitlines():
        if line.startswith("Model name:"):
            return line.split(":", 1)[1].strip()
    return "unknown"


def pictures(build):
    folder = os.path.join(build, "bench-pictures")
    batch = [os.path.join(folder, "batch", "%02d.jpg" % n) for n in range(48)]
    large = os.path.join(folder, "large.jpg")
    if not all(map(os.path.exists, batch + [large])):
        sources = sorted(os.path.join(ROOT, "resources", "pictures", name)
                         for name in os.listdir(os.path.join(ROOT, "resources", "pictures"))
                         if name.endswith(".png"))
        subprocess.run([os.path.join(build, "bench", "canny_bench_pictures"), folder] + sources,
                       check=True)
    return large, batch


def peak_memory_mb(command):
    """Median peak resident set of a few runs, in MB, as the kernel counts it for the process."""
    peaks = []
    for _ in range(MEMORY_RUNS):
        process = subprocess.Popen(command, stdout=subprocess.DEVNULL)
        _, status, usage = os.wait4(process.pid, 0)
        if status != 0:
            sys.exit("fileBench: failed: " + shlex.join(command))
        peaks.append(usage.ru_maxrss / 1024)
    return statistics.median(peaks)


def timed(commands, rounds):
    """{name: (wall times, CPU time per round)} over `rounds` rounds of hyperfine."""
    walls = {name: [] for name in commands}
    cpus = {name: [] for name in commands}
    names = list(commands)
    with tempfile.NamedTemporaryFile(suffix=".json") as export:
        for round_ in range(rounds):
            order = names if round_ % 2 == 0 else names[::-1]
            subprocess.run(["hyperfine", "--shell=none", "--style=none", "--warmup", "1",
                            "--runs", str(RUNS_PER_ROUND), "--export-json", export.name]
                           + ["--command-name=" + name for name in order]
                           + [shlex.join(commands[name]) for name in order],
                           check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            with open(export.name) as results:
                for result in json.load(results)["results"]:
                    walls[result["command"]] += result["times"]
                    cpus[result["command"]].append(result["user"] + result["system"])
    return {name: (walls[name], cpus[name]) for name in names}


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    build = os.path.abspath(sys.argv[1])
    rounds = int(sys.argv[2]) if len(sys.argv) > 2 else 5
    canny = os.path.join(build, "tools", "canny")
    opencv = os.path.join(build, "bench", "canny_opencv_files")
    large, batch = pictures(build)
    out = tempfile.mkdtemp(prefix="canny-file-bench-")
    cases = [
        ("one 4000x3000 JPEG", {
            "canny": [canny, large, os.path.join(out, "large.png")],
            "opencv": [opencv, out, large]}),
        ("48 JPEGs of 1280x960", {
            "canny": [canny, "--output-dir", out] + batch,
            "opencv": [opencv, out] + batch}),
    ]
    print("\nFile to file (JPEG in, PNG edge map out), whole processes")
    print("processor: %s, %d CPUs for this process, load average %.2f at the start"
          % (processor(), len(os.sched_getaffinity(0)), os.getloadavg()[0]))
    print("%d rounds of %d runs each, the programs alternating; medians\n" % (rounds, RUNS_PER_ROUND))
    print("%-22s %-7s %9s %8s %8s   %s" % ("case", "program", "wall ms", "CPU s", "peak MB",
                                           "opencv/canny: wall  CPU  memory"))
    for label, commands in cases:
        started = time.monotonic()
        times = timed(commands, rounds)
        rows = {}
        for name, command in commands.items():
            walls, cpus = times[name]
            rows[name] = (statistics.median(walls) * 1000, statistics.median(cpus),
                          peak_memory_mb(command))
        for name, (wall, cpu, memory) in rows.items():
            ratios = ""
            if name == "canny":
                other = rows["opencv"]
                ratios = "%22.2f %5.2f %6.2f" % (other[0] / wall, other[1] / cpu, other[2] / memory)
            print(("%-22s %-7s %9.0f %8.2f %8.0f   %s" % (label, name, wall, cpu, memory, ratios))
                  .rstrip())
        print("%-22s (%.0f s)" % ("", time.monotonic() - started))
    subprocess.run(["rm", "-rf", out])


if __name__ == "__main__":
    main()
