#include "platform/input_methods.h"

#include <QProcessEnvironment>

namespace {

class SystemInputMethods : public InputMethodBackend {
  public:
    QStringList installed() const override {
        const QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        QStringList names;
        for (const char* var : {"QT_IM_MODULE", "XMODIFIERS", "GTK_IM_MODULE"}) {
            QString name = env.value(QString::fromLatin1(var)).trimmed();
            if (name.startsWith(QStringLiteral("@im=")))
                name = name.mid(4);
            if (!name.isEmpty() && !names.contains(name, Qt::CaseInsensitive))
                names << name;
        }
        return names;
    }

    bool activate(const QString& name) override {
        // The running module is the one in use already; Qt offers no call to switch to another.
        return installed().contains(name, Qt::CaseInsensitive);
    }
};

SystemInputMethods& systemBackend() {
    static SystemInputMethods backend;
    return backend;
}

InputMethodBackend* current = nullptr;

InputMethodBackend& backend() {
    return current ? *current : systemBackend();
}

} // namespace

namespace InputMethods {

QStringList installed() {
    return backend().installed();
}

bool activate(const QString& name) {
    if (name.isEmpty())
        return false;
    return backend().activate(name);
}

QString choose(const QStringList& preferred) {
    const QStringList have = installed();
    for (const QString& name : preferred) {
        if (have.contains(name, Qt::CaseInsensitive))
            return name;
    }
    return {};
}

void setBackend(InputMethodBackend* b) {
    current = b;
}

} // namespace InputMethods
