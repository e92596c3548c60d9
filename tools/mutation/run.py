#!/usr/bin/env python3
"""Mutation pass: breaks the game on purpose, one listed fault at a time, and reports which faults
the test suite (without the end-to-end tests) catches.

The checkout's files (tracked ones with their uncommitted edits, and new files git does not ignore)
are copied to a scratch folder, built once (Release, two jobs), then for every fault of faults.txt:
the fault's text is replaced in its file, the build is brought up to date, the suite runs until its
first failure, and the file is restored. A fault whose original text is not found exactly once is
reported as n/a; a fault that does not build as build-broken (neither counts as caught).

Usage: tools/mutation/run.py [--only ID,...] [--keep] [--list] [--no-baseline] [--scratch DIR]
Exits with 0 when every fault was caught, 1 when some fault was missed, n/a or build-broken, and 2
when the unchanged checkout does not build or its suite fails.
"""

import argparse
import os
import re
import shutil
import signal
import subprocess
import sys
import time
from pathlib import Path

HERE = Path(__file__).resolve().parent
FAULTS_FILE = HERE / "faults.txt"
JOBS = "2"
# A fault that makes the suite hang is caught, but waiting for every test's own timeout would take
# many minutes: the suite is stopped after this long and the fault counted as caught.
SUITE_TIME_LIMIT = 420
# The suite without the end-to-end tests, in two rounds: the quick tests, then the whole races of
# the race runner, which take a minute each and would otherwise hold up a fault the quick tests catch.
SUITE_ROUNDS = [["-E", r"^(e2e|race)\."], ["-R", r"^race\."]]
CTEST = ["ctest", "-j", JOBS, "--stop-on-failure", "--output-on-failure"]


class Fault:
    def __init__(self, ident, path, what, original, replacement):
        self.ident = ident
        self.path = path
        self.what = what
        self.original = original
        self.replacement = replacement


def read_faults(path):
    """Reads the fault list. A fault is a header line `== id`, then `file:` and `what:` lines, then
    the original text after a line `--- original` and its replacement after `+++ replacement`.
    Blank lines at the end of each text are dropped; `#` lines before the first fault are comments."""
    faults = []
    current = None
    block = None
    lines = {"original": [], "replacement": []}

    def finish():
        if current is None:
            return
        texts = {}
        for name in ("original", "replacement"):
            body = lines[name]
            while body and body[-1].strip() == "":
                body.pop()
            texts[name] = "".join(line + "\n" for line in body)
        if not texts["original"]:
            sys.exit(f"{path}: fault {current['id']} has no original text")
        faults.append(Fault(current["id"], current["file"], current["what"], texts["original"],
                            texts["replacement"]))

    for number, line in enumerate(path.read_text().splitlines(), 1):
        if line.startswith("== "):
            finish()
            current = {"id": line[3:].strip(), "file": "", "what": ""}
            block = None
            lines = {"original": [], "replacement": []}
        elif current is None:
            if line.strip() and not line.startswith("#"):
                sys.exit(f"{path}:{number}: text before the first fault")
        elif line == "--- original":
            block = "original"
        elif line == "+++ replacement":
            block = "replacement"
        elif block is not None:
            lines[block].append(line)
        elif line.startswith("file:"):
            current["file"] = line[5:].strip()
        elif line.startswith("what:"):
            current["what"] = line[5:].strip()
        elif line.strip():
            sys.exit(f"{path}:{number}: expected file:, what: or --- original")
    finish()
    seen = set()
    for fault in faults:
        if fault.ident in seen:
            sys.exit(f"{path}: fault id {fault.ident} appears twice")
        if not fault.path:
            sys.exit(f"{path}: fault {fault.ident} names no file")
        seen.add(fault.ident)
    return faults


def checkout_files(repo):
    """Tracked files that exist, and new files git does not ignore, relative to the repository."""
    listed = subprocess.run(["git", "ls-files", "-z", "--cached", "--others", "--exclude-standard"],
                            cwd=repo, check=True, capture_output=True).stdout.decode()
    return sorted({name for name in listed.split("\0") if name and (repo / name).is_file()})


