"""Calculations of subject 5: the cases and subjective questions."""
import math
from bankcalc import show, near, pa, pf, npv, irr, rn, least_squares


def check_swot_51010322CASE0001():
    q = "51010322CASE0001-2"
    show(q, 0.25 * 4 + 0.20 * 3 - 0.30 * 3 - 0.25 * 2)
    show(q, 0.30 * 4 + 0.30 * 3 - 0.25 * 3 - 0.15 * 2)


def check_regression_51020122CASE0001():
    x = [3.2, 3.5, 3.9, 4.2, 4.6, 5.0]
    y = [41, 45, 50, 53, 58, 62]
    n, mx, my, sxx, syy, sxy, b, a = least_squares(x, y)
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
    show(q2, b / sb, 3); show(q2, rn(b, 4) / rn(sb, 5), 3)
    # the warning figure: Sy and Sb kept to four decimals only
    sb4 = rn(rn(sy, 4) / rn(math.sqrt(sxx), 4), 4)
    show(q2, rn(sy, 4), 4); show(q2, sb4, 4); show(q2, rn(b, 4) / sb4, 3)
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
    e0 = sum(es) / 3  # the accepted figure from unrounded elasticities
    show(q, e0, 4); show(q, 114.0 * (1 + e0 * 0.06) ** 3)
    show(q, 3.64 / 5.00, 3)  # the 2024 elasticity from the written rates
    show(q, rn((4.80 / 6.00 + rn(4.96 / 6.02, 3) + 3.64 / 5.00) / 3, 3), 3)


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
    # rounding each month before the next step moves April and May by 0.01, not December
    g = rn(sum(x[:3]) / 3, 2)
    stepped = []
    for v in x:
        g = rn(0.3 * v + 0.7 * g, 2)
        stepped.append(g)
    show(q, stepped[3]); show(q, stepped[4]); near(stepped[-1], rn(f, 2), 1e-9, q + " December")


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
    show(q2, pt * 0.75)  # the accepted figure when tax is not rounded first
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
    negative = sum(p for p, v in zip(ps, vs) if v < 0)
    show("53010222CASE0001-3", negative); show("53010222CASE0001-3", 1 - negative)
    near(sum(p for p, v in zip(ps, vs) if v >= 0), 1 - negative, 1e-9, "53010222CASE0001 P(NPV>=0)")


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


def check_post_evaluation_530202220001():
    q = "530202220001"
    show(q, (1 - 1.6 / 2.0) * 100, 0); show(q, 8.5 - 7.0, 1)


def check_decision_tree_530203220001():
    q = "530203220001"
    big = (0.7 * 200 + 0.3 * -40) * 10
    small = (0.7 * 80 + 0.3 * 60) * 10
    show(q, big, 0); show(q, big - 600, 0); show(q, small, 0); show(q, small - 280, 0)


def weighted(ws, ss):
    return sum(w * s for w, s in zip(ws, ss))


def check_cpm_51010122CASE0001():
    ws = [0.25, 0.20, 0.15, 0.20, 0.20]
    near(sum(ws), 1.0, 1e-9, "51010122CASE0001 weights")
    q = "51010122CASE0001-1"
    for ss in ([4, 3, 2, 3, 4], [3, 4, 4, 3, 3], [5, 2, 3, 4, 3]):
        show(q, weighted(ws, ss))
        for w, s in zip(ws, ss):
            show(q, w * s)
    show("51010122CASE0001-2", 0.15 * (4 - 2))


def check_ge_matrix_51010222CASE0001():
    q = "51010222CASE0001-3"
    a = weighted([0.3, 0.3, 0.2, 0.2], [4, 5, 3, 4])
    s = weighted([0.4, 0.3, 0.3], [3, 2, 3])
    show(q, a); show(q, s)
    near(1.0 if a > 3.67 else 0.0, 1.0, 0, "attractiveness is high")
    near(1.0 if 2.33 <= s <= 3.67 else 0.0, 1.0, 0, "strength is medium")


