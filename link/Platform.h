#pragma once

#include <QtGlobal>

// The serial link's platform rules are pure functions of the platform, so
// that the Windows rules can be tried on Linux as well.
enum class Platform { Unix, Windows };

#ifdef Q_OS_WIN
inline constexpr Platform ThisPlatform = Platform::Windows;
#else
inline constexpr Platform ThisPlatform = Platform::Unix;
#endif
