#!/usr/bin/env python3
"""Whole-process benchmark of `bwcore script` against `ctags --language-force=Pascal -x`.

Both programs index the same generated corpus of 20 MB (written by `script_bench --write-corpus`)
as child processes with their output thrown away, ten times each, taking turns; the figure for
each is its least processor time (user and system, as the kernel reports for the child). Prints
both and the ratio against the goal of at most one half. Run it from the release build:

    cmake --preset release && cmake --build --preset release && bench/cli_bench.py build/release
"""
import os
import subprocess
import sys

GOAL = 0.5
RUNS = 10


def processor_time(command):
    """Runs the command with its output thrown away; its user and system time in seconds."""
    with open(os.devnull, "wb") as devnull:
        child = subprocess.Popen(command, stdout=devnull)
        _, status, usage = os.wait4(child.pid, 0)
    child.returncode = os.waitstatus_to_exitcode(status)
    if child.returncode != 0:
        sys.exit(f"cli_bench: {command[0]} failed with exit code {child.returncode}")
    return usage.ru_utime + usage.ru_stime


def main():
    build = sys.argv[1] if len(sys.argv) > 1 else "build/release"
    tool = os.path.join(build, "bin", "bwcore")
    corpus = os.path.join(build, "bench", "cli_corpus.bws")
    subprocess.run([os.path.join(build, "bench", "script_bench"), "--write-corpus", corpus],
                   check=True)
    # Read once so that both programs find the file in the page cache.
    with open(corpus, "rb") as f:
        size = len(f.read())
    commands = {
        "bwcore script": [tool, "script", corpus],
        "ctags -x": ["ctags", "--language-force=Pascal", "-x", corpus],
    }
    best = {name: float("inf") for name in commands}
    for _ in range(RUNS):
        for name, command in commands.items():
            best[name] = min(best[name], processor_time(command))
    print(f"corpus: {corpus}, {size / (1 << 20):.1f} MB")
    for name, seconds in best.items():
        print(f"{name:14} {seconds * 1000:8.0f} ms processor time (best of {RUNS})")
    ratio = best["bwcore script"] / best["ctags -x"]
    verdict = "meets" if ratio <= GOAL else "misses"
    print(f"ratio {ratio:.2f} ({verdict} the goal of at most {GOAL:.2f})")


if __name__ == "__main__":
    main()