def check_elasticity_51020222CASE0001():
    q1, q2, q3 = (f"51020222CASE0001-{k}" for k in (1, 2, 3))
    p = [2000, 1900, 1805]
    v = [50.0, 54.0, 58.1]
    es = []
    for k in (1, 2):
        gp = p[k] / p[k - 1] - 1
        gv = v[k] / v[k - 1] - 1
        show(q1, gp * 100); show(q1, gv * 100)
        es.append(gv / gp)
        show(q1, es[-1], 3)
    e = (rn(es[0], 3) + rn(es[1], 3)) / 2
    show(q1, e, 4); show(q1, e, 3)
    show(q1, (es[0] + es[1]) / 2, 3)  # the accepted average of the unrounded elasticities
    alt = 58.1 * (1 + rn((es[0] + es[1]) / 2, 3) * -0.04)
    show(q2, alt); show(q2, rn(alt, 2) * 1805 * 0.96 / 10000)
    g = rn(e, 3) * -0.04
    show(q2, g * 100)
    v25 = 58.1 * (1 + g)
    show(q2, v25)
    p25 = 1805 * 0.96
    show(q2, p25)
    r24, r25 = 58.1 * 1805 / 10000, rn(v25, 2) * p25 / 10000
    show(q2, r24); show(q2, r25); show(q2, rn(r25, 2) - rn(r24, 2))
    ge = 0.45 * 0.06
    show(q3, ge * 100)
    show(q3, (1 + ge) ** 6, 6); show(q3, 1200 * (1 + ge) ** 6)
    show(q3, 1200 * rn((1 + ge) ** 6, 5))  # five-decimal factor, accepted


def check_survey_delphi_51020322CASE0001():
    q1, q3, q4 = "51020322CASE0001-1", "51020322CASE0001-3", "51020322CASE0001-4"
    for n in (1000, 3000, 6000):
        show(q1, n * 400 / 10000, 0)
    xs = [40, 42, 43, 45, 45, 46, 48, 50, 50, 52, 53, 55, 56, 58, 60]
    near(float(xs == sorted(xs)), 1.0, 0, "Delphi values sorted")
    med = xs[7]
    lower, upper = xs[:7], xs[8:]
    show(q3, med, 0); show(q3, lower[3], 0); show(q3, upper[3], 0)
    show(q3, upper[3] - lower[3], 0)
    show(q4, (68 + 72 + 75) / 3)
    show(q4, 0.2 * 68 + 0.3 * 72 + 0.5 * 75)


def check_investment_52010122CASE0001():
    q1, q2, q3, q4 = (f"52010122CASE0001-{k}" for k in (1, 2, 3, 4))
    fob, fr = 500 * 7.1, 25 * 7.1
    ins = rn((fob + fr) / (1 - 0.003) * 0.003, 2)
    cif = fob + fr + ins
    bank = fob * 0.005
    trade = rn(cif * 0.015, 2)
    duty = rn(cif * 0.08, 2)
    vat = rn((cif + duty) * 0.13, 2)
    landed = cif + bank + trade + duty + vat
    for v in (fob, fr, ins, cif, bank, trade, duty, vat, landed, landed + 60):
        show(q1, v)
    # the answer also accepts the landed cost summed from unrounded charges
    cif_exact = (fob + fr) / (1 - 0.003)
    landed_exact = cif_exact + bank + cif_exact * (0.015 + 0.08) + cif_exact * 1.08 * 0.13
    show(q1, landed_exact)

    def investment(landed_cost):
        eq = landed_cost + 60 + 2800
        inst = rn(eq * 0.10, 2)
        works = eq + 3200 + inst
        base = rn((works + 1800) * 0.08, 2)
        return eq, inst, works, base, works + 1800 + base + 600

    eq, inst, works, base, build = investment(landed)
    for v in (eq, inst, works, base, build):
        show(q2, v)
    # the figures that follow from the accepted unrounded landed cost
    for v in investment(rn(landed_exact, 2)):
        show(q2, v)
    parts = [9000 / 12, 6000 / 8, (6000 + 600 + 1200 + 400 + 200) / 24, (9000 - 400) / 18,
             (1200 + 800) / 24]
    parts = [rn(v, 2) for v in parts]
    for v in parts:
        show(q3, v)
    ca = sum(parts)
    cl = (6000 + 600) / 12
    wc = ca - cl
    show(q3, ca); show(q3, cl); show(q3, wc)
    show(q4, build + 420 + wc); show(q4, rn(wc * 0.3, 2)); show(q4, build + 420 + rn(wc * 0.3, 2))


