#pragma once

#include "store/answer_record.h"
#include "store/dataset.h"

#include <QObject>
#include <memory>

// The data module: the one connection to the question bank and every shared table and query the
// windows work through, plus the bookkeeping of study statistics (statistics.cpp).
//
// A window opens a shared dataset when it is not active and re-uses a shared query by closing it,
// replacing its text and opening it again. Table datasets carry their table name already.
class TDM1 : public QObject {
    Q_OBJECT

  public:
    // programFolder empty: the folder of the running program. AppPath + "data/QK730415.db" is the
    // delivered bank, only ever read; the connection is to the learner's bank
    // (LearnerBank::bankFile()), made from the delivered one at the first start. Before the
    // schema is upgraded, and at the first start of a day, the learner's bank is backed up.
    explicit TDM1(const QString& programFolder = {}, QObject* parent = nullptr);
    ~TDM1() override;

    bool ConnectOk = false;
    // Questions the delivered bank brought at this start (its rows the learner's bank lacked,
    // merged after a backup).
    int TemplateAdded = 0;

    Database ADOCn1;
    Dataset* Cn1Query1;     // scratch query
    Dataset* Cn1Query2;     // the case stem of the current question (tab_title)
    Dataset* Cn1Query_tm;   // question list of the running practice
    Dataset* cn1query_nr;   // the content row (tab_exer) of the current question
    Dataset* Cn1Query_exam; // rows of the open exam paper
    Dataset* Cn1Query3;     // knowledge-point rows during export
    Dataset* ADOQ_kl;       // paper rows during export
    Dataset* Cn1Table_kmmc; // tab_kmmc in order of bh
    Dataset* Cn1Table_tx;   // question-type table, "tab_tx1" until a window sets another
    Dataset* Cn1Table_rz;   // tab_rz, the daily log
    Dataset* Cn1Table_cj;   // tab_cj, the paper register
    Dataset* Cn1Table_fgmc; // tab_fgmc
    Dataset* Cn1Table_plan; // tab_plan, the settings row
    Dataset* ADOQ_kmmc;     // chapter rows for the chart
    Dataset* m_query;       // knowledge-point browser
    Dataset* m_queryDetail; // knowledge-point browser
    Dataset* ADOQuery3;     // runs update statements
    Dataset* ADO_0;         // case text of a paper question during export

    Database ADOCn2; // the upgrade file
    Dataset* Cn2Query1;

    // The learner's bank this module opened (or tried to).
    QString BankFile;

    // Relative name of the delivered bank under the program folder.
    static QString bankFileName() { return QStringLiteral("data/QK730415.db"); }

    // The program folder from a folder text, always ending in exactly one "/".
    static QString AppPathFrom(const QString& folder);

    // The settings row: Cn1Table_plan opened when it is closed, on its first row (the table may
    // be empty).
    Dataset& PlanRow();

    // Study statistics. Flags are 2 for yes and 1 for no.
    void RecordAnswerInLog(int firstToday, int wrong, int prevWrong);
    void RecordAnswerInChapters(const QString& chapterCode, int firstEver, int wrong);
    void RecordAnswerInRules(const QString& ruleIds, const QString& chapterIds,
                             const QString& topIds, int firstEver, int wrong);
    void AddStudyTime(const QString& duration);

    // Records one judged answer: the question's state columns on its current row (question is a
    // dataset over tab_answ rows) and, when it counts, today's log, the chapter tree and the
    // knowledge points, in that order, all in one transaction. On failure nothing is written,
    // the row's edit is cancelled, the shared log and chapter datasets are read again, and the
    // error is passed on.
    void RecordAnswer(Dataset* question, const AnswerRecord& answer);

    // Records one answer given on an exam paper: counted from the paper row (question columns
    // and flags as judged on it), written to the paper row (E2_1, E2, E1) and, when counted, to
    // the question's bank row (bank, current row; null when the bank has none), all in one
    // transaction. On failure nothing is written and the error is passed on.
    void RecordPaperAnswer(Dataset* paper, const AnswerRecord& onPaper, Dataset* bank,
                           const AnswerRecord& onBank);

    // Runs one statement on ADOQuery3's connection (closing ADOQuery3 first).
    void execUpdate(const QString& sql, const Params& params = {});

  public Q_SLOTS:
    void Cn1DS_kmmcDataChange(const QString& field);

  private:
    void rereadAfterRollback();
    void countAnswer(Dataset* question, const AnswerRecord& answer);
    void DataModuleCreate(const QString& programFolder);
    Dataset* makeQuery();
    Dataset* makeTable(const QString& table, const QString& orderBy = {});
};

// The one data module of the running program, created first at start-up.
inline TDM1* DM1 = nullptr;
