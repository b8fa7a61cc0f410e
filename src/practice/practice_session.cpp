#include "practice/practice_session.h"

#include "store/data_module.h"
#include "store/dataset.h"

using namespace Question;

namespace {

// The list's filter text as a predicate: "" shows every row, "FIELD=VALUE" the rows whose field
// equals the value (numbers numerically, texts without regard to case).
Dataset::Predicate filterPredicate(const QString& text) {
    const qsizetype eq = text.indexOf(QLatin1Char('='));
    if (text.trimmed().isEmpty() || eq <= 0)
        return nullptr;
    const QString field = text.left(eq).trimmed();
    QString value = text.mid(eq + 1).trimmed();
    if (value.size() >= 2 && value.startsWith(QLatin1Char('\'')) &&
        value.endsWith(QLatin1Char('\'')))
        value = value.mid(1, value.size() - 2).replace(QStringLiteral("''"), QStringLiteral("'"));
    bool isNumber = false;
    const double number = value.toDouble(&isNumber);
    return [field, value, isNumber, number](const RowRef& row) {
        if (row.isNull(field))
            return false;
        if (isNumber) {
            bool ok = false;
            const double v = row.value(field).toDouble(&ok);
            return ok && v == number;
        }
        return row.text(field).compare(value, Qt::CaseInsensitive) == 0;
    };
}

} // namespace

PracticeConfig PracticeConfig::Chapter() {
    return {};
}

PracticeConfig PracticeConfig::KnowledgePoint() {
    PracticeConfig c;
    c.voidCaption = QStringLiteral("本题作废");
    c.modifiedNotice.clear();
    c.noAnswerText = QStringLiteral("题还没做呢！");
    c.subjectiveLabelFollowsTab = false;
    return c;
}

PracticeSession::PracticeSession(TDM1& dm, Dataset* list, PracticeConfig config)
    : dm_(dm), list_(list), config_(std::move(config)) {}

bool PracticeSession::load(const QString& sql, const QVariantMap& params) {
    list_->close();
    list_->setFiltered(false);
    list_->clearFilter();
    filterText_.clear();
    currentRecNo = 0;
    // Only the rows still holding an answer of an earlier practice are written.
    dm_.ADOCn1.exec(QStringLiteral("update tab_answ set E2_1='' where E2_1<>''"));
    list_->clearParams();
    for (auto it = params.begin(); it != params.end(); ++it)
        list_->setParam(it.key(), it.value());
    list_->setSql(sql);
    list_->open();
    return !list_->isEmpty();
}

QString PracticeSession::FilterFor(int typeCode) {
    return typeCode == 0 ? QString() : QStringLiteral("A13=") + QString::number(typeCode);
}

void PracticeSession::applyTypeFilter(const QString& filterText) {
    if (filterText == filterText_ && list_->filtered())
        return;
    list_->setFiltered(false);
    list_->clearFilter();
    filterText_ = filterText;
    list_->setFilter(filterPredicate(filterText));
    list_->setFiltered(true);
}

int PracticeSession::total() const {
    return list_->active() ? list_->recordCount() : 0;
}

void PracticeSession::setGroup(int number) {
    group_ = GroupAt(number, groupTotalQuestions_);
    prevGroupEnabled_ = number > 1;
    nextGroupEnabled_ = number < groups_;
}

void PracticeSession::firstGroup() {
    groupTotalQuestions_ = total();
    groups_ = GroupTotal(groupTotalQuestions_);
    setGroup(1);
}

void PracticeSession::previousGroup() {
    if (group_.number > 1)
        setGroup(group_.number - 1);
}

void PracticeSession::nextGroup() {
    if (group_.number < groups_)
        setGroup(group_.number + 1);
}

PracticeSession::Step PracticeSession::previousQuestion(int current) {
    const int p = current - 1;
    if (inGroup(p))
        return {Step::Button, p - groupStart() + 1};
    if (p < groupStart() && group_.number > 1) {
        previousGroup();
        return {Step::Group, 0};
    }
    return {};
}