def check_prefinancing_52010222CASE0002():
    q1, q2, q3, q4 = (f"52010222CASE0002-{k}" for k in (1, 2, 3, 4))
    dep = 5000 * 0.95 / 6
    ebit = 3000 - 30 - 1500 - rn(dep, 2)
    tax = rn(ebit * 0.25, 2)
    show(q1, dep); show(q1, 250); show(q1, ebit); show(q1, tax)
    pre = [-5000, 3000 - 400 - 1500 - 30] + [3000 - 1500 - 30] * 4 + [3000 + 250 + 400 - 1530]
    post = [pre[0]] + [c - tax for c in pre[1:]]
    for c in pre + post:
        show(q2, c)
    pv = [rn(c * 1.1 ** -(t + 1), 2) for t, c in enumerate(post)]
    for v in pv:
        show(q3, v)
    show(q3, sum(pv)); show(q3, npv(0.10, post, 1))
    near(npv(0.10, post, 1), sum(pv), 0.02, "52010222CASE0002 NPV rounding")
    show(q3, npv(0.14, post, 1)); show(q3, npv(0.15, post, 1))
    show(q3, 14 + 1.89 / (1.89 + 126.43))
    near(irr(post, start=1) * 100, 14 + 1.89 / (1.89 + 126.43), 0.05, "after-tax FIRR")
    show(q4, npv(0.18, pre, 1)); show(q4, npv(0.19, pre, 1))
    show(q4, 18 + 36.67 / (36.67 + 79.72))
    near(irr(pre, start=1) * 100, 18 + 36.67 / (36.67 + 79.72), 0.05, "pre-tax FIRR")


def check_shadow_prices_52020122CASE0001():
    ser = 7.0 * 1.08
    q1, q2 = "52020122CASE0001-1", "52020122CASE0001-2"
    show(q1, ser)
    out = 600 * ser - 80
    show(q1, 600 * ser, 0); show(q1, out, 0); show(q1, out * 10, 0); show(q1, out * 10 - 43000, 0)
    show(q2, 300 * ser, 0); show(q2, 300 * ser + 60, 0)
    show(q2, 200 * ser, 0); show(q2, 200 * ser + 40 - 30 + 50, 0)


def check_cost_effect_and_choice_52020222CASE0001():
    q1, q2, q3, q4 = (f"52020222CASE0001-{k}" for k in (1, 2, 3, 4))
    for c, e in ((6000, 4.0), (7500, 5.5), (9600, 6.0)):
        show(q1, c / e)
    show(q1, (9600 - 7500) / (6.0 - 5.5), 0)
    near(pa(0.10, 8), 5.3349, 5e-5, "(P/A,10%,8)")
    near(pa(0.11, 8), 5.1461, 5e-5, "(P/A,11%,8)")
    near(pa(0.12, 8), 4.9676, 5e-5, "(P/A,12%,8)")
    near(1 / pa(0.10, 8), 0.1874, 5e-5, "(A/P,10%,8)")
    near(1 / pa(0.10, 6), 0.2296, 5e-5, "(A/P,10%,6)")
    show(q2, -2000 + 500 * 5.3349); show(q2, -3000 + 700 * 5.3349)
    d11, d12 = -1000 + 200 * 5.1461, -1000 + 200 * 4.9676
    show(q3, d11); show(q3, d12)
    show(q3, 11 + rn(d11, 2) / (rn(d11, 2) - rn(d12, 2)))
    show(q3, irr([-2000] + [500] * 8) * 100, 1)
    show(q3, irr([-3000] + [700] * 8) * 100, 1)
    show(q4, -3000 * 0.1874 + 700); show(q4, -1800 * 0.2296 + 480)


def check_breakeven_53010122CASE0001():
    q1, q2 = "53010122CASE0001-1", "53010122CASE0001-2"
    bq = 20000000 / (500 - 300 - 5)
    show(q1, bq); show(q1, bq / 10000); show(q1, rn(bq, 2) / 200000 * 100)
    show(q1, rn(bq / 10000, 2) / 20 * 100)  # accepted from 10.26 wan units
    show(q1, 20000000 / 200000 + 305)
    base = (200000 * 195 - 20000000) / 10000
    low = (200000 * (450 - 305) - 20000000) / 10000
    show(q2, base); show(q2, low)
    ch = (low - base) / base
    show(q2, ch * 100); show(q2, rn(ch * 100, 2) / -10)
    show("53010122CASE0001-3", (500 - 405) / 500 * 100, 0)


