#!/usr/bin/env python3
"""Recomputes every calculation written in the bank's cases and calculation questions and fails,
naming the item, when a figure in the text does not follow from the data given."""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import bankcalc  # noqa: E402
import checks_subject4  # noqa: E402,F401
import checks_subject5  # noqa: E402,F401

if len(sys.argv) > 1:
    os.environ["TARNWICK_BANK_SOURCE_DIR"] = sys.argv[1]

for name in (checks_subject4, checks_subject5):
    for fn in sorted(n for n in dir(name) if n.startswith("check_")):
        getattr(name, fn)()

subjective = [r["id"] for r in bankcalc.records() if r.get("kind") == "question"
              and r.get("type") == "22"]
print(f"{len(bankcalc.CHECKED)} items or cases checked; {len(subjective)} subjective questions")
for f in bankcalc.FAILURES:
    print("FAIL", f)
sys.exit(1 if bankcalc.FAILURES else 0)
