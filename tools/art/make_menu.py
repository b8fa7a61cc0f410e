#!/usr/bin/env python3
"""Write the main menu, assets/pic/main.svg (or the path given as the first argument).

The menu is a 1024 x 768 design (4:3) that the main window scales to the screen.  Every
clickable button is one <g> whose id is "cmd-" followed by the command the program
serves; its bounding box is the click area.  The drawing keeps to SVG 1.2 Tiny as the
player's renderer reads it: plain presentation attributes, linear gradients, opacity and
two quiet animations (a light band gliding over the title, a gold mark that glows on the
chapter-practice button).
"""

import os
import sys
from xml.sax.saxutils import escape

FONT = "Noto Sans CJK SC, Noto Serif CJK SC, sans-serif"

NAVY = "#1d3557"
NAVY_LIGHT = "#2f5282"
NAVY_DARK = "#11233d"
GOLD = "#c8a45a"
GOLD_LIGHT = "#e6cf94"
PAPER = "#fbf8f1"
CREAM = "#f3ecdc"
CREAM_DARK = "#e4d8bd"
INK = "#243247"
MUTED = "#5d6675"

W, H = 1024, 768
CARD_W, CARD_H = 296, 240
CARD_X = (44, 364, 684)
ROW_Y = (176, 432)
INNER = 24                     # padding inside a card
BTN_W = CARD_W - 2 * INNER     # 248


def text(x, y, content, size, fill, weight="normal", anchor="start", extra=""):
    return (f'<text x="{x}" y="{y}" font-family="{FONT}" font-size="{size}" '
            f'font-weight="{weight}" fill="{fill}" text-anchor="{anchor}"{extra}>'
            f'{escape(content)}</text>')


def button(cmd, x, y, w, h, label, size=18, sub=None, accent_id=None):
    """One command button: a rounded plate with a gold accent bar and a chevron."""
    parts = [f'<g id="cmd-{cmd}">',
             f'<rect x="{x + 1}" y="{y + 2}" width="{w}" height="{h}" rx="6" ry="6" '
             f'fill="{NAVY_DARK}" fill-opacity="0.12"/>',
             f'<rect x="{x}" y="{y}" width="{w}" height="{h}" rx="6" ry="6" '
             f'fill="url(#plate)" stroke="{NAVY_LIGHT}" stroke-width="1.2"/>']
    bar = (f'<rect x="{x + 5}" y="{y + 8}" width="4" height="{h - 16}" rx="2" ry="2" '
           f'fill="{GOLD}"')
    if accent_id:
        bar += (f' id="{accent_id}"><animateColor attributeName="fill" '
                f'values="{GOLD};{GOLD_LIGHT};{GOLD}" dur="4s" repeatCount="indefinite"/>'
                f'</rect>')
    else:
        bar += '/>'
    parts.append(bar)
    if sub is None:
        parts.append(text(x + 22, y + h / 2 + size * 0.36, label, size, NAVY, "bold"))
    else:
        parts.append(text(x + 22, y + h / 2 - 4, label, size, NAVY, "bold"))
        parts.append(text(x + 22, y + h / 2 + 19, sub, 15, MUTED))
    cx, cy = x + w - 18, y + h / 2
    if w >= 200:   # narrow buttons keep their whole width for the label
        parts.append(f'<polyline points="{cx - 4},{cy - 6} {cx + 2},{cy} {cx - 4},{cy + 6}" '
                     f'fill="none" stroke="{GOLD}" stroke-width="2.2" '
                     f'stroke-linecap="round" stroke-linejoin="round"/>')
    parts.append('</g>')
    return "\n    ".join(parts)


def card(x, y, number, title, body):
    parts = [
        f'<rect x="{x + 2}" y="{y + 3}" width="{CARD_W}" height="{CARD_H}" rx="10" ry="10" '
        f'fill="{NAVY_DARK}" fill-opacity="0.10"/>',
        f'<rect x="{x}" y="{y}" width="{CARD_W}" height="{CARD_H}" rx="10" ry="10" '
        f'fill="url(#card)" stroke="{CREAM_DARK}" stroke-width="1.5"/>',
        f'<rect x="{x}" y="{y}" width="{CARD_W}" height="6" rx="3" ry="3" fill="{NAVY}"/>',
        f'<circle cx="{x + INNER + 14}" cy="{y + 36}" r="15" fill="{NAVY}"/>',
        text(x + INNER + 14, y + 42, number, 17, GOLD_LIGHT, "bold", "middle"),
        text(x + INNER + 38, y + 43, title, 22, INK, "bold"),
        f'<rect x="{x + INNER}" y="{y + 60}" width="{BTN_W}" height="1.5" fill="{GOLD}"/>',
    ]
    parts.extend(body)
    return "\n  ".join(parts)


