#pragma once

// The source of a small bank: one subject down to one section, single and multiple choice, two
// catalogue entries with one knowledge point, the settings and one upgrade row (sjbs X, cpbs Y).
inline constexpr char kSmallBankSource[] = R"(@chapter
code: 4
name: 项目决策
heading: 项目决策
order: 1
@chapter
code: 41
name: 第一篇
heading: 第一篇
order: 2
@chapter
code: 4101
name: 第一章
heading: 第一章
order: 3
@chapter
code: 410101
name: 第一节
heading: 第一节
order: 4
@type
kind: 1
code: 11
name: 单项选择题
count: 60
points: 1
minutes: 1
@type
kind: 1
code: 14
name: 多项选择题
count: 35
points: 2
minutes: 2
@catalogue
id: A4
order: 1
name: 决策
@catalogue
id: A44101
order: 2
name: 第一章
@point
id: A441010001
heading: 净现值
text: |
  净现值是……
@plan
mark: 0
amount: 50
minutes: 60
examdate: 2027-04-10
leastmark: 65
examminutes: 150
@upgrade
sjbs: X
cpbs: Y
)";
