#include "widgets/window_registry.h"

#include <QDialog>
#include <QHash>
#include <QPointer>

#include <memory>

namespace WindowRegistry {

namespace {
struct Registry {
    QHash<QString, WindowFactory> windows;
    QHash<QString, Opener> openers;
    QHash<QString, Action> actions;
    QPointer<QDialog> active;
};

Registry& registry() {
    static Registry r;
    return r;
}
} // namespace

void registerWindow(const QString& name, WindowFactory factory) {
    unregister(name);
    registry().windows.insert(name, std::move(factory));
}

void registerOpener(const QString& name, Opener opener) {
    unregister(name);
    registry().openers.insert(name, std::move(opener));
}

void registerAction(const QString& name, Action action) {
    registry().actions.insert(name, std::move(action));
}

void unregister(const QString& name) {
    registry().windows.remove(name);
    registry().openers.remove(name);
    registry().actions.remove(name);
}

void clear() {
    registry().windows.clear();
    registry().openers.clear();
    registry().actions.clear();
}

bool has(const QString& name) {
    const Registry& r = registry();
    return (r.windows.contains(name) && r.windows.value(name)) ||
           (r.openers.contains(name) && r.openers.value(name));
}

WindowFactory window(const QString& name) {
    return registry().windows.value(name);
}
Action action(const QString& name) {
    return registry().actions.value(name);
}

int open(const QString& name, QWidget* owner, const QString& argument) {
    // Copies: what runs may register or remove entries.
    if (const Opener opener = registry().openers.value(name))
        return opener(owner, argument);
    const WindowFactory factory = registry().windows.value(name);
    if (!factory)
        return kNotShown;
    std::unique_ptr<QDialog> w(factory(owner));
    if (!w)
        return kNotShown;
    return w->exec();
}

QDialog* activeWindow() {
    return registry().active;
}
void setActiveWindow(QDialog* window) {
    registry().active = window;
}

} // namespace WindowRegistry
