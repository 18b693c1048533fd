"""Per-file line and branch coverage of rtlib/ and include/ from llvm-cov exports (lcov for lines,
JSON for branches), with marked lines left out. A branch of a template counts as taken when any of
its instantiations takes it.

Two marker comments leave code out, each with its reason, on the line itself or alone on the
line directly above it:
  // unreachable: <reason>         the line never runs: it is left out with its branches;
  // unreachable branch: <reason>  the line runs but one outcome of its branches never comes:
                                   its branches are left out.
The table fails (exit status 1) when the totals fall below the given minimums, or when a
marker no longer holds (the line ran, or every outcome of its branches came).
"""
import argparse
import json
import pathlib
import re
import sys

MARK = re.compile(r"//\s*unreachable:\s*\S")
BRANCH_MARK = re.compile(r"//\s*unreachable branch:\s*\S")


def marked_lines(text, pattern):
    """Lines a marker applies to: its own, or the next one when the marker stands alone."""
    found = set()
    for n, s in enumerate(text, 1):
        if pattern.search(s):
            found.add(n + 1 if s.lstrip().startswith("//") else n)
    return found


parser = argparse.ArgumentParser()
parser.add_argument("lcov")
parser.add_argument("json")
parser.add_argument("root")
parser.add_argument("--min-lines", type=float, default=100.0)
parser.add_argument("--min-branches", type=float, default=98.0)
args = parser.parse_args()
root = pathlib.Path(args.root).resolve()

files = {}  # relative path -> (lines {line: count}, branches {(place, outcome): count})


def entry(name):
    path = pathlib.Path(name).resolve()
    rel = path.relative_to(root).as_posix() if path.is_relative_to(root) else None
    return files.setdefault(rel, ({}, {})) if rel and rel.startswith(("rtlib/", "include/")) else None


current = None
for raw in pathlib.Path(args.lcov).read_text().splitlines():
    if raw.startswith("SF:"):
        current = entry(raw[3:])
    elif current is None:
        continue
    elif raw.startswith("DA:"):
        line, count = raw[3:].split(",")[:2]
        current[0][int(line)] = current[0].get(int(line), 0) + int(count)

# Each branch: line, column, end line, end column, times true, times false, ...
for data in json.loads(pathlib.Path(args.json).read_text())["data"]:
    for f in data["files"]:
        found = entry(f["filename"])
        if found is None:
            continue
        for b in f["branches"]:
            place = tuple(b[0:4])
            for outcome, count in ((True, b[4]), (False, b[5])):
                found[1][(place, outcome)] = found[1].get((place, outcome), 0) + count

errors = []
rows = []
totals = [0, 0, 0, 0, 0]  # lines hit, lines, branches hit, branches, lines left out
for rel in sorted(files):
    lines, branches = files[rel]
    text = (root / rel).read_text().splitlines()
    marked = marked_lines(text, MARK)
    branch_marked = marked_lines(text, BRANCH_MARK)
    for n in marked:
        if lines.get(n, 0) > 0:
            errors.append(f"{rel}:{n}: marked unreachable but reached")
    for n in branch_marked:
        outcomes = [c for k, c in branches.items() if k[0][0] == n]
        if not outcomes or all(c > 0 for c in outcomes):
            errors.append(f"{rel}:{n}: marked as a branch that is never taken, but it is")
    kept = {n: c for n, c in lines.items() if n not in marked}
    # "if constexpr" is decided by the compiler; its folded branches never run.
    compiled = {n for n, s in enumerate(text, 1) if "if constexpr" in s}
    kept_branches = {k: c for k, c in branches.items() if k[0][0] not in marked | compiled | branch_marked}
    row = [sum(1 for c in kept.values() if c > 0), len(kept),
           sum(1 for c in kept_branches.values() if c > 0), len(kept_branches),
           len((marked & set(lines)) | branch_marked)]
    missed = sorted(n for n, c in kept.items() if c == 0)
    missed_branches = sorted({k[0][0] for k, c in kept_branches.items() if c == 0})
    rows.append((rel, row, missed, missed_branches))
    totals = [a + b for a, b in zip(totals, row)]


def percent(hit, total):
    return 100.0 * hit / total if total else 100.0


print(f"{'file':44} {'lines':>13} {'branches':>13}  left out")
for rel, (lh, lt, bh, bt, out), missed, missed_branches in rows:
    note = ""
    if missed:
        note += " lines not reached: " + ",".join(map(str, missed))
    if missed_branches:
        note += " branches not taken at: " + ",".join(map(str, missed_branches))
    print(f"{rel:44} {percent(lh, lt):6.1f}% {lh:3}/{lt:<3} {percent(bh, bt):6.1f}% {bh:3}/{bt:<3}"
          f"  {out or '':>3}{note}")
lh, lt, bh, bt, out = totals
line_rate, branch_rate = percent(lh, lt), percent(bh, bt)
print(f"{'rtlib/ and include/ in all':44} {line_rate:6.1f}% {lh:3}/{lt:<3} {branch_rate:6.1f}% {bh:3}/{bt:<3}  {out:>3}")
if line_rate < args.min_lines:
    errors.append(f"line coverage {line_rate:.1f}% is below {args.min_lines}%")
if branch_rate < args.min_branches:
    errors.append(f"branch coverage {branch_rate:.1f}% is below {args.min_branches}%")
for e in errors:
    print("coverage:", e)
sys.exit(1 if errors else 0)