def check_monte_carlo_53010322CASE0001():
    q = "53010322CASE0001-2"
    rnd = [48, 7, 83, 25, 91, 62, 15, 74, 36, 12]
    prices = [90 if r < 20 else 100 if r < 70 else 110 for r in rnd]
    npvs = [30 * p - 2900 for p in prices]
    mean = sum(npvs) / 10
    expected = 0.2 * -200 + 0.5 * 100 + 0.3 * 400
    show(q, mean)
    show(q, sum(1 for v in npvs if v < 0) / 10 * 100, 0)
    show(q, expected)
    show(q, expected - mean, 0, "gap between expected value and simulated mean")
    # the answer compares the two, so they must not coincide
    near(1.0 if abs(expected - mean) > 1e-9 else 0.0, 1.0, 0,
         "53010322CASE0001 simulated mean differs from the expected value")
    near(float(prices == [100, 90, 110, 100, 110, 100, 90, 110, 100, 90]), 1.0, 0,
         "53010322CASE0001-1 sampled prices")


def check_post_evaluation_53020222CASE0001():
    q = "53020222CASE0001-1"
    show(q, (21.6 - 18) / 18 * 100); show(q, 3.8 - 3.5); show(q, 0.30 / 3.5 * 100)
    show(q, 3.8 - 3.2)


def check_uncertain_decision_53020322CASE0001():
    q1, q2, q3 = (f"53020322CASE0001-{k}" for k in (1, 2, 3))
    pay = {"A": [600, 200, -100], "B": [450, 300, 50], "C": [300, 250, 150]}
    for v in pay.values():
        show(q1, 0.6 * max(v) + 0.4 * min(v))
    best = [max(pay[k][s] for k in pay) for s in range(3)]
    regrets = {k: [best[s] - v[s] for s in range(3)] for k, v in pay.items()}
    near(float(min(regrets, key=lambda k: max(regrets[k])) == "B"), 1.0, 0, "minimax regret")
    for k, r in regrets.items():
        show(q2, max(r), 0)
    for v in pay.values():
        show(q2, sum(v) / 3)
    ci = (3.04 - 3) / 2
    show(q3, ci); show(q3, ci / 0.58)
    for ss in ([9, 6, 5], [7, 8, 7], [5, 9, 8]):
        show(q3, weighted([0.5, 0.3, 0.2], ss))


def check_swot_51010322CASE0002():
    wi, si = [0.20, 0.15, 0.35, 0.30], [4, 3, -4, -3]
    wo, so = [0.35, 0.25, 0.25, 0.15], [4, 3, -3, -2]
    near(sum(wi), 1.0, 1e-9, "51010322CASE0002 internal weights")
    near(sum(wo), 1.0, 1e-9, "51010322CASE0002 external weights")
    q = "51010322CASE0002-2"
    for w, s in zip(wi + wo, si + so):
        show(q, abs(w * s))  # negative terms are written as subtractions
    show(q, weighted(wi, si)); show(q, weighted(wo, so))
    near(1.0 if weighted(wi, si) < 0 < weighted(wo, so) else 0.0, 1.0, 0, "second quadrant")


def check_regression_51020122CASE0002():
    x = [120, 130, 142, 150, 158]
    y = [30.5, 33.0, 36.4, 38.1, 40.2]
    n, mx, my, sxx, syy, sxy, b, a = least_squares(x, y)
    q1, q2, q3 = (f"51020122CASE0002-{k}" for k in (1, 2, 3))
    show(q1, sum(x), 0); show(q1, sum(y), 1); show(q1, mx, 1); show(q1, my, 2)
    show(q1, sxx, 1); show(q1, sxy, 1); show(q1, b, 4); show(q1, a, 4); show(q1, b, 6)
    for u, v in zip(x, y):
        show(q1, v - my, 2, "deviation")
    show(q1, b * 10000, 0)
    show(q2, syy, 3); show(q2, sxy / math.sqrt(sxx * syy), 3)
    fit = [a + b * u for u in x]
    for v in fit:
        show(q2, v, 3, "fitted value")
    sse = sum((v - w) ** 2 for v, w in zip(y, fit))
    sy = math.sqrt(sse / (n - 2))
    sb = sy / math.sqrt(sxx)
    show(q2, sse, 4); show(q2, sy, 5); show(q2, sb, 5); show(q2, b / sb, 2)
    y0 = a + b * 170
    show(q3, a, 5); show(q3, b, 5); show(q3, y0, 3)
    d = (170 - mx) ** 2 / sxx
    root = math.sqrt(1 + 1 / n + d)
    s0 = sy * root
    show(q3, d, 4); show(q3, root, 4); show(q3, s0, 4)
    show(q3, 3.182 * s0, 3); show(q3, y0 - 3.182 * s0, 3); show(q3, y0 + 3.182 * s0, 3)
    show(q3, y0, 4); show(q3, 3.182 * s0, 4)
    show(q3, rn(y0, 3) - rn(3.182 * s0, 3), 3)  # the lower bound from the written figures
    # the result accepted from the equation rounded to four decimals
    y4 = rn(a, 4) + rn(b, 4) * 170
    show(q3, y4, 3); show(q3, y4 - 3.182 * s0, 3); show(q3, y4 + 3.182 * s0, 3)


