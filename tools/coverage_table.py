"""Per-file line and branch coverage of rtlib/ from an lcov export, with marked lines left out.

A source line that carries the comment "// unreachable: <reason>" is left out of the figures,
together with its branches. The table fails (exit status 1) when the totals fall below the
given minimums, or when a marked line was reached after all.
"""
import argparse
import pathlib
import re
import sys

MARK = re.compile(r"//\s*unreachable:\s*(\S.*)$")

parser = argparse.ArgumentParser()
parser.add_argument("lcov")
parser.add_argument("root")
parser.add_argument("--min-lines", type=float, default=100.0)
parser.add_argument("--min-branches", type=float, default=98.0)
args = parser.parse_args()
root = pathlib.Path(args.root).resolve()

files = {}  # relative path -> (lines {line: count}, branches {(line, id): count})
current = None
for raw in pathlib.Path(args.lcov).read_text().splitlines():
    if raw.startswith("SF:"):
        path = pathlib.Path(raw[3:]).resolve()
        rel = path.relative_to(root).as_posix() if path.is_relative_to(root) else None
        current = files.setdefault(rel, ({}, {})) if rel and rel.startswith("rtlib/") else None
    elif current is None:
        continue
    elif raw.startswith("DA:"):
        line, count = raw[3:].split(",")[:2]
        current[0][int(line)] = current[0].get(int(line), 0) + int(count)
    elif raw.startswith("BRDA:"):
        line, block, branch, count = raw[5:].split(",")
        key = (int(line), f"{block}.{branch}")
        taken = 0 if count == "-" else int(count)
        current[1][key] = current[1].get(key, 0) + taken

errors = []
rows = []
totals = [0, 0, 0, 0, 0]  # lines hit, lines, branches hit, branches, lines left out
for rel in sorted(files):
    lines, branches = files[rel]
    text = (root / rel).read_text().splitlines()
    marked = {n for n, s in enumerate(text, 1) if MARK.search(s)}
    for n in marked:
        if lines.get(n, 0) > 0:
            errors.append(f"{rel}:{n}: marked unreachable but reached")
    kept = {n: c for n, c in lines.items() if n not in marked}
    kept_branches = {k: c for k, c in branches.items() if k[0] not in marked}
    row = [sum(1 for c in kept.values() if c > 0), len(kept),
           sum(1 for c in kept_branches.values() if c > 0), len(kept_branches),
           len(marked & set(lines))]
    missed = sorted(n for n, c in kept.items() if c == 0)
    missed_branches = sorted({k[0] for k, c in kept_branches.items() if c == 0})
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
print(f"{'rtlib/ in all':44} {line_rate:6.1f}% {lh:3}/{lt:<3} {branch_rate:6.1f}% {bh:3}/{bt:<3}  {out:>3}")
if line_rate < args.min_lines:
    errors.append(f"line coverage {line_rate:.1f}% is below {args.min_lines}%")
if branch_rate < args.min_branches:
    errors.append(f"branch coverage {branch_rate:.1f}% is below {args.min_branches}%")
for e in errors:
    print("coverage:", e)
sys.exit(1 if errors else 0)