def sync_sources(repo, source):
    """Makes `source` an exact copy of the checkout's files. Unchanged files are left alone, so
    their times stay and a kept build stays incremental."""
    wanted = set(checkout_files(repo))
    for name in wanted:
        origin, copy = repo / name, source / name
        data = origin.read_bytes()
        if copy.is_file() and copy.read_bytes() == data:
            continue
        copy.parent.mkdir(parents=True, exist_ok=True)
        copy.write_bytes(data)
        shutil.copymode(origin, copy)
    for copy in sorted(source.rglob("*"), reverse=True):
        relative = copy.relative_to(source).as_posix()
        if copy.is_file() and relative not in wanted:
            copy.unlink()
        elif copy.is_dir() and not any(copy.iterdir()):
            copy.rmdir()


class Runner:
    """Runs commands with their output in a log file; Ctrl-C stops the running command first."""

    def __init__(self):
        self.child = None

    def run(self, command, cwd, log, time_limit=None, append=False):
        with open(log, "a" if append else "w") as out:
            self.child = subprocess.Popen(command, cwd=cwd, stdout=out, stderr=subprocess.STDOUT,
                                          start_new_session=True)
            try:
                return self.child.wait(timeout=time_limit)
            except subprocess.TimeoutExpired:
                self.stop()
                return None
            finally:
                self.stop()
                self.child = None

    def stop(self):
        if self.child and self.child.poll() is None:
            os.killpg(self.child.pid, signal.SIGTERM)
            try:
                self.child.wait(timeout=20)
            except subprocess.TimeoutExpired:
                os.killpg(self.child.pid, signal.SIGKILL)
                self.child.wait()


def first_failure(log):
    """Name of the first failed test in a ctest log, or None."""
    text = Path(log).read_text(errors="replace")
    listed = re.search(r"The following tests FAILED:\n\s*\d+ - (\S+)", text)
    if listed:
        return listed.group(1)
    running = re.search(r"Test +#\d+: (\S+) \.+\*+\w", text)
    return running.group(1) if running else None


def build(runner, build_dir, log):
    return runner.run(["cmake", "--build", str(build_dir), "-j", JOBS], build_dir, log) == 0


def run_suite(runner, build_dir, log):
    """Returns (passed, first failing test)."""
    Path(log).write_text("")
    deadline = time.monotonic() + SUITE_TIME_LIMIT
    for selection in SUITE_ROUNDS:
        # ctest runs last time's failures first; without that list every fault sees the same order.
        for failed in (build_dir / "Testing" / "Temporary").glob("LastTestsFailed*"):
            failed.unlink()
        status = runner.run(CTEST + selection, build_dir, log, max(1, deadline - time.monotonic()), append=True)
        if status is None:
            return False, f"(suite stopped after {SUITE_TIME_LIMIT} s)"
        if status != 0:
            return False, first_failure(log) or "(ctest failed)"
    return True, None


def write_whole(path, text):
    # Not interrupted half-way: Ctrl-C waits until the file is written.
    previous = signal.pthread_sigmask(signal.SIG_BLOCK, {signal.SIGINT, signal.SIGTERM})
    try:
        path.write_text(text)
    finally:
        signal.pthread_sigmask(signal.SIG_SETMASK, previous)


def original_text(source, fault):
    """The text of the fault's file, or None when the fault's text is not there exactly once."""
    target = source / fault.path
    if not target.is_file():
        return None
    text = target.read_text()
    return text if text.count(fault.original) == 1 else None


def interrupt(*_):
    raise KeyboardInterrupt()


