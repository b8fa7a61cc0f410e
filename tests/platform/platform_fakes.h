#pragma once

// Test doubles for the platform seams: a scripted responder for every dialog, a recording music
// player and document opener, and an observer of the program's end. Each installs itself for its
// lifetime and puts the real service back when it goes.

#include "platform/desktop_services.h"
#include "platform/dialogs.h"
#include "platform/music_player.h"
#include "platform/platform_services.h"
#include "platform/program_end.h"
#include "platform/word_processor.h"

#include <QStringList>
#include <QVector>

#include <deque>
#include <functional>

namespace Fakes {

// Records every ShowDlg call, standard message box and file picker and answers them: from the
// queue of scripted answers first, then with the request's first button (1 for ShowDlg, OK for
// the box); a file picker from the queue of scripted paths, else as cancelled (empty path).
class ScriptedDialogs {
  public:
    ScriptedDialogs() {
        Dialogs::setPathResponder([this](const Dialogs::Request& r) {
            requests.push_back(r);
            if (paths.empty())
                return QString();
            const QString p = paths.front();
            paths.pop_front();
            return p;
        });
        Dialogs::setResponder([this](const Dialogs::Request& r) {
            requests.push_back(r);
            if (onRequest)
                onRequest(r);
            if (!answers.empty()) {
                const int a = answers.front();
                answers.pop_front();
                return a;
            }
            return r.kind == Dialogs::Kind::ShowDlg ? 1 : int(Dialogs::BoxOk);
        });
    }
    ~ScriptedDialogs() {
        Dialogs::setResponder({});
        Dialogs::setPathResponder({});
    }
    ScriptedDialogs(const ScriptedDialogs&) = delete;
    ScriptedDialogs& operator=(const ScriptedDialogs&) = delete;

    void answer(int result) { answers.push_back(result); }
    void choosePath(const QString& path) { paths.push_back(path); }
    const Dialogs::Request& last() const { return requests.back(); }
    QStringList texts() const {
        QStringList out;
        for (const auto& r : requests)
            out << r.text;
        return out;
    }

    QVector<Dialogs::Request> requests;
    std::deque<int> answers;
    std::deque<QString> paths;
    std::function<void(const Dialogs::Request&)> onRequest;
};

// Counts the program's end requests instead of stopping the event loops.
class EndObserver {
  public:
    EndObserver() {
        ProgramEnd::reset();
        ProgramEnd::setObserver([this] { ++count; });
    }
    ~EndObserver() {
        ProgramEnd::setObserver({});
        ProgramEnd::reset();
    }
    EndObserver(const EndObserver&) = delete;
    EndObserver& operator=(const EndObserver&) = delete;

    bool ended() const { return ProgramEnd::requested(); }
    int count = 0;
};

// Counts the requests to show the desktop instead of minimising every window.
class DesktopFake : public DesktopControl {
  public:
    DesktopFake() { Platform::setDesktop(this); }
    ~DesktopFake() override { Platform::setDesktop(nullptr); }
    DesktopFake(const DesktopFake&) = delete;
    DesktopFake& operator=(const DesktopFake&) = delete;
    void showDesktop() override { ++shown; }
    int shown = 0;
};

class MusicPlayerFake : public MusicPlayer {
  public:
    MusicPlayerFake() { Platform::setMusic(this); }
    ~MusicPlayerFake() override { Platform::setMusic(nullptr); }
    MusicPlayerFake(const MusicPlayerFake&) = delete;
    MusicPlayerFake& operator=(const MusicPlayerFake&) = delete;

    bool hasOutputDevice() override { return device; }
    bool play(const QString& file) override {
        played << file;
        playing = playSucceeds;
        return playSucceeds;
    }
    void close() override {
        ++closes;
        playing = false;
    }
    bool isPlaying() const override { return playing; }
    void setVolumeWord(quint32 word) override { volume = word; }
    quint32 volumeWord() const override { return volume; }

    bool device = true;
    bool playSucceeds = true;
    bool playing = false;
    QStringList played;
    int closes = 0;
    quint32 volume = 0;
};

class DocumentOpenerFake : public DocumentOpener {
  public:
    DocumentOpenerFake() { Platform::setDocuments(this); }
    ~DocumentOpenerFake() override { Platform::setDocuments(nullptr); }
    DocumentOpenerFake(const DocumentOpenerFake&) = delete;
    DocumentOpenerFake& operator=(const DocumentOpenerFake&) = delete;

    // opens: whether the desktop has a program for the documents.
    bool open(const QString& path) override {
        opened << path;
        return opens;
    }
    QStringList opened;
    bool opens = true;
};

// Records the documents handed to the word processor; opens: whether one could be started.
class WordProcessorFake : public WordProcessor {
  public:
    WordProcessorFake() { Platform::setWordProcessor(this); }
    ~WordProcessorFake() override { Platform::setWordProcessor(nullptr); }
    WordProcessorFake(const WordProcessorFake&) = delete;
    WordProcessorFake& operator=(const WordProcessorFake&) = delete;

    bool openAsNewDocument(const QString& path) override {
        opened << path;
        return opens;
    }
    QStringList opened;
    bool opens = true;
};

} // namespace Fakes
