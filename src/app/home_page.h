// The occasional visit of the maker's home page: one start in a hundred
// opens it in the user's web browser; start-up goes on at once either way.
#pragma once

#include <QUrl>
#include <functional>

namespace app {

inline constexpr char kHomePageAddress[] = "https://quorvane.example/ferrovale/";

// A random fraction from 0 inclusive to 1 exclusive.
using RandomFraction = std::function<double()>;
// Asks the desktop to open an address; false when it could not.
using UrlOpener = std::function<bool(const QUrl&)>;

// Fractions from a generator seeded from the clock (the seconds since midnight).
RandomFraction ClockSeededRandom();
// The desktop's own opener (QDesktopServices).
bool OpenWithDesktop(const QUrl& address);

// Draws a whole number from 1 to 100 and opens the home page when it is 7.
// Raises when the browser cannot be started.
void VisitHomePage(const RandomFraction& random, const UrlOpener& openUrl);

}  // namespace app