def remove_scratch(scratch):
    # Only what this script made there: the folder may have been given on the command line.
    for name in ("src", "build", "logs"):
        shutil.rmtree(scratch / name, ignore_errors=True)
    if (scratch / "shared").is_symlink():
        (scratch / "shared").unlink()
    if not any(scratch.iterdir()):
        scratch.rmdir()


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--only", help="comma-separated fault ids to run")
    parser.add_argument("--keep", action="store_true",
                        help="keep the scratch copy and its build; the next run reuses it")
    parser.add_argument("--list", action="store_true",
                        help="only list the faults and whether each applies to the checkout")
    parser.add_argument("--no-baseline", action="store_true",
                        help="skip the run of the unchanged suite before the faults")
    parser.add_argument("--scratch", help="scratch folder (default: build-mutation/ in the checkout)")
    args = parser.parse_args()
    sys.stdout.reconfigure(line_buffering=True)

    repo = Path(subprocess.run(["git", "rev-parse", "--show-toplevel"], cwd=HERE, check=True,
                               capture_output=True, text=True).stdout.strip())
    faults = read_faults(FAULTS_FILE)
    if args.only:
        wanted = [ident.strip() for ident in args.only.split(",") if ident.strip()]
        unknown = [ident for ident in wanted if ident not in {fault.ident for fault in faults}]
        if unknown:
            sys.exit(f"unknown fault ids: {', '.join(unknown)}")
        faults = [fault for fault in faults if fault.ident in wanted]

    width = max(len(fault.ident) for fault in faults)
    file_width = max(len(fault.path) for fault in faults)
    if args.list:
        for fault in faults:
            target = repo / fault.path
            found = target.read_text().count(fault.original) if target.is_file() else 0
            state = "applies" if found == 1 else "n/a"
            print(f"{fault.ident:<{width}}  {fault.path:<{file_width}}  {state:<7}  {fault.what}")
        return 0

    scratch = Path(args.scratch).resolve() if args.scratch else repo / "build-mutation"
    source, build_dir, logs = scratch / "src", scratch / "build", scratch / "logs"
    for folder in (source, build_dir, logs):
        folder.mkdir(parents=True, exist_ok=True)
    # Tests look for the shared files beside the source folder.
    shared, link = repo.parent / "shared", scratch / "shared"
    if shared.is_dir() and not link.exists():
        link.symlink_to(shared)

    runner = Runner()
    for number in (signal.SIGINT, signal.SIGTERM):
        signal.signal(number, interrupt)
    started = time.monotonic()
    results = []
    try:
        sync_sources(repo, source)
        configure = ["cmake", "-S", str(source), "-B", str(build_dir), "-DCMAKE_BUILD_TYPE=Release"]
        if runner.run(configure, scratch, logs / "configure.log") != 0 or not build(runner, build_dir, logs / "build.log"):
            print(f"the unchanged checkout does not build: see {logs}", file=sys.stderr)
            return 2
        print(f"built the checkout in {scratch} ({time.monotonic() - started:.0f} s)")
        if not args.no_baseline:
            passed, failed = run_suite(runner, build_dir, logs / "baseline.log")
            if not passed:
                print(f"the unchanged suite fails ({failed}): see {logs / 'baseline.log'}", file=sys.stderr)
                return 2
            print(f"the unchanged suite passes ({time.monotonic() - started:.0f} s)")

        for fault in faults:
            text = original_text(source, fault)
            if text is None:
                outcome, test = "n/a", ""
            else:
                try:
                    write_whole(source / fault.path, text.replace(fault.original, fault.replacement))
                    if not build(runner, build_dir, logs / f"{fault.ident}.build.log"):
                        outcome, test = "build-broken", ""
                    else:
                        passed, test = run_suite(runner, build_dir, logs / f"{fault.ident}.test.log")
                        outcome = "missed" if passed else "caught"
                        test = test or ""
                finally:
                    write_whole(source / fault.path, text)
            results.append((fault, outcome))
            print(f"{fault.ident:<{width}}  {fault.path:<{file_width}}  {outcome:<12}  {test}")
    except KeyboardInterrupt:
        runner.stop()
        print("\ninterrupted; the scratch sources are restored", file=sys.stderr)
        return 130
    finally:
        if not args.keep:
            remove_scratch(scratch)

    run = [fault for fault, outcome in results if outcome in ("caught", "missed")]
    caught = [fault for fault, outcome in results if outcome == "caught"]
    summary = f"caught {len(caught)} of {len(run)}"
    groups = [(name, [fault.ident for fault, outcome in results if outcome == name])
              for name in ("missed", "n/a", "build-broken")]
    details = "; ".join(f"{name}: {', '.join(idents)}" for name, idents in groups if idents)
    if details:
        summary += f" ({details})"
    print(summary)
    print(f"wall time {time.monotonic() - started:.0f} s")
    return 0 if len(caught) == len(run) and len(run) == len(results) else 1


if __name__ == "__main__":
    sys.exit(main())
