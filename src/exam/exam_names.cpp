#include "exam/exam_names.h"

namespace ExamNames {

const ControlNames& Parts() {
    using C = Control;
    static const ControlNames names = ControlNames::Chapter().with({
        {C::Hint, {QStringLiteral("epLabel2"), {}}},
        {C::Notice, {QStringLiteral("Label1"), {}}},
        {C::Modified, {}},
        {C::NumberText, {QStringLiteral("Label3"), QStringLiteral("第")}},
        {C::Number, {QStringLiteral("Label5"), QStringLiteral("1")}},
        {C::NumberUnit, {QStringLiteral("Label6"), QStringLiteral("题")}},
        {C::AppearanceText, {}},
        {C::Appearance, {}},
        {C::AppearanceUnit, {}},
        {C::Gauge, {}},
        {C::AnswerTimer, {}},
        {C::Clock, {QStringLiteral("KZTimeCounter1"), {}}},
        {C::ClockHeading, {}},
        {C::ClockText, {QStringLiteral("epLb_time1"), QStringLiteral("0:00:00")}},
        {C::MineLabel, {QStringLiteral("Label2"), QStringLiteral("你的答案：")}},
        {C::KeyLabel, {QStringLiteral("Label21"), QStringLiteral("正确答案：")}},
        {C::SubjectiveLabel, {QStringLiteral("Label8"), QStringLiteral("主观")}},
        {C::MatchingLabel, {QStringLiteral("Label24"), QStringLiteral("不定项")}},
        {C::TypeBoardHeading, {}},
        {C::TypeBoard, {}},
        {C::QuestionBoardHeading, {}},
        {C::QuestionBoard, {QStringLiteral("fcBG_th"), {}}},
        {C::QuestionButton, {QStringLiteral("fcBG_thfcImageBtn%1"), {}}},
        {C::PreviousQuestion, {QStringLiteral("epEfTrBtn1"), QStringLiteral("上一题")}},
        {C::NextQuestion, {QStringLiteral("epEfTrBtn2"), QStringLiteral("下一题")}},
        {C::Finish, {QStringLiteral("epEfTrBtn3"), QStringLiteral("交卷")}},
        {C::Explanation, {QStringLiteral("epEfTrBtn4"), QStringLiteral("解析")}},
        {C::Note, {QStringLiteral("epEfTrBtn5"), QStringLiteral("笔记")}},
        {C::Answer, {QStringLiteral("epEfTrBtn6"), QStringLiteral("答案")}},
        {C::Close, {QStringLiteral("epEfTrBtn7"), QStringLiteral("关闭")}},
        {C::Points, {QStringLiteral("epEfTrBtn9"), QStringLiteral("考点")}},
        {C::Void, {QStringLiteral("epEfTrBtn12"), QStringLiteral("本题作废")}},
        {C::Desktop, {}},
        {C::Settings, {}},
        {C::Edit, {}},
    });
    return names;
}

const QVector<ButtonEntry>& Buttons() {
    static const QVector<ButtonEntry> buttons = {
        {1, QStringLiteral("上一题")},    {2, QStringLiteral("下一题")},
        {3, QStringLiteral("交卷")},      {4, QStringLiteral("解析")},
        {5, QStringLiteral("笔记")},      {6, QStringLiteral("答案")},
        {7, QStringLiteral("关闭")},      {9, QStringLiteral("考点")},
        {10, QStringLiteral("生成文档")}, {12, QStringLiteral("本题作废")},
        {13, QStringLiteral("暂停考试")},
    };
    return buttons;
}

QString ButtonName(int number) {
    return QStringLiteral("epEfTrBtn%1").arg(number);
}

} // namespace ExamNames
