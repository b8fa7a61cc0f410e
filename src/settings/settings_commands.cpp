#include "settings/settings_commands.h"

#include "settings/about_window.h"
#include "settings/config_window.h"
#include "settings/upgrade_window.h"

#include "widgets/window_registry.h"

void registerSettingsCommands() {
    const auto config = [](QWidget* owner) { return new TFrmConfig(owner); };
    // The menu sets ConfigMode for "music" and "sztime"; the other windows' buttons set 0.
    WindowRegistry::registerWindow(QStringLiteral("music"), config);
    WindowRegistry::registerWindow(QStringLiteral("sztime"), config);
    WindowRegistry::registerWindow(WindowNames::Settings, config);
    WindowRegistry::registerWindow(QStringLiteral("sj"),
                                   [](QWidget* owner) { return new Tfrmstxz(owner); });
    WindowRegistry::registerWindow(QStringLiteral("about"),
                                   [](QWidget* owner) { return new TFrmAbout(owner); });
}
