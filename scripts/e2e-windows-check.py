#!/usr/bin/env python3
"""Checks a changeover made through the window (scripts/e2e-windows.sh).

    e2e-windows-check.py <before.csv> <after.csv> <record.csv>

before and after hold one line per row of the four tables: table, id, sales code,
purchase code, the department it is filed under. The rows whose codes changed must be
exactly the rows of the change record, with the record's old and new codes; the
record must hold one department and, besides the rows below that department, exactly
one product of another department (the two ticks of the run). Prints what changed;
exits 1 with the reasons otherwise.
"""
import csv
import sys


def rows(path):
    with open(path, newline="", encoding="utf-8") as f:
        return {(r[0], r[1]): r[2:] for r in csv.reader(f) if r}


def record_rows(path):
    with open(path, newline="", encoding="utf-8-sig") as f:
        lines = list(csv.reader(f))
    start = lines.index([]) + 1  # the header block ends at the first blank line
    titles = lines[start]
    return [dict(zip(titles, line)) for line in lines[start + 1:] if line]


def main(before_path, after_path, record_path):
    before, after = rows(before_path), rows(after_path)
    record = record_rows(record_path)
    problems = []

    changed = {key for key in before if before[key][:2] != after.get(key, before[key])[:2]}
    recorded = {(r["Table"], r["Id"]): r for r in record}
    if changed != set(recorded):
        problems.append("changed but not recorded: %s; recorded but not changed: %s"
                        % (sorted(changed - set(recorded)), sorted(set(recorded) - changed)))
    for key, r in recorded.items():
        if key not in before:
            continue
        old = [r["Old sales code"], r["Old purchase code"]]
        new = [r["New sales code"], r["New purchase code"]]
        if before[key][:2] != old or after[key][:2] != new:
            problems.append("%s %s: %s -> %s in the database, %s -> %s in the record"
                            % (key[0], key[1], before[key][:2], after[key][:2], old, new))
        if r["New sales rate"] != "13.5":
            problems.append("%s %s moved to the rate %s" % (key[0], key[1], r["New sales rate"]))

    departments = [key for key in recorded if key[0] == "Department"]
    if len(departments) != 1:
        problems.append("the record holds %d departments, not the one ticked" % len(departments))
    else:
        ticked = departments[0][1]
        elsewhere = [key for key in recorded if before.get(key, ["", "", ""])[2] != ticked]
        if len(elsewhere) != 1 or elsewhere[0][0] != "Product":
            problems.append("rows outside department %s: %s (only the one ticked product belongs there)"
                            % (ticked, elsewhere))
        counts = {}
        for table, _ in recorded:
            counts[table] = counts.get(table, 0) + 1
        print("changed and recorded: %s; the ticked department %s, the ticked product of another department %s"
              % (", ".join("%d %s" % (n, t) for t, n in sorted(counts.items())), ticked,
                 elsewhere[0][1] if elsewhere else "none"))

    for p in problems:
        print("e2e-windows-check: " + p, file=sys.stderr)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
