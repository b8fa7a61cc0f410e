#include "practice/practice_names.h"

ControlNames::ControlNames(std::initializer_list<std::pair<Control, Entry>> entries) {
    for (const auto& [c, e] : entries)
        entries_[std::size_t(c)] = e;
}

ControlNames ControlNames::with(std::initializer_list<std::pair<Control, Entry>> changes) const {
    ControlNames n = *this;
    for (const auto& [c, e] : changes)
        n.entries_[std::size_t(c)] = e;
    return n;
}

QString ControlNames::questionButton(int number) const {
    return name(Control::QuestionButton).arg(number);
}

const ControlNames& ControlNames::Chapter() {
    using C = Control;
    static const ControlNames names({
        {C::Hint, {QStringLiteral("epLabel2"), QStringLiteral("提示板")}},
        {C::Notice, {QStringLiteral("Label21"), {}}},
        {C::Modified, {QStringLiteral("Label24"), {}}},
        {C::NumberText, {QStringLiteral("Label11"), QStringLiteral("第")}},
        {C::Number, {QStringLiteral("Label12"), QStringLiteral("1")}},
        {C::NumberUnit, {QStringLiteral("Label13"), QStringLiteral("题")}},
        {C::AppearanceText, {QStringLiteral("Label14"), QStringLiteral("（第")}},
        {C::Appearance, {QStringLiteral("Label15"), QStringLiteral("1")}},
        {C::AppearanceUnit, {QStringLiteral("Label16"), QStringLiteral("次出现）")}},
        {C::Gauge, {QStringLiteral("epIndiGauge1"), {}}},
        {C::AnswerTimer, {QStringLiteral("Timer1"), {}}},
        {C::Clock, {QStringLiteral("KZTimeCounter1"), {}}},
        {C::ClockHeading, {QStringLiteral("Label1"), QStringLiteral("时钟")}},
        {C::ClockText, {QStringLiteral("epLabel1"), QStringLiteral("0:00:00")}},
        {C::Pane, {QStringLiteral("Panel1"), {}}},
        {C::UpperView, {QStringLiteral("Re1"), {}}},
        {C::Splitter, {QStringLiteral("FlatSplitter1"), {}}},
        {C::LowerView, {QStringLiteral("Re2"), {}}},
        {C::AnswerPanel, {QStringLiteral("Panel2"), {}}},
        {C::Verdict, {QStringLiteral("Lb_answtip"), {}}},
        {C::MineLabel, {QStringLiteral("Label_mine"), QStringLiteral("你的答案：")}},
        {C::Mine, {QStringLiteral("Memo1"), {}}},
        {C::KeyLabel, {QStringLiteral("Label_key"), QStringLiteral("正确答案：")}},
        {C::Key, {QStringLiteral("Memo2"), {}}},
        {C::TypeBoardHeading, {QStringLiteral("epLabel4"), QStringLiteral("题型指示板")}},
        {C::TypeBoard, {QStringLiteral("fcBG_tx"), {}}},
        {C::QuestionBoardHeading, {QStringLiteral("epLabel3"), QStringLiteral("题目指示板")}},
        {C::QuestionBoard, {QStringLiteral("fcBG_th"), {}}},
        {C::QuestionButton, {QStringLiteral("fcBG_thfcImageBtn%1"), {}}},
        {C::GroupsText, {QStringLiteral("Label2"), QStringLiteral("共")}},
        {C::Groups, {QStringLiteral("Lb_zs"), QStringLiteral("0")}},
        {C::GroupsUnit, {QStringLiteral("Label4"), QStringLiteral("组")}},
        {C::Questions, {QStringLiteral("Lb_ts"), QStringLiteral("0")}},
        {C::QuestionsUnit, {QStringLiteral("Label6"), QStringLiteral("道题")}},
        {C::GroupText, {QStringLiteral("Label7"), QStringLiteral("第")}},
        {C::Group, {QStringLiteral("Lb_zb"), QStringLiteral("1")}},
        {C::GroupUnit, {QStringLiteral("Label9"), QStringLiteral("组")}},
        {C::PreviousGroup, {QStringLiteral("FlatSpeedButton1"), QStringLiteral("<-上一组")}},
        {C::NextGroup, {QStringLiteral("FlatSpeedButton2"), QStringLiteral("下一组->")}},
        {C::SubjectiveLabel, {QStringLiteral("Label8"), QStringLiteral("主观")}},
        {C::MatchingLabel, {QStringLiteral("SideLabel_pw"), QStringLiteral("不定项")}},
        {C::PreviousQuestion, {QStringLiteral("epEfTrBtn1"), QStringLiteral("上一题")}},
        {C::NextQuestion, {QStringLiteral("epEfTrBtn2"), QStringLiteral("下一题")}},
        {C::Finish, {QStringLiteral("epEfTrBtn3"), QStringLiteral("完成")}},
        {C::Explanation, {QStringLiteral("epEfTrBtn4"), QStringLiteral("解析")}},
        {C::Note, {QStringLiteral("epEfTrBtn5"), QStringLiteral("笔记")}},
        {C::Answer, {QStringLiteral("epEfTrBtn6"), QStringLiteral("答案")}},
        {C::Desktop, {QStringLiteral("epEfTrBtn7"), QStringLiteral("桌面")}},
        {C::Settings, {QStringLiteral("epEfTrBtn8"), QStringLiteral("设置")}},
        {C::Points, {QStringLiteral("epEfTrBtn9"), QStringLiteral("考点")}},
        {C::Void, {QStringLiteral("epEfTrBtn10"), {}}},
        {C::Edit, {QStringLiteral("epEfTrBtn11"), QStringLiteral("修改本题")}},
        {C::Close, {QStringLiteral("epEfTrBtn99"), QStringLiteral("关闭")}},
    });
    return names;
}

const ControlNames& ControlNames::KnowledgePoint() {
    using C = Control;
    static const ControlNames names = Chapter().with({
        {C::Close, {QStringLiteral("epEfTrBtn7"), QStringLiteral("关闭")}},
        {C::Desktop, {QStringLiteral("epEfTrBtnwin"), QStringLiteral("桌面")}},
        {C::Edit, {}},
        {C::Modified, {}},
        {C::Groups, {QStringLiteral("Label3"), QStringLiteral("0")}},
        {C::Questions, {QStringLiteral("Label5"), QStringLiteral("0")}},
        {C::Group, {QStringLiteral("Label8"), QStringLiteral("1")}},
        {C::SubjectiveLabel, {QStringLiteral("Label20"), QStringLiteral("主观")}},
        {C::MatchingLabel, {QStringLiteral("Label24"), QStringLiteral("不定项")}},
    });
    return names;
}