def description(x, y, lines):
    return [text(x, y + 22 * i, line, 15, MUTED) for i, line in enumerate(lines)]


def build():
    out = []
    out.append('<?xml version="1.0" encoding="UTF-8"?>')
    out.append(f'<svg xmlns="http://www.w3.org/2000/svg" version="1.2" baseProfile="tiny" '
               f'width="{W}" height="{H}" viewBox="0 0 {W} {H}" '
               f'preserveAspectRatio="xMidYMid meet">')
    out.append('<title>Tarnwick 主菜单</title>')
    out.append(f'''<defs>
  <linearGradient id="paper" x1="0" y1="0" x2="0" y2="1">
    <stop offset="0" stop-color="{PAPER}"/>
    <stop offset="1" stop-color="{CREAM}"/>
  </linearGradient>
  <linearGradient id="header" x1="0" y1="0" x2="0" y2="1">
    <stop offset="0" stop-color="{NAVY_LIGHT}"/>
    <stop offset="1" stop-color="{NAVY_DARK}"/>
  </linearGradient>
  <linearGradient id="footer" x1="0" y1="0" x2="0" y2="1">
    <stop offset="0" stop-color="{NAVY}"/>
    <stop offset="1" stop-color="{NAVY_DARK}"/>
  </linearGradient>
  <linearGradient id="card" x1="0" y1="0" x2="0" y2="1">
    <stop offset="0" stop-color="#ffffff"/>
    <stop offset="1" stop-color="{PAPER}"/>
  </linearGradient>
  <linearGradient id="plate" x1="0" y1="0" x2="0" y2="1">
    <stop offset="0" stop-color="#ffffff"/>
    <stop offset="1" stop-color="#e9eef5"/>
  </linearGradient>
  <linearGradient id="quit" x1="0" y1="0" x2="0" y2="1">
    <stop offset="0" stop-color="#3b5f92"/>
    <stop offset="1" stop-color="{NAVY_DARK}"/>
  </linearGradient>
  <linearGradient id="sheen" x1="0" y1="0" x2="1" y2="0">
    <stop offset="0" stop-color="#ffffff" stop-opacity="0"/>
    <stop offset="0.5" stop-color="#ffffff" stop-opacity="0.13"/>
    <stop offset="1" stop-color="#ffffff" stop-opacity="0"/>
  </linearGradient>
</defs>''')

    # page and header
    out.append(f'<rect x="0" y="0" width="{W}" height="{H}" fill="url(#paper)"/>')
    out.append(f'<rect x="0" y="0" width="{W}" height="150" fill="url(#header)"/>')
    # light band gliding slowly over the header
    out.append('<g>'
               '<animateTransform attributeName="transform" type="translate" '
               'values="-320,0;1100,0" dur="14s" repeatCount="indefinite"/>'
               '<polygon points="0,0 160,0 100,150 -60,150" fill="url(#sheen)"/></g>')
    out.append(f'<rect x="0" y="150" width="{W}" height="4" fill="{GOLD}"/>')
    out.append(f'<rect x="0" y="156" width="{W}" height="1" fill="{GOLD}" opacity="0.5"/>')
    # the emblem: a small open book with a rising line, as on the about window's logo
    out.append(f'''<g>
  <rect x="44" y="34" width="76" height="76" rx="14" ry="14" fill="{NAVY_DARK}" stroke="{GOLD}" stroke-width="1.5"/>
  <polygon points="56,84 81,89 81,100 56,95" fill="{GOLD}"/>
  <polygon points="84,89 109,84 109,95 84,100" fill="{GOLD}"/>
  <polygon points="57,81 81,86 81,97 57,92" fill="{PAPER}"/>
  <polygon points="84,86 108,81 108,92 84,97" fill="{CREAM}"/>
  <polyline points="58,72 69,65 78,68 89,56 102,48" fill="none" stroke="{GOLD_LIGHT}" stroke-width="3" stroke-linecap="round" stroke-linejoin="round"/>
  <polygon points="106,44 104,53 97,47" fill="{GOLD_LIGHT}"/>
</g>''')
    out.append(text(140, 84, "Tarnwick", 50, "#ffffff", "bold",
                    extra=' letter-spacing="1"'))
    out.append(text(142, 124, "咨询工程师（投资）职业资格考试 学习系统", 25, GOLD_LIGHT))
    out.append(text(980, 70, "项目决策分析与评价", 18, "#dfe6f0", "normal", "end"))
    out.append(text(980, 98, "现代咨询方法与实务", 18, "#dfe6f0", "normal", "end"))
    out.append(f'<rect x="790" y="80" width="190" height="1" fill="{GOLD}" opacity="0.6"/>')
    out.append(text(980, 126, "考试科目同步练习 · 模拟考试", 15, "#aebbd0", "normal", "end"))

    x1, x2, x3 = CARD_X
    y1, y2 = ROW_Y
    col2 = (BTN_W - 8) // 2   # 120

    cards = []
    cards.append(card(x1, y1, "一", "章节练习",
                      description(x1 + INNER, y1 + 88,
                                  ["按教材章节逐章练习：", "练习新题、错题重做、习题重温，",
                                   "每道题判定对错并记入统计。"])
                      + [button("lx", x1 + INNER, y1 + 160, BTN_W, 60, "开始章节练习", 21,
                                accent_id="lx-glow")]))
    cards.append(card(x2, y1, "二", "考点",
                      description(x2 + INNER, y1 + 88,
                                  ["按考点目录阅读要点，", "筛选重点考点，",
                                   "针对单个考点集中练习。"])
                      + [button("ksdg", x2 + INNER, y1 + 160, BTN_W, 60, "考点学习", 21)]))
    cards.append(card(x3, y1, "三", "模拟考试",
                      [button("mnks", x3 + INNER, y1 + 74, BTN_W, 48, "项目决策分析与评价", 18),
                       button("mnks2", x3 + INNER, y1 + 128, BTN_W, 48, "现代咨询方法与实务", 18),
                       button("cj", x3 + INNER, y1 + 182, BTN_W, 48, "考试记录", 18)]))
    cards.append(card(x1, y2, "四", "学习进度",
                      [button("rz", x1 + INNER, y2 + 74, BTN_W, 48, "学习日志", 18),
                       button("tj", x1 + INNER, y2 + 128, BTN_W, 48, "成绩统计", 18),
                       button("szjh", x1 + INNER, y2 + 182, BTN_W, 48, "学习计划", 18)]))
    cards.append(card(x2, y2, "五", "设置",
                      [button("szks", x2 + INNER, y2 + 74, BTN_W, 48, "考试设置", 18),
                       button("sztime", x2 + INNER, y2 + 128, BTN_W, 48, "答题时间", 18),
                       button("music", x2 + INNER, y2 + 182, BTN_W, 48, "背景音乐", 18)]))
    cards.append(card(x3, y2, "六", "其它",
                      [button("sj", x3 + INNER, y2 + 74, col2, 48, "题库升级", 17),
                       button("fg", x3 + INNER + col2 + 8, y2 + 74, col2, 48, "法规汇编", 17),
                       button("lxfs", x3 + INNER, y2 + 128, col2, 48, "购书联系", 17),
                       button("help", x3 + INNER + col2 + 8, y2 + 128, col2, 48, "使用帮助", 17),
                       button("about", x3 + INNER, y2 + 182, BTN_W, 48, "关于本软件", 17)]))
    out.extend(cards)

    # footer with the quit button
    fy = 688
    out.append(f'<rect x="0" y="{fy}" width="{W}" height="{H - fy}" fill="url(#footer)"/>')
    out.append(f'<rect x="0" y="{fy}" width="{W}" height="2" fill="{GOLD}"/>')
    out.append(text(44, fy + 36, "与 Velmora 出版的《Tarnwick》配套使用", 16, GOLD_LIGHT))
    out.append(text(44, fy + 62, "每天坚持练习，错题反复巩固，考前以模拟考试检验进度。", 15,
                    "#aebbd0"))
    qx, qy, qw, qh = 852, fy + 18, 128, 46
    out.append(f'''<g id="cmd-quit">
    <rect x="{qx}" y="{qy}" width="{qw}" height="{qh}" rx="8" ry="8" fill="url(#quit)" stroke="{GOLD}" stroke-width="1.5"/>
    <circle cx="{qx + 30}" cy="{qy + qh / 2}" r="9" fill="none" stroke="{GOLD_LIGHT}" stroke-width="2.2"/>
    <rect x="{qx + 28.8}" y="{qy + 10}" width="2.4" height="12" fill="{GOLD_LIGHT}"/>
    {text(qx + 50, qy + 30, "退出", 20, "#ffffff", "bold")}
  </g>''')
    out.append('</svg>')
    return "\n".join(out) + "\n"


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    path = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "..", "assets",
                                                              "pic", "main.svg")
    with open(path, "w", encoding="utf-8") as f:
        f.write(build())
    print("wrote", path)


if __name__ == "__main__":
    main()
