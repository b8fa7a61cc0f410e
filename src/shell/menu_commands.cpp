#include "menu_commands.h"

#include <QDialog>
#include <QHash>

namespace MenuCommands {

namespace {
struct Registry {
    QHash<QString, WindowFactory> windows;
    QHash<QString, Action> actions;
    QPointer<QDialog> active;
};

Registry& registry() {
    static Registry r;
    return r;
}
} // namespace

void registerWindow(const QString& command, WindowFactory factory) {
    registry().windows.insert(command, std::move(factory));
}

void registerAction(const QString& command, Action action) {
    registry().actions.insert(command, std::move(action));
}

void unregister(const QString& command) {
    registry().windows.remove(command);
    registry().actions.remove(command);
}

void clear() {
    registry().windows.clear();
    registry().actions.clear();
}

WindowFactory window(const QString& command) {
    return registry().windows.value(command);
}
Action action(const QString& command) {
    return registry().actions.value(command);
}

QDialog* activeWindow() {
    return registry().active;
}
void setActiveWindow(QDialog* window) {
    registry().active = window;
}

} // namespace MenuCommands
