#pragma once

#include <QString>

// The names under which the toolkit's per-user settings store keeps the
// program's settings.
namespace SettingsStore {

inline QString organisation()
{
    return QStringLiteral("Quenlit Freeware");
}

inline QString application()
{
    return QStringLiteral("Velmora");
}

} // namespace SettingsStore
