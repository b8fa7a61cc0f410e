"""Calculations of subject 5: the cases and subjective questions."""
import math
from bankcalc import show, near, pa, pf, npv, irr, rn


def check_swot_51010322CASE0001():
    q = "51010322CASE0001-2"
    show(q, 0.25 * 4 + 0.20 * 3 - 0.30 * 3 - 0.25 * 2)
    show(q, 0.30 * 4 + 0.30 * 3 - 0.25 * 3 - 0.15 * 2)


def check_regression_51020122CASE0001():
    x = [3.2, 3.5, 3.9, 4.2, 4.6, 5.0]
    y = [41, 45, 50, 53, 58, 62]
    n = len(x)
    mx, my = sum(x) / n, sum(y) / n
    sxx = sum((a - mx) ** 2 for a in x)
    syy = sum((b - my) ** 2 for b in y)
    sxy = sum((a - mx) * (b - my) for a, b in zip(x, y))
    b = sxy / sxx
    a = my - b * mx
    q1, q2, q3 = (f"51020122CASE0001-{k}" for k in (1, 2, 3))
    show(q1, sum(u * v for u, v in zip(x, y)), 1)
    show(q1, sum(u * u for u in x), 1)
    show(q1, sum(x) ** 2 / n, 4)
    show(q1, sxx, 4)
    show(q1, b, 3); show(q1, b, 4); show(q1, a, 3); show(q1, mx, 4)
    show(q2, sxx, 4); show(q2, syy, 1); show(q2, sxy, 1)
    r = sxy / math.sqrt(sxx * syy)
    show(q2, math.sqrt(sxx * syy), 3); show(q2, r, 3)
    fit = [a + b * u for u in x]
    for v in fit:
        show(q2, v, 3, "fitted value")
    sse = sum((v - w) ** 2 for v, w in zip(y, fit))
    sy = math.sqrt(sse / (n - 2))
    sb = sy / math.sqrt(sxx)
    show(q2, sse, 4); show(q2, sy, 5); show(q2, math.sqrt(sxx), 5); show(q2, sb, 5)
    show(q2, b / sb, 2); show(q2, rn(b, 4) / rn(sb, 5), 2)
    y0 = a + b * 5.5
    show(q3, a, 4); show(q3, y0, 3); show(q3, rn(a, 4) + rn(b, 4) * 5.5, 3)
    root = math.sqrt(1 + 1 / n + (5.5 - mx) ** 2 / sxx)
    s0 = sy * root
    show(q3, 1 / n, 4); show(q3, (5.5 - mx) ** 2 / sxx, 4); show(q3, root, 4); show(q3, s0, 4)
    show(q3, rn(sy, 5) * rn(root, 4), 4)
    show(q3, 2.776 * s0, 3); show(q3, y0 - 2.776 * s0, 3); show(q3, y0 + 2.776 * s0, 3)


def check_bcg_510102220001():
    q = "510102220001"
    for v in (24 / 16, 30 / 12, 5 / 20, 4 / 25):
        show(q, v)


def check_income_elasticity_510202220001():
    q = "510202220001"
    inc = [42000, 44520, 47200, 49560]
    vol = [100.0, 104.8, 110.0, 114.0]
    es = []
    for k in range(1, 4):
        gi = inc[k] / inc[k - 1] - 1
        gv = vol[k] / vol[k - 1] - 1
        show(q, gi * 100); show(q, gv * 100)
        es.append(gv / gi)
        show(q, es[-1], 3)
    e = sum(rn(v, 3) for v in es) / 3
    show(q, e, 3)
    g = rn(e, 3) * 0.06
    show(q, g * 100, 3)
    show(q, (1 + g) ** 3, 4)
    show(q, 114.0 * rn((1 + g) ** 3, 4))


def check_consumption_coefficient_510202220002():
    q = "510202220002"
    cs = [25 / 500, 24 / 800, 16 / 200]
    out = [620 * cs[0], 900 * cs[1], 260 * cs[2]]
    for v in out:
        show(q, v, 1)
    show(q, sum(out), 1)
    show(q, sum(out) - 65, 1)


def check_smoothing_510203220001():
    q = "510203220001"
    x = [52, 48, 55, 60, 58, 63, 61, 66, 70, 68, 72, 75]
    show(q, sum(x[-3:]) / 3)
    f = sum(x[:3]) / 3
    show(q, f)
    for v in x:
        f = 0.3 * v + 0.7 * f
        show(q, f, 2, "smoothed value")


def check_debt_52010222CASE0001():
    q1, q2, q3 = (f"52010222CASE0001-{k}" for k in (1, 2, 3))
    i1 = 2000 / 2 * 0.06
    i2 = (2000 + i1 + 3000 / 2) * 0.06
    show(q1, i1); show(q1, i2); show(q1, i1 + i2)
    loan = 5000 + i1 + i2
    show(q1, loan); show(q1, loan / 5)
    li = rn(loan * 0.06, 2)
    show(q2, li)
    it = li + 25
    show(q2, it)
    tc = 5200 + 900 + 100 + it
    show(q2, tc)
    pt = 8000 - 80 - tc
    tax = rn(pt * 0.25, 2)
    show(q2, pt); show(q2, tax); show(q2, pt - tax)
    ebit = pt + it
    show(q3, ebit); show(q3, ebit / it)
    avail = ebit + 1000 - tax
    due = loan / 5 + it
    show(q3, avail); show(q3, due); show(q3, avail / due)


def check_probability_53010222CASE0001():
    ps = [0.18, 0.12, 0.30, 0.20, 0.12, 0.08]
    vs = [2600, 1900, 1200, 500, -300, -1000]
    near(sum(ps), 1.0, 1e-9, "53010222CASE0001 probabilities")
    e = sum(p * v for p, v in zip(ps, vs))
    d = sum(p * (v - e) ** 2 for p, v in zip(ps, vs))
    q = "53010222CASE0001-2"
    show(q, e, 0); show(q, d, 0); show(q, math.sqrt(d)); show(q, math.sqrt(d) / e)
    show("53010222CASE0001-3", 1 - 0.20)


def check_economic_520201220001():
    q = "520201220001"
    inv = 8000 - 300 - 500 + 700
    ben = 2000 * 1.1 + 150
    cost = 1200 - 300 + 300 * 0.8
    show(q, inv, 0); show(q, ben, 0); show(q, cost, 0); show(q, ben - cost, 0)
    a = inv / 1.08
    b = (ben - cost) * 8.5595 / 1.08
    show(q, a); show(q, b); show(q, rn(b, 2) - rn(a, 2))
    near(pa(0.08, 15), 8.5595, 5e-5, "(P/A,8%,15)")


def check_sensitivity_530101220001():
    q = "530101220001"
    for r, ch in ((8.6, -0.10), (12.2, 0.10), (11.9, 0.10)):
        show(q, ((r - 14) / 14) / ch)
        show(q, ch * 100 * (14 - 10) / (14 - r))


def check_decision_tree_530203220001():
    q = "530203220001"
    big = (0.7 * 200 + 0.3 * -40) * 10
    small = (0.7 * 80 + 0.3 * 60) * 10
    show(q, big, 0); show(q, big - 600, 0); show(q, small, 0); show(q, small - 280, 0)
