#include "practice/question_model.h"

#include <algorithm>

namespace Question {

int TypePage(int typeCode) {
    switch (typeCode) {
    case 11:
        return PageSingle;
    case 14:
        return PageMultiple;
    case 22:
    case 72:
    case 73:
    case 74:
        return PageSubjective;
    default:
        return NoPage;
    }
}

bool IsSubjective(int typeCode) {
    return SubjectiveTypes.contains(typeCode);
}

QChar OptionLetter(int index) {
    return QChar(QLatin1Char(char('A' + index)));
}

int OptionIndex(QChar letter) {
    const char16_t c = letter.toUpper().unicode();
    if (c >= u'A' && c < u'A' + kOptionCount)
        return int(c - u'A');
    return -1;
}

int VisibleOptions(qint64 a2_1) {
    return int(std::clamp<qint64>(a2_1, 0, kOptionCount));
}

namespace {

QString pressedLetters(const PadState& pad, bool firstOnly) {
    QString out;
    const int visible = std::clamp(pad.visibleOptions, 0, kOptionCount);
    for (int i = 0; i < visible; ++i) {
        if (!pad.pressed[size_t(i)])
            continue;
        out += OptionLetter(i);
        if (firstOnly)
            break;
    }
    return out;
}

} // namespace

QString AnswerText(int page, const PadState& pad) {
    switch (page) {
    case PageSingle:
        return pressedLetters(pad, true);
    case PageMultiple:
    case PageMatching:
        return pressedLetters(pad, false);
    case PageFill:
        return pad.fillText.trimmed().left(kMaxAnswerLength);
    case PageTrueFalse:
        return pad.trueFalse == 1 ? QStringLiteral("A")
                                  : (pad.trueFalse == 2 ? QStringLiteral("B") : QString());
    case PageSubjective:
        return pad.subjectiveIndex >= 0 ? QString::number(pad.subjectiveIndex) : QString();
    default:
        return {};
    }
}

QString PanelAnswerText(int page, const PadState& pad) {
    switch (page) {
    case PageFill:
    case PageSubjective:
        return {};
    case PageTrueFalse:
        return pad.trueFalse == 1 ? QStringLiteral("对")
                                  : (pad.trueFalse == 2 ? QStringLiteral("错") : QString());
    default:
        return AnswerText(page, pad);
    }
}

QString PanelKeyText(int page, const QString& key) {
    if (page == PageTrueFalse) {
        if (key == QLatin1String("A"))
            return QStringLiteral("对");
        if (key == QLatin1String("B"))
            return QStringLiteral("错");
    }
    return key;
}

PadState RestoredPad(int page, const QString& answer, int visibleOptions) {
    PadState pad;
    pad.visibleOptions = std::clamp(visibleOptions, 0, kOptionCount);
    switch (page) {
    case PageSingle:
        for (int i = 0; i < pad.visibleOptions; ++i)
            pad.pressed[size_t(i)] = answer == QString(OptionLetter(i));
        break;
    case PageMultiple:
    case PageMatching:
        for (int i = 0; i < pad.visibleOptions; ++i)
            pad.pressed[size_t(i)] = answer.contains(OptionLetter(i));
        break;
    case PageFill:
        pad.fillText = answer;
        break;
    case PageTrueFalse:
        pad.trueFalse = answer == QLatin1String("A") ? 1 : (answer == QLatin1String("B") ? 2 : 0);
        break;
    case PageSubjective:
        // The item whose index written in decimal equals the answer ("0" or "1").
        for (int i = 0; i < 2; ++i) {
            if (answer == QString::number(i))
                pad.subjectiveIndex = i;
        }
        break;
    default:
        break;
    }
    return pad;
}

int NextStanding(bool neverAnsweredBefore, int standing, bool right) {
    if (neverAnsweredBefore)
        return right ? 0 : -3;
    if (right)
        return standing < 0 ? standing + 1 : standing;
    return standing - 1;
}

Verdict Judge(const RowValues& row, const QString& answer, const QDate& today) {
    Verdict v;
    v.e2 = row.e2;
    v.e1 = row.e1;
    v.e3 = row.e3;
    v.e4 = row.e4;
    if (answer.isEmpty()) {
        v.e2_1.clear();
        return v;
    }
    v.answered = true;
    v.right = answer == row.key;
    if (answer != row.e2_1) {
        v.counted = true;
        v.firstToday = (!row.e1.isValid() || row.e1 != today) ? kYes : kNo;
        v.wrong = v.right ? kNo : kYes;
        v.prevWrong = row.e2 != row.key ? kYes : kNo;
        const bool never = row.e2.isEmpty();
        v.firstEver = never ? kYes : kNo;
        v.e4 = NextStanding(never, row.e4, v.right);
        v.e3 = row.e3 + 1;
    }
    v.e2_1 = answer;
    v.e2 = answer;
    v.e1 = today;
    return v;
}

AnswerRecord RecordOf(const Verdict& v) {
    AnswerRecord r;
    r.counted = v.counted;
    r.firstToday = v.firstToday;
    r.firstEver = v.firstEver;
    r.wrong = v.wrong;
    r.prevWrong = v.prevWrong;
    r.e2_1 = v.e2_1;
    r.e2 = v.e2;
    r.e1 = v.e1;
    r.e3 = v.e3;
    r.e4 = v.e4;
    return r;
}

Face FaceFor(const QString& e2_1, const QString& key) {
    if (e2_1.isEmpty())
        return Face::Unanswered;
    return e2_1 == key ? Face::Right : Face::Wrong;
}

QString FacePicture(Face face, bool down) {
    switch (face) {
    case Face::Right:
        return down ? QStringLiteral("pic/kvatdw_r.bmp") : QStringLiteral("pic/kvatyes.bmp");
    case Face::Wrong:
        return down ? QStringLiteral("pic/kvatdw_w.bmp") : QStringLiteral("pic/kvatno.bmp");
    case Face::Answered:
        return down ? QStringLiteral("pic/kvatdw.bmp") : QStringLiteral("pic/kvatover.bmp");
    case Face::Unanswered:
    default:
        return down ? QStringLiteral("pic/kvatdw.bmp") : QStringLiteral("pic/kvatup.bmp");
    }
}

QStringList QuestionButtonPictures() {
    return {QStringLiteral("pic/kvatup.bmp"),   QStringLiteral("pic/kvatdw.bmp"),
            QStringLiteral("pic/kvatyes.bmp"),  QStringLiteral("pic/kvatno.bmp"),
            QStringLiteral("pic/kvatdw_r.bmp"), QStringLiteral("pic/kvatdw_w.bmp")};
}

QStringList AnswerSheetPictures() {
    return QuestionButtonPictures() << QStringLiteral("pic/kvatover.bmp");
}

QStringList TypeTabPictures() {
    return {QStringLiteral("pic/kvattxup.bmp"), QStringLiteral("pic/kvattxdw.bmp")};
}

ButtonStates StatesFor(bool answeredNow, bool hasExplanation, const QString& firstPoint,
                       int typeCode, const QString& note) {
    ButtonStates s;
    if (answeredNow) {
        s.explanation = hasExplanation;
        s.points = !firstPoint.trimmed().isEmpty();
        s.answer = !IsSubjective(typeCode);
    }
    s.noteCaption = note.trimmed().isEmpty() ? QStringLiteral("笔记") : QStringLiteral("有内容");
    return s;
}

int AnswerTimerInterval(int typeCode, const QVector<int>& typeCodes,
                        const QVector<int>& typeTimes) {
    const qsizetype i = typeCodes.indexOf(typeCode);
    if (i < 0 || i >= typeTimes.size())
        return 600;
    return typeTimes[i];
}

int GroupTotal(int questions) {
    return questions <= 0 ? 0 : (questions + kGroupSize - 1) / kGroupSize;
}

Group GroupAt(int number, int questions) {
    Group g;
    g.number = std::max(1, number);
    g.start = (g.number - 1) * kGroupSize + 1;
    g.count = std::clamp(questions - g.start + 1, 0, kGroupSize);
    return g;
}

int ButtonOfRecord(int recNo) {
    const int m = recNo % kGroupSize;
    return m == 0 ? kGroupSize : m;
}

} // namespace Question
