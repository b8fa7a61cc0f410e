#include "platform_fakes.h"

#include <stdexcept>

#include <gtest/gtest.h>

namespace {

struct RealHandlers {
    RealHandlers() {
        Dialogs::setShowDlgHandler([this](const Dialogs::Request& r) {
            seen << QStringLiteral("dlg:") + r.text;
            return 3;
        });
        Dialogs::setMessageBoxHandler([this](const Dialogs::Request& r) {
            seen << QStringLiteral("box:") + r.text;
            return int(Dialogs::BoxCancel);
        });
    }
    ~RealHandlers() {
        Dialogs::setShowDlgHandler({});
        Dialogs::setMessageBoxHandler({});
    }
    QStringList seen;
};

Dialogs::Request dlg(const QString& text) {
    Dialogs::Request r;
    r.kind = Dialogs::Kind::ShowDlg;
    r.title = QStringLiteral("提示");
    r.text = text;
    r.buttons = 2;
    r.mode = QStringLiteral("Exam");
    r.picture = 0;
    return r;
}

} // namespace

TEST(Dialogs, EachKindGoesToItsOwnRealWindow) {
    RealHandlers real;
    EXPECT_EQ(Dialogs::ask(dlg(QStringLiteral("a"))), 3);
    EXPECT_EQ(Dialogs::messageBox(QStringLiteral("提示"), QStringLiteral("b"),
                                  Dialogs::Icon::Question, Dialogs::BoxButtons::OkCancel),
              Dialogs::BoxCancel);
    EXPECT_EQ(real.seen, QStringList({QStringLiteral("dlg:a"), QStringLiteral("box:b")}));
}

TEST(Dialogs, AResponderTakesEveryRequestAndRecordsItWhole) {
    RealHandlers real;
    {
        Fakes::ScriptedDialogs script;
        script.answer(2);
        EXPECT_EQ(Dialogs::ask(dlg(QStringLiteral("交卷吗？"))), 2);
        EXPECT_EQ(Dialogs::messageBox(QStringLiteral("错误"), QStringLiteral("无法连接数据库！"),
                                      Dialogs::Icon::Critical),
                  Dialogs::BoxOk);
        ASSERT_EQ(script.requests.size(), 2);
        const Dialogs::Request& a = script.requests[0];
        EXPECT_EQ(a.kind, Dialogs::Kind::ShowDlg);
        EXPECT_EQ(a.buttons, 2);
        EXPECT_EQ(a.mode, QStringLiteral("Exam"));
        EXPECT_EQ(a.picture, 0);
        const Dialogs::Request& b = script.requests[1];
        EXPECT_EQ(b.kind, Dialogs::Kind::MessageBox);
        EXPECT_EQ(b.title, QStringLiteral("错误"));
        EXPECT_EQ(b.icon, Dialogs::Icon::Critical);
        EXPECT_EQ(b.boxButtons, Dialogs::BoxButtons::Ok);
        EXPECT_TRUE(real.seen.isEmpty());
    }
    // Gone with the responder: the real windows answer again.
    EXPECT_FALSE(Dialogs::hasResponder());
    EXPECT_EQ(Dialogs::ask(dlg(QStringLiteral("c"))), 3);
}

TEST(Dialogs, WithoutAnyWindowTheFirstButtonAnswers) {
    EXPECT_EQ(Dialogs::ask(dlg(QStringLiteral("x"))), 1);
    EXPECT_EQ(Dialogs::messageBox(QStringLiteral("提示"), QStringLiteral("y"),
                                  Dialogs::Icon::Question, Dialogs::BoxButtons::OkCancel),
              Dialogs::BoxOk);
}

TEST(Dialogs, ErrorsNobodyHandlesShowAStopBoxWithTheMessage) {
    Fakes::ScriptedDialogs script;
    Dialogs::reportError(QStringLiteral("disk I/O error"));
    ASSERT_EQ(script.requests.size(), 1);
    EXPECT_EQ(script.last().kind, Dialogs::Kind::MessageBox);
    EXPECT_EQ(script.last().icon, Dialogs::Icon::Critical);
    EXPECT_EQ(script.last().text, QStringLiteral("disk I/O error"));
    EXPECT_FALSE(script.last().title.isEmpty());
}

