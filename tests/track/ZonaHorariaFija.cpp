// Every test of this program runs in the time zone of Madrid (UTC+1, UTC+2 from the
// last Sunday of March to the last Sunday of October), whatever the machine says, so
// local times can be asserted. The rule is written out in full so that no zone
// database is needed.
#include <cstdlib>
#include <ctime>

namespace {
const bool zonaFijada = [] {
    setenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3", 1);
    tzset();
    return true;
}();
} // namespace
