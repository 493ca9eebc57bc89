#!/usr/bin/env python3
"""Times seqsmith against midicsv on the benchmark files; bench/run.sh calls it.

    timing.py SEQSMITH DATA_DIR [ROUNDS]

DATA_DIR holds ten.mid, one.mid and batch/*.mid (from make_bench_files).
Outputs go to DATA_DIR/out and next to the batch inputs.

Each group of commands runs once untimed (to warm the page cache, check
that every run exits with 0 and learn the output sizes), then ROUNDS times
interleaved: A, B, C, A, B, C, ... The table gives the median wall time, the
median CPU time (user + system, which a busy machine disturbs less), the
peak resident memory and the size of the output. The peak memory comes
from one more run under `/usr/bin/time -f %M` (not from the timed runs:
a child of this Python process starts with its parent's resident size as
its peak); for a command run once per file it is the largest over the 20
largest files of the batch.
"""

import os
import statistics
import sys
import tempfile
import time


def spawn(argv, cwd=None, stdout=None):
    """Runs argv to its end, in cwd, standard output into the file stdout;
    returns (cpu seconds, peak KB). Stops the benchmark if it fails."""
    actions = []
    if stdout is not None:
        actions.append((os.POSIX_SPAWN_OPEN, 1, stdout,
                        os.O_WRONLY | os.O_CREAT | os.O_TRUNC, 0o644))
    here = os.getcwd()
    if cwd is not None:
        os.chdir(cwd)  # posix_spawn has no working directory action here
    try:
        pid = os.posix_spawnp(argv[0], argv, os.environ, file_actions=actions)
    finally:
        os.chdir(here)
    _, status, usage = os.wait4(pid, 0)
    code = os.waitstatus_to_exitcode(status)
    if code != 0:
        sys.exit(f"timing.py: {' '.join(argv[:4])} ... exited with {code}")
    return usage.ru_utime + usage.ru_stime, usage.ru_maxrss


class Command:
    """One line of the table: one process, or one process per file."""

    def __init__(self, name, runs, cwd=None, output=None, stdout=None,
                 sample=None, warm_up=True):
        self.name = name
        self.runs = runs  # argv lists, run one after another
        self.cwd = cwd
        self.output = output  # gives the size of the output in bytes
        self.stdout = stdout  # the file that receives standard output
        self.sample = sample or runs  # the runs that give the peak memory
        self.warm_up = warm_up
        self.walls, self.cpus = [], []
        self.peak_kb = 0

    def measure_memory(self):
        with tempfile.NamedTemporaryFile("r") as report:
            for argv in self.sample:
                spawn(["/usr/bin/time", "-f", "%M", "-o", report.name] + argv,
                      self.cwd, self.stdout)
                report.seek(0)
                self.peak_kb = max(self.peak_kb,
                                   int(report.read().split()[-1]))

    def run(self):
        cpu, peak = 0.0, 0
        start = time.perf_counter()
        for argv in self.runs:
            c, p = spawn(argv, self.cwd, self.stdout)
            cpu += c
            peak = max(peak, p)
        return time.perf_counter() - start, cpu, peak

    def timed(self):
        wall, cpu, _ = self.run()
        self.walls.append(wall)
        self.cpus.append(cpu)


def interleave(commands, rounds):
    for command in commands:
        if command.warm_up:
            command.run()  # not recorded
        command.measure_memory()
    for _ in range(rounds):
        for command in commands:
            command.timed()


def size_of(*paths):
    return lambda: sum(os.path.getsize(p) for p in paths)


def mb(n):
    return n / 1e6