TEST(Dialogs, FilePickersGoToTheirHandlerOrTheResponderAndCancelAsEmpty) {
    QStringList seen;
    Dialogs::setFilePickerHandler([&](const Dialogs::Request& r) {
        seen << QStringLiteral("%1|%2|%3|%4")
                    .arg(r.kind == Dialogs::Kind::SaveFile ? "save" : "open", r.title, r.path,
                         r.filter);
        return QStringLiteral("/picked");
    });
    EXPECT_EQ(Dialogs::openFileName(QStringLiteral("打开"), QStringLiteral("/tmp"),
                                    QStringLiteral("升级文件 (*.db)")),
              QStringLiteral("/picked"));
    EXPECT_EQ(Dialogs::saveFileName(QStringLiteral("保存"), QStringLiteral("/tmp/c.bmp"), {}),
              QStringLiteral("/picked"));
    EXPECT_EQ(seen, QStringList({QStringLiteral("open|打开|/tmp|升级文件 (*.db)"),
                                 QStringLiteral("save|保存|/tmp/c.bmp|")}));
    {
        Fakes::ScriptedDialogs scripted;
        scripted.choosePath(QStringLiteral("/chosen.db"));
        EXPECT_EQ(Dialogs::openFileName(QStringLiteral("打开"), {}, {}),
                  QStringLiteral("/chosen.db"));
        EXPECT_TRUE(Dialogs::saveFileName(QStringLiteral("保存"), {}, {}).isEmpty());
        ASSERT_EQ(scripted.requests.size(), 2);
        EXPECT_EQ(scripted.requests[1].kind, Dialogs::Kind::SaveFile);
    }
    EXPECT_EQ(seen.size(), 2) << "the responder took both while installed";
    Dialogs::setFilePickerHandler({});
    EXPECT_TRUE(Dialogs::openFileName(QStringLiteral("打开"), {}, {}).isEmpty());
}

TEST(Dialogs, GuardedReportsWhatAHandlerLetsEscapeAndGoesOn) {
    Fakes::ScriptedDialogs scripted;
    int after = 0;
    EXPECT_TRUE(Dialogs::guarded([&] { ++after; }));
    EXPECT_FALSE(Dialogs::guarded([&] {
        throw std::runtime_error("disk full");
        ++after;
    }));
    EXPECT_EQ(after, 1);
    ASSERT_EQ(scripted.requests.size(), 1);
    EXPECT_EQ(scripted.last().kind, Dialogs::Kind::MessageBox);
    EXPECT_EQ(scripted.last().text, QStringLiteral("disk full"));
    EXPECT_EQ(scripted.last().icon, Dialogs::Icon::Critical);
}

namespace {

struct Handlers {
    void save(const QString& file, int copies) {
        if (copies < 0)
            throw std::runtime_error(("cannot write " + file).toStdString());
        saved << file + QStringLiteral(" x") + QString::number(copies);
    }
    QStringList saved;
};

} // namespace

TEST(Dialogs, AGuardedSlotPassesTheArgumentsAndReportsAnEscapingError) {
    Fakes::ScriptedDialogs scripted;
    Handlers h;
    const auto slot = Dialogs::guardedSlot(&h, &Handlers::save);
    slot(QStringLiteral("a.rtf"), 2);
    EXPECT_EQ(h.saved, QStringList({QStringLiteral("a.rtf x2")}));
    EXPECT_TRUE(scripted.requests.isEmpty());
    slot(QStringLiteral("b.rtf"), -1);
    EXPECT_EQ(h.saved.size(), 1);
    ASSERT_EQ(scripted.requests.size(), 1);
    EXPECT_EQ(scripted.last().text, QStringLiteral("cannot write b.rtf"));
    EXPECT_EQ(scripted.last().icon, Dialogs::Icon::Critical);
}

TEST(Dialogs, ShowDlgCarriesEveryArgumentToItsWindow) {
    Fakes::ScriptedDialogs scripted;
    scripted.answer(2);
    EXPECT_EQ(ShowDlg(QStringLiteral("错误"), QStringLiteral("无法打开试题！"), 3,
                      QStringLiteral("Exam"), 2),
              2);
    const Dialogs::Request& r = scripted.last();
    EXPECT_EQ(r.kind, Dialogs::Kind::ShowDlg);
    EXPECT_EQ(r.title, QStringLiteral("错误"));
    EXPECT_EQ(r.buttons, 3);
    EXPECT_EQ(r.mode, QStringLiteral("Exam"));
    EXPECT_EQ(r.picture, 2);
}
