#pragma once

#include <QString>
#include <QStringList>

// The input methods of the system, by name. Windows pick one for a text box by name
// ("智能ABC输入法") and the box switches to it when it takes the focus.
//
// The real backend knows only the input-method module the platform runs (QT_IM_MODULE, or the
// one named by the session, e.g. "ibus" or "fcitx"); it cannot switch between the engines inside
// that module, so activating the running module succeeds and any other name fails. A test puts
// its own backend in place.
class InputMethodBackend {
  public:
    virtual ~InputMethodBackend() = default;
    virtual QStringList installed() const = 0;
    // Switches the keyboard input to the named method; false when it cannot.
    virtual bool activate(const QString& name) = 0;
};

namespace InputMethods {

QStringList installed();
bool activate(const QString& name);

// The first of the preferred names that is installed, else empty.
QString choose(const QStringList& preferred);

// A test's backend (the caller keeps it); nullptr restores the real one.
void setBackend(InputMethodBackend* backend);

} // namespace InputMethods
