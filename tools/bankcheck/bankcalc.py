"""Shared helpers of the bank's calculation checks: read the bank source, recompute each figure
and require that the figure, rounded as the text shows it, is written in the item."""
import glob
import math
import os
import re

FAILURES = []
CHECKED = set()
_RECORDS = None


def parse(path):
    recs, cur, block = [], None, None
    for line in open(path, encoding="utf-8").read().split("\n"):
        line = line.rstrip("\r")
        if block is not None:
            if line.startswith("  "):
                cur[block].append(line[2:].strip())
                continue
            if not line.strip():
                cur[block].append("")
                continue
            block = None
        t = line.strip()
        if not t or t.startswith("#"):
            continue
        if t.startswith("@"):
            cur = {"kind": t[1:].strip(), "file": path}
            recs.append(cur)
            continue
        m = re.match(r"^([A-Za-z]\w*)\s*:\s?(.*)$", line)
        key, value = m.group(1), m.group(2).strip()
        if value == "|":
            cur[key] = []
            block = key
        else:
            cur[key] = value
    return recs


def records(folder=None):
    global _RECORDS
    if _RECORDS is None:
        folder = folder or os.environ.get("TARNWICK_BANK_SOURCE_DIR") or os.path.join(
            os.path.dirname(__file__), "..", "..", "bank")
        _RECORDS = []
        for f in sorted(glob.glob(os.path.join(folder, "**", "*.txt"), recursive=True)):
            if not f.endswith("CMakeLists.txt"):
                _RECORDS += parse(f)
    return _RECORDS


def text_of(rid):
    for r in records():
        if r.get("id") == rid:
            return "\n".join(r.get("text", []) + r.get("explanation", []))
    FAILURES.append(f"{rid}: no such record")
    return ""


def fmt(value, nd):
    s = f"{rn(value, nd):.{nd}f}"
    return s.lstrip("-") if float(s) == 0 else s


def plain(text):
    """The text with full-width minus signs and commas made plain and thousands written as
    '20 000' joined to '20000'."""
    text = text.replace("－", "-").replace("，", ",")
    return re.sub(r"(?<=\d) (?=\d{3}(?![0-9.]))", "", text)


def show(rid, value, nd=2, what=""):
    """The item rid must write value rounded to nd decimals (with a minus sign written '-' or
    '－', thousands written together or grouped by a space)."""
    CHECKED.add(rid.split("-")[0] if "CASE" in rid else rid)
    body = plain(text_of(rid))
    s = fmt(value, nd)
    pattern = r"(?<![0-9.])" + re.escape(s) + r"(?![0-9])"
    if not re.search(pattern, body):
        FAILURES.append(f"{rid}: {what or 'value'} should read {s} (computed {value!r})")


def near(a, b, tol, what):
    if abs(a - b) > tol:
        FAILURES.append(f"{what}: {a!r} differs from {b!r}")


def annuity(p, i, n):
    return p * i / (1 - (1 + i) ** -n)


def pa(i, n):
    return (1 - (1 + i) ** -n) / i


def pf(i, n):
    return (1 + i) ** -n


def least_squares(x, y):
    """The sums of a one-variable regression of y on x: n, means, Sxx, Syy, Sxy, slope b, intercept a."""
    n = len(x)
    mx, my = sum(x) / n, sum(y) / n
    sxx = sum((u - mx) ** 2 for u in x)
    syy = sum((v - my) ** 2 for v in y)
    sxy = sum((u - mx) * (v - my) for u, v in zip(x, y))
    b = sxy / sxx
    return n, mx, my, sxx, syy, sxy, b, my - b * mx


def npv(rate, flows, start=0):
    return sum(cf * (1 + rate) ** -(t + start) for t, cf in enumerate(flows))


def irr(flows, lo=-0.9, hi=1.0, start=0):
    f = lambda r: npv(r, flows, start)
    for _ in range(200):
        mid = (lo + hi) / 2
        if f(lo) * f(mid) <= 0:
            hi = mid
        else:
            lo = mid
    return (lo + hi) / 2


def r2(x):
    """Round half away from zero to two decimals, as the model answers do."""
    return math.floor(abs(x) * 100 + 0.5 + 1e-9) / 100 * (1 if x >= 0 else -1)


def rn(x, nd):
    k = 10 ** nd
    return math.floor(abs(x) * k + 0.5 + 1e-9) / k * (1 if x >= 0 else -1)