def check_probability_53010222CASE0002():
    ps = [0.2 * 0.7, 0.2 * 0.3, 0.6 * 0.7, 0.6 * 0.3, 0.2 * 0.7, 0.2 * 0.3]
    vs = [1900, 850, 900, -150, -100, -1150]
    near(sum(ps), 1.0, 1e-9, "53010222CASE0002 probabilities")
    for up, down in ((1900, 850), (900, -150), (-100, -1150)):
        near(up - down, 1050, 0, "53010222CASE0002 effect of the cost rise")
    # a 10% rise and a 10% fall in sales move the NPV by the same amount, cost unchanged or raised
    for hi, mid, lo in ((1900, 900, -100), (850, -150, -1150)):
        near(hi - mid, mid - lo, 0, "53010222CASE0002 effect of the sales change")
        show("53010222CASE0002-4", hi - mid, 0)
    for p in ps:
        show("53010222CASE0002-1", p)
    e = sum(p * v for p, v in zip(ps, vs))
    d = sum(p * (v - e) ** 2 for p, v in zip(ps, vs))
    q = "53010222CASE0002-2"
    show(q, e, 0); show(q, d); show(q, math.sqrt(d)); show(q, math.sqrt(d) / e)
    for p, v in zip(ps, vs):
        show(q, abs(p * v), 0); show(q, abs(v - e), 0); show(q, p * (v - e) ** 2)
    neg = sum(p for p, v in zip(ps, vs) if v < 0)
    show("53010222CASE0002-3", neg); show("53010222CASE0002-3", 1 - neg)
    cum = 0.0
    for v, p in sorted(zip(vs, ps)):
        cum += p
        show("53010222CASE0002-3", cum)
    show("53010222CASE0002-4", 900 - e, 0)
    show("53010222CASE0002-4", 1050, 0)


def check_lives_52020222CASE0002():
    for (i, k, v) in ((0.1, 6, 4.3553), (0.1, 9, 5.7590), (0.1, 10, 6.1446), (0.1, 15, 7.6061)):
        near(pa(i, k), v, 5e-5, f"(P/A,10%,{k})")
    for k, v in ((6, 0.5645), (9, 0.4241), (12, 0.3186)):
        near(pf(0.1, k), v, 5e-5, f"(P/F,10%,{k})")
    na, nb = -1200 + 300 * 4.3553, -2000 + 420 * 5.7590
    q1, q2, q3, q4 = (f"52020222CASE0002-{k}" for k in (1, 2, 3, 4))
    show(q1, 300 * 4.3553); show(q1, 420 * 5.7590); show(q1, na); show(q1, nb)
    show(q2, na / 4.3553); show(q2, nb / 5.7590)
    show(q3, 1 + 0.5645 + 0.3186, 4); show(q3, na * (1 + 0.5645 + 0.3186))
    show(q3, nb * 1.4241)
    show(q4, 500 / 6.1446); show(q4, 500 / 6.1446 + 80)
    show(q4, 800 / 7.6061); show(q4, 800 / 7.6061 + 40)


