#pragma once

#include <QTest>
#include <functional>

// Lets the event loop run until `condicion` holds or `ms` have passed; whether it holds.
inline bool Esperar(const std::function<bool()>& condicion, int ms = 20000) {
    return QTest::qWaitFor(condicion, ms);
}