PracticeSession::Step PracticeSession::nextQuestion(int current) {
    const int n = current + 1;
    if (inGroup(n))
        return {Step::Button, n - groupStart() + 1};
    if (n > groupEnd() && group_.number < groups_) {
        nextGroup();
        return {Step::Group, 0};
    }
    return {};
}

PracticeSession::Outcome PracticeSession::record(int recNo, const QString& answer,
                                                 const QDate& today) {
    Outcome out;
    if (recNo <= 0 || !list_->setRecNo(recNo))
        return out;
    if (answer.isEmpty()) {
        RowEditGuard row(*list_);
        list_->setValue(QStringLiteral("E2_1"), QString());
        row.post();
        return out;
    }
    const RowValues values = RowValuesOf(*list_);
    const Verdict v = Judge(values, answer, today);

    dm_.RecordAnswer(list_, RecordOf(v));

    out.answered = true;
    out.right = v.e2_1 == values.key;
    out.face = out.right ? Face::Right : Face::Wrong;
    return out;
}

QString PracticeSession::FirstPointOf(const Dataset& row) {
    for (int slot = 3; slot <= 12; ++slot) {
        const QString point = row.text(QStringLiteral("k%1").arg(slot)).trimmed();
        if (!point.isEmpty())
            return point;
    }
    return {};
}

RowValues PracticeSession::RowValuesOf(const Dataset& row) {
    RowValues v;
    v.key = row.text(QStringLiteral("A2"));
    v.e2_1 = row.text(QStringLiteral("E2_1"));
    v.e2 = row.text(QStringLiteral("E2"));
    v.e1 = row.date(QStringLiteral("E1"));
    v.e3 = int(row.whole(QStringLiteral("E3")));
    v.e4 = int(row.whole(QStringLiteral("E4")));
    return v;
}

Face PracticeSession::faceOf(int recNo) const {
    if (!list_->setRecNo(recNo))
        return Face::Unanswered;
    return FaceFor(list_->text(QStringLiteral("E2_1")), list_->text(QStringLiteral("A2")));
}

PracticeSession::Notices PracticeSession::noticesOfCurrent() const {
    Notices n;
    n.voidCaption = config_.voidCaption;
    if (!list_->active() || list_->isEmpty() || list_->recNo() == 0)
        return n;
    const qint64 f1 = list_->whole(QStringLiteral("f1"));
    if (f1 == 1) {
        n.notice = config_.voidedNotice;
        n.voidCaption = config_.unvoidCaption;
    } else if (f1 == 2) {
        n.notice = config_.addedNotice;
    }
    if (!config_.modifiedNotice.isEmpty() && list_->hasField(QStringLiteral("ecount")) &&
        list_->whole(QStringLiteral("ecount")) != 0)
        n.modified = config_.modifiedNotice;
    return n;
}

PracticeSession::Notices PracticeSession::toggleVoid(const QString& caption) {
    Notices n;
    if (!list_->active() || list_->isEmpty() || list_->recNo() == 0)
        return n;
    RowEditGuard row(*list_);
    if (caption == config_.voidCaption) {
        list_->setValue(QStringLiteral("f1"), 1);
        list_->setValue(QStringLiteral("E2"), QStringLiteral("zero"));
        n.notice = config_.voidedNotice;
        n.voidCaption = config_.unvoidCaption;
    } else {
        list_->setValue(QStringLiteral("f1"), 0);
        n.notice = config_.unvoidedNotice;
        n.voidCaption = config_.voidCaption;
    }
    row.post();
    return n;
}

int PracticeSession::answerTimerInterval(const QVector<int>& typeCodes,
                                         const QVector<int>& typeTimes) const {
    return AnswerTimerInterval(int(list_->whole(QStringLiteral("A13"))), typeCodes, typeTimes);
}

void PracticeSession::markTimeUp() {
    if (!list_->active() || list_->recNo() == 0)
        return;
    RowEditGuard row(*list_);
    list_->setValue(QStringLiteral("csbs"), QStringLiteral("Y"));
    row.post();
}