def check_estimate_52010122CASE0002():
    q1, q2, q3, q4, q5 = (f"52010122CASE0002-{k}" for k in range(1, 6))
    eq = rn(12000 * (50 / 30) ** 0.7 * 1.1, 2)
    show(q1, (50 / 30) ** 0.7, 4); show(q1, eq)
    b, ins = rn(eq * 0.35, 2), rn(eq * 0.20, 2)
    show(q1, b); show(q1, ins)
    eng = eq + b + ins
    show(q1, eng)
    basic = rn((eng + 3000) * 0.08, 2)
    show(q2, eng + 3000); show(q2, basic); show(q2, eng + 3000 + basic)
    # accepted: the factor written to four decimals first
    eq4 = rn(12000 * rn((50 / 30) ** 0.7, 4) * 1.1, 2)
    eng4 = eq4 + rn(eq4 * 0.35, 2) + rn(eq4 * 0.20, 2)
    show(q1, eq4); show(q1, eq4 * 0.35); show(q1, eq4 * 0.20); show(q1, eng4)
    basic4 = rn((eng4 + 3000) * 0.08, 2)
    show(q2, eng4 + 3000); show(q2, basic4); show(q2, eng4 + 3000 + basic4)
    i1, i2 = rn(eng * 0.4, 2), rn(eng * 0.6, 2)
    p1, p2 = rn(i1 * 0.05, 2), rn(i2 * (1.05 ** 2 - 1), 2)
    show(q3, i1); show(q3, i2); show(q3, p1); show(q3, p2); show(q3, p1 + p2)
    build = eng + 3000 + basic + p1 + p2
    show(q3, build)
    l1 = 8000 / 2 * 0.06
    l2 = (8000 + l1 + 10000 / 2) * 0.06
    show(q4, l1); show(q4, l2); show(q4, l1 + l2); show(q4, 8000 + l1 + 5000)
    # the parts the case lists under the operating cost must add up to it
    import re
    from bankcalc import text_of
    m = re.search(r"经营成本 (\d+) 万元，其中(.*?)；", text_of("52010122CASE0002"))
    parts = [int(v) for v in re.findall(r"(\d+) 万元", m.group(2))] if m else []
    near(sum(parts), int(m.group(1)) if m else -1, 0, "52010122CASE0002 parts of the operating cost")
    ar, cash, ap = 24000 / (360 / 36), (2400 + 1200) / (360 / 30), 18000 / (360 / 45)
    show(q5, ar); show(q5, cash); show(q5, ap)
    wc = ar + 3600 + cash - ap
    show(q5, ar + 3600 + cash); show(q5, wc)
    show(q5, build + l1 + l2 + wc)


def check_trade_52020122CASE0002():
    q1, q2, q3, q4 = (f"52020122CASE0002-{k}" for k in range(1, 5))
    ser = 7.2 * 1.08
    ex = 200 * ser - 60 - 30
    im = 120 * ser + 40 + 20
    show(q1, 200 * ser); show(q1, ex); show(q1, ex * 10)
    show(q2, 120 * ser); show(q2, im); show(q2, im * 12)
    oc = 1200 - 400 + 400 * 0.8
    net = ex * 10 - im * 12 - oc
    equip = 300 * ser  # imported equipment at CIF, valued at the shadow exchange rate
    inv = 9600 - 600 + equip - 300 * 7.2
    show(q3, equip); show(q3, equip - 300 * 7.2); show(q3, inv); show(q3, oc); show(q3, net)
    near(pa(0.08, 15), 8.5595, 5e-5, "(P/A,8%,15)")
    a, b = rn(inv / 1.08, 2), rn(net * 8.5595 / 1.08, 2)
    show(q4, inv)
    show(q4, a); show(q4, b); show(q4, b - a)
    show(q4, net * 8.5595 / 1.08 - inv / 1.08)  # the accepted figure without rounding first


def check_breakeven_53010122CASE0002():
    q1, q2, q3, q4, q5 = (f"53010122CASE0002-{k}" for k in range(1, 6))
    bep = 1200 / (80 - 44 - 1)
    show(q1, bep); show(q1, bep / 50 * 100); show(q1, bep, 4)
    show(q1, rn(bep, 2) / 50 * 100)  # accepted from the rounded output
    base = 50 * (80 - 44 - 1) - 1200
    show(q2, base, 0); show(q2, 1200 / 50 + 44 + 1); show(q2, (80 - 69) / 80 * 100)
    sens = []
    for p, v, f, ch in ((72, 44, 1200, -0.1), (80, 48.4, 1200, 0.1), (80, 44, 1320, 0.1)):
        pr = 50 * (p - v - 1) - f
        rate = (pr - base) / base
        show(q3, pr, 0); show(q3, abs(rate) * 100); show(q3, rate / ch)
        sens.append(abs(rn(rate / ch, 2)))
        show(q4, abs(rate / ch))
    near(1.0 if sens[0] > sens[1] > sens[2] else 0.0, 1.0, 0, "price is the most sensitive")
    show(q5, (1200 + 700) / 35); show(q5, (1200 + 700) / 50 + 45)