def main():
    if len(sys.argv) not in (3, 4):
        sys.exit(__doc__)
    seqsmith = os.path.abspath(sys.argv[1])
    data = os.path.abspath(sys.argv[2])
    rounds = int(sys.argv[3]) if len(sys.argv) == 4 else 5
    out = os.path.join(data, "out")
    os.makedirs(out, exist_ok=True)
    batch_dir = os.path.join(data, "batch")
    batch = sorted(f for f in os.listdir(batch_dir) if f.endswith(".mid"))
    batch_bytes = sum(os.path.getsize(os.path.join(batch_dir, f)) for f in batch)
    tunes = [os.path.join(batch_dir, f[:-4] + ".tune") for f in batch]
    csvs = [os.path.join(batch_dir, f[:-4] + ".csv") for f in batch]

    groups = []
    for label, stem in (("10 MB file", "ten"), ("1 MB file", "one")):
        src = os.path.join(data, stem + ".mid")
        tune = os.path.join(out, stem + ".tune")
        csv = os.path.join(out, stem + ".csv")
        floor = os.path.join(out, stem + ".floor")
        seq = Command("seqsmith", [[seqsmith, "-o", tune, src]],
                      output=size_of(tune))
        peer = Command("midicsv", [["midicsv", src, csv]], output=size_of(csv))
        seq.run()  # the floor writes as much as seqsmith does
        write = Command(f"write {mb(os.path.getsize(tune)):.1f} MB (head)",
                        [["head", "-c", str(os.path.getsize(tune)), "/dev/zero"]],
                        output=size_of(floor), stdout=floor)
        read = Command("read input (cat)", [["cat", src]], stdout=os.devnull)
        groups.append((label, os.path.getsize(src), [seq, peer, read, write]))

    one_process = Command("seqsmith, one process", [[seqsmith] + batch],
                          cwd=batch_dir, output=size_of(*tunes))
    one_process.run()
    tune_total = sum(os.path.getsize(t) for t in tunes)
    # The per-file runs need no warm-up: the one-process run has read every
    # file. Their peak memory: the largest files.
    largest = sorted(batch, key=lambda f: os.path.getsize(
        os.path.join(batch_dir, f)))[-20:]
    per_file_peer = Command("midicsv, once per file",
                            [["midicsv", f, f[:-4] + ".csv"] for f in batch],
                            cwd=batch_dir, output=size_of(*csvs),
                            sample=[["midicsv", f, f[:-4] + ".csv"]
                                    for f in largest], warm_up=False)
    per_file = Command("seqsmith, once per file", [[seqsmith, f] for f in batch],
                       cwd=batch_dir, output=size_of(*tunes),
                       sample=[[seqsmith, f] for f in largest], warm_up=False)
    read = Command("read inputs (cat)", [["cat"] + batch], cwd=batch_dir,
                   stdout=os.devnull)
    floor = os.path.join(out, "batch.floor")
    write = Command(f"write {mb(tune_total):.1f} MB (head)",
                    [["head", "-c", str(tune_total), "/dev/zero"]],
                    output=size_of(floor), stdout=floor)
    groups.append((f"batch of {len(batch)} files", batch_bytes,
                   [one_process, per_file_peer, per_file, read, write]))

    print(f"load average before: {os.getloadavg()[0]:.2f}; {rounds} rounds, "
          "interleaved; medians")
    for _, _, commands in groups:
        interleave(commands, rounds)

    header = (f"{'input':<30} {'command':<26} {'wall s':>8} {'cpu s':>8} "
              f"{'peak MB':>8} {'out MB':>8}")
    print(header)
    print("-" * len(header))
    for label, size, commands in groups:
        title = f"{label} ({mb(size):.1f} MB)"
        for command in commands:
            out_size = command.output() if command.output else 0
            print(f"{title:<30} {command.name:<26} "
                  f"{statistics.median(command.walls):8.3f} "
                  f"{statistics.median(command.cpus):8.3f} "
                  f"{command.peak_kb / 1024:8.1f} "
                  f"{mb(out_size) if out_size else 0:8.1f}")
            title = ""
    print(f"load average after: {os.getloadavg()[0]:.2f}")

    def ratio(a, b):
        wall = statistics.median(a.walls) / statistics.median(b.walls)
        cpu = statistics.median(a.cpus) / statistics.median(b.cpus)
        return f"{wall:6.2f} (wall)  {cpu:6.2f} (cpu)"

    ten_seq, ten_peer = groups[0][2][0], groups[0][2][1]
    one_seq, one_peer = groups[1][2][0], groups[1][2][1]
    print()
    print("ratios (above 1: seqsmith is faster)")
    print(f"  10 MB file, midicsv / seqsmith:                        "
          f"{ratio(ten_peer, ten_seq)}")
    print(f"  1 MB file, midicsv / seqsmith:                         "
          f"{ratio(one_peer, one_seq)}")
    print(f"  batch, midicsv per file / seqsmith one process:        "
          f"{ratio(per_file_peer, one_process)}")
    print(f"  batch, seqsmith per file / seqsmith one process:       "
          f"{ratio(per_file, one_process)}")
    print(f"  batch, midicsv per file / seqsmith per file:           "
          f"{ratio(per_file_peer, per_file)}")
    peak = ten_seq.peak_kb * 1024
    print(f"seqsmith peak memory per input byte, 10 MB file: "
          f"{peak / groups[0][1]:.2f} bytes "
          f"({mb(peak):.1f} MB for {mb(groups[0][1]):.1f} MB)")
    print(f"seqsmith throughput, 10 MB file: "
          f"{mb(groups[0][1]) / statistics.median(ten_seq.walls):.1f} MB/s "
          f"of input (wall)")


if __name__ == "__main__":
    main()
