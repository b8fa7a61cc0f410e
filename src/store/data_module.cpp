#include "store/data_module.h"

#include "store/app_state.h"
#include "store/bank_password.h"
#include "store/bank_upgrade.h"
#include "store/learner_bank.h"
#include "store/schema.h"

#include "platform/clock.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

TDM1::TDM1(const QString& programFolder, QObject* parent) : QObject(parent) {
    Cn1Query1 = makeQuery();
    Cn1Query2 = makeQuery();
    Cn1Query_tm = makeQuery();
    cn1query_nr = makeQuery();
    Cn1Query_exam = makeQuery();
    Cn1Query3 = makeQuery();
    ADOQ_kl = makeQuery();
    Cn1Table_kmmc = makeTable(QStringLiteral("tab_kmmc"), QStringLiteral("bh"));
    Cn1Table_tx = makeTable(QStringLiteral("tab_tx1"));
    Cn1Table_rz = makeTable(QStringLiteral("tab_rz"));
    Cn1Table_cj = makeTable(QStringLiteral("tab_cj"));
    Cn1Table_fgmc = makeTable(QStringLiteral("tab_fgmc"));
    Cn1Table_plan = makeTable(QStringLiteral("tab_plan"));
    ADOQ_kmmc = makeQuery();
    m_query = makeQuery();
    m_queryDetail = makeQuery();
    ADOQuery3 = makeQuery();
    ADO_0 = makeQuery();
    Cn2Query1 = new Dataset(&ADOCn2, this);

    connect(Cn1Table_kmmc, &Dataset::dataChanged, this, &TDM1::Cn1DS_kmmcDataChange);

    DataModuleCreate(programFolder);
}

TDM1::~TDM1() {
    // Datasets are children of the module; close them before the connections go.
    for (Dataset* ds : findChildren<Dataset*>())
        ds->close();
}

Dataset* TDM1::makeQuery() {
    return new Dataset(&ADOCn1, this);
}

Dataset* TDM1::makeTable(const QString& table, const QString& orderBy) {
    auto* ds = new Dataset(&ADOCn1, this);
    ds->setTableName(table);
    ds->setOrderBy(orderBy);
    return ds;
}

QString TDM1::AppPathFrom(const QString& folder) {
    QString path = QDir::fromNativeSeparators(folder);
    if (path == QLatin1String("/"))
        return path;
    while (path.size() > 1 && path.endsWith(QLatin1Char('/')))
        path.chop(1);
    return path + QLatin1Char('/');
}

void TDM1::DataModuleCreate(const QString& programFolder) {
    App::AppPath = AppPathFrom(programFolder.isEmpty() ? QCoreApplication::applicationDirPath()
                                                       : programFolder);
    ConnectOk = false;
    try {
        if (ADOCn1.isOpen())
            ADOCn1.close();
        BankFile = LearnerBank::bankFile();
        const LearnerBank::Prepared prepared =
            LearnerBank::prepare(App::AppPath + bankFileName(), BankFile);
        if (prepared == LearnerBank::Prepared::NoTemplate ||
            prepared == LearnerBank::Prepared::Failed)
            return;
        ADOCn1.open(BankFile);
        if (!Schema::hasBankTables(ADOCn1) ||
            !BankPassword::verify(ADOCn1, BankPassword::bankPassword())) {
            ADOCn1.close();
            return;
        }
        const QString backups = LearnerBank::backupFolder();
        if (Schema::needsUpgrade(ADOCn1))
            LearnerBank::backup(ADOCn1, backups, Clock::now());
        Schema::upgrade(ADOCn1);
        // Every answer writes a few rows; a write-ahead log keeps that quick without risking the
        // file's integrity (a power cut can lose the last answers, never corrupt the bank).
        ADOCn1.exec(QStringLiteral("PRAGMA journal_mode=WAL"));
        ADOCn1.exec(QStringLiteral("PRAGMA synchronous=NORMAL"));
        ConnectOk = true;
        if (!LearnerBank::hasBackupOf(backups, Clock::today()))
            LearnerBank::backup(ADOCn1, backups, Clock::now());
        // A newer release's delivered bank may bring questions this bank lacks.
        TemplateAdded =
            BankUpgrade::mergeTemplate(ADOCn1, App::AppPath + bankFileName(), backups).questions;
    } catch (const DbError&) {
        ADOCn1.close();
        ConnectOk = false;
    }
}

Dataset& TDM1::PlanRow() {
    if (!Cn1Table_plan->active())
        Cn1Table_plan->open();
    Cn1Table_plan->first();
    return *Cn1Table_plan;
}

void TDM1::execUpdate(const QString& sql, const Params& params) {
    ADOQuery3->close();
    ADOCn1.exec(sql, params);
}

void TDM1::Cn1DS_kmmcDataChange(const QString&) {
    if (Cn1Table_kmmc->active() && Cn1Table_kmmc->recNo() > 0)
        App::ChapterHeading = Cn1Table_kmmc->text(QStringLiteral("C1_1"));
}
