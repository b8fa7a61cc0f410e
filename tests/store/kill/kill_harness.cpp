// Kills a program that is recording answers at random moments and checks that the learner's bank
// survives every kill whole: the file passes SQLite's integrity check, and today's log, the
// chapter counters and the knowledge-point counters agree with the questions' own rows.
//
//   kill_harness [--kills N] [--seed S]     the check (exit status 1 on any disagreement)
//   kill_harness --child <program folder>   records answers until killed (started by the check)
#include "bank_fixture.h"

#include "practice/practice_session.h"
#include "store/data_module.h"
#include "store/learner_bank.h"

#include "platform/clock.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QThread>

#include <csignal>
#include <cstdio>

namespace {

const QDate kToday(2026, 12, 9);

// The child: a practice over every question, run by the practice session as the practice window
// runs it, answered at random; now and then the practice's time is added.
int runChild(const QString& programFolder, const QString& dataFolder) {
    Clock::setFixed(QDateTime(kToday, QTime(10, 0)));
    LearnerBank::setDataFolder(dataFolder);
    TDM1 dm(programFolder);
    if (!dm.ConnectOk)
        return 3;
    PracticeSession session(dm, dm.Cn1Query_tm);
    if (!session.load(QStringLiteral("select * from tab_answ order by A1")))
        return 4;
    auto* random = QRandomGenerator::global();
    const QStringList answers{"A", "B", "C", "D", "AC", "ACD", "1"};
    for (qint64 n = 0;; ++n) {
        session.record(int(random->bounded(session.total())) + 1,
                       answers[int(random->bounded(answers.size()))], kToday);
        if (n % 25 == 24)
            dm.AddStudyTime(QStringLiteral("0:00:05"));
    }
}

// Statements whose every row is a disagreement between a counter and the questions' rows.
const char* const kChecks[][2] = {
    {"log answers", "select 1 from (select coalesce(sum(A2),0) s from tab_rz) l, "
                    "(select coalesce(sum(E3),0) s from tab_answ) q where l.s<>q.s"},
    {"log answered today", "select 1 from tab_rz r where A1='2026-12-09' and coalesce(B1,0)<>"
                           "(select count(*) from tab_answ where E1='2026-12-09')"},
    {"log wrong", "select 1 from (select coalesce(sum(A3),0) s from tab_rz) l, "
                  "(select coalesce(sum(D2),0) s from tab_kmmc where length(C1)=1) k "
                  "where l.s<>k.s"},
    {"chapter answers",
     "select C1 from tab_kmmc k where coalesce(D1,0)<>(select coalesce(sum(E3),0) "
     "from tab_answ where substr(A10,1,length(k.C1))=k.C1)"},
    {"chapter questions done", "select C1 from tab_kmmc k where coalesce(C4,0)<>(select count(*) "
                               "from tab_answ where E3>0 and substr(A10,1,length(k.C1))=k.C1)"},
    {"point answers",
     "select ftid from tab_rule r where coalesce(q2,0)<>(select coalesce(sum(E3),0) "
     "from tab_answ where r.ftid in (k3,k4,k5,k6,k7,k8,k9,k10,k11,k12))"},
    {"point questions done", "select ftid from tab_rule r where coalesce(q1,0)<>(select count(*) "
                             "from tab_answ where E3>0 and r.ftid in (k3,k4,k5,k6,k7,k8,k9,k10,"
                             "k11,k12))"},
    {"catalogue answers",
     "select id from tab_fgmc f where coalesce(q2,0)<>(select coalesce(sum(E3),0) from tab_answ "
     "where f.id in (substr(k3,1,length(f.id)),substr(k4,1,length(f.id)),"
     "substr(k5,1,length(f.id)),substr(k6,1,length(f.id)),substr(k7,1,length(f.id))))"},
};

// Disagreements in the learner's bank, each written out.
int disagreements(const QString& bank) {
    Database db;
    db.openReadOnly(bank);
    int found = 0;
    const QString integrity = db.scalar(QStringLiteral("PRAGMA integrity_check")).toString();
    if (integrity != QLatin1String("ok")) {
        std::fprintf(stderr, "integrity check: %s\n", qPrintable(integrity));
        ++found;
    }
    for (const auto& check : kChecks) {
        Statement st(db.handle(), QString::fromUtf8(check[1]));
        while (st.step()) {
            std::fprintf(stderr, "%s disagree: %s\n", check[0], qPrintable(st.value(0).toString()));
            ++found;
        }
    }
    return found;
}

int runCheck(int kills, quint32 seed) {
    Fixtures::ProgramFolder folder;
    QRandomGenerator random(seed);
    int total = 0;
    for (int k = 1; k <= kills; ++k) {
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--child"), folder.path(), folder.dataPath()});
        if (!child.waitForStarted()) {
            std::fprintf(stderr, "the child did not start\n");
            return 2;
        }
        // Anywhere from during the start (copy, backup) to well into the answers.
        QThread::msleep(random.bounded(10, 400));
        ::kill(pid_t(child.processId()), SIGKILL);
        child.waitForFinished();
        if (child.exitStatus() == QProcess::NormalExit && child.exitCode() != 0) {
            std::fprintf(stderr, "the child ended by itself with %d\n", child.exitCode());
            return 2;
        }
        if (!QFileInfo::exists(folder.learnerBankPath()))
            continue; // killed before the first copy was in place
        const int found = disagreements(folder.learnerBankPath());
        if (found) {
            std::fprintf(stderr, "after kill %d: %d disagreements\n", k, found);
            total += found;
        }
    }
    Database db;
    db.openReadOnly(folder.learnerBankPath());
    std::printf("kills: %d, answers counted: %lld, disagreements: %d\n", kills,
                db.scalar(QStringLiteral("select coalesce(sum(E3),0) from tab_answ")).toLongLong(),
                total);
    return total == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() >= 4 && args[1] == QLatin1String("--child"))
        return runChild(args[2], args[3]);
    int kills = 20;
    quint32 seed = quint32(QDateTime::currentMSecsSinceEpoch());
    for (int i = 1; i + 1 < args.size(); ++i) {
        if (args[i] == QLatin1String("--kills"))
            kills = args[i + 1].toInt();
        else if (args[i] == QLatin1String("--seed"))
            seed = args[i + 1].toUInt();
    }
    std::printf("seed: %u\n", seed);
    return runCheck(kills, seed);
}
