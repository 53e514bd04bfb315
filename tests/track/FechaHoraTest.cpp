// Local times here are Madrid's (see ZonaHorariaFija.cpp).
#include "FechaHora.h"

#include <gtest/gtest.h>

namespace {
QString local(TFechaHora v) {
    return FechaHoraISO(v);
}

struct CasoHora {
    const char* guarda;
    const char* texto;
    const char* local; // "" for 0
};

const CasoHora casos[] = {
    {"UTC in summer time gains two hours", "2011-05-01T10:00:00Z", "2011-05-01T12:00:00"},
    {"a +02:00 zone in summer is the local hour", "2011-05-01T10:00:00+02:00",
     "2011-05-01T10:00:00"},
    // The offset is the one in force at the track's instant, not at the moment of reading:
    // these two rows cannot both pass with the offset of "now".
    {"a winter track shows winter local time", "2011-01-15T10:00:00Z", "2011-01-15T11:00:00"},
    {"a summer track shows summer local time", "2011-07-15T10:00:00Z", "2011-07-15T12:00:00"},
    {"the last second before the spring change", "2011-03-27T00:59:59Z", "2011-03-27T01:59:59"},
    {"the first second after the spring change", "2011-03-27T01:00:00Z", "2011-03-27T03:00:00"},
    {"the last second before the autumn change", "2011-10-30T00:59:59Z", "2011-10-30T02:59:59"},
    {"the first second after the autumn change", "2011-10-30T01:00:00Z", "2011-10-30T02:00:00"},
    {"a summer evening rolls over to the next day", "2011-07-15T22:30:00Z", "2011-07-16T00:30:00"},
    {"a negative zone", "2011-05-01T05:00:00-05:00", "2011-05-01T12:00:00"},
    {"a half-hour zone", "2011-05-01T15:30:00+05:30", "2011-05-01T12:00:00"},
    {"no zone is read as UTC", "2011-05-01T10:00:00", "2011-05-01T12:00:00"},
    {"the fraction of the second is dropped", "2011-05-01T10:00:59.999Z", "2011-05-01T12:00:59"},
    {"white space around the text", "\n  2011-05-01T10:00:00Z \r\n", "2011-05-01T12:00:00"},
    {"29 February of a leap year", "2012-02-29T10:00:00Z", "2012-02-29T11:00:00"},
    {"empty text", "", ""},
    {"only spaces", "   ", ""},
    {"not a date", "yesterday morning", ""},
    {"date without time", "2011-05-01", ""},
    {"space instead of T", "2011-05-01 10:00:00Z", ""},
    {"month 13", "2011-13-01T10:00:00Z", ""},
    {"30 February", "2011-02-30T10:00:00Z", ""},
    {"29 February of a common year", "2011-02-29T10:00:00Z", ""},
    {"hour 24", "2011-05-01T24:00:00Z", ""},
    {"minute 60", "2011-05-01T10:60:00Z", ""},
    {"second 61", "2011-05-01T10:00:61Z", ""},
    {"zone hour with one digit", "2011-05-01T10:00:00+2:00", ""},
    {"zone beyond 14 hours", "2011-05-01T10:00:00+15:00", ""},
    {"text after the zone", "2011-05-01T10:00:00Zjunk", ""},
    {"a point without fraction digits", "2011-05-01T10:00:00.Z", ""},
    {"letters in the year", "20x1-05-01T10:00:00Z", ""},
};
} // namespace

TEST(LeerFechaHoraGPX, ToLocalTime) {
    for (const CasoHora& c : casos) {
        SCOPED_TRACE(c.guarda);
        const TFechaHora v = LeerFechaHoraGPX(std::string_view(c.texto));
        EXPECT_EQ(local(v), QString::fromUtf8(c.local));
        if (c.local[0] == 0) {
            EXPECT_EQ(v, 0.0);
        }
        EXPECT_EQ(LeerFechaHoraGPX(QString::fromUtf8(c.texto)), v) << "the two forms differ";
    }
}

TEST(LeerFechaHoraGPX, IsDaysSince1899WithTheTimeAsFraction) {
    // 1 May 2011 12:00 local is day 40664 and a half.
    EXPECT_DOUBLE_EQ(LeerFechaHoraGPX(std::string_view("2011-05-01T10:00:00Z")), 40664.5);
    EXPECT_EQ(LeerFechaHoraGPX(QStringLiteral("2011-05-01T10:00:00\u00A0Z")), 0.0)
        << "a non-ASCII character is not a date";
}

TEST(FechaHora, QDateTimeRoundTrip) {
    const QDateTime dt(QDate(2022, 5, 14), QTime(8, 40, 5));
    const TFechaHora v = FechaHoraDesdeQDateTime(dt);
    EXPECT_EQ(QDateTimeDesdeFechaHora(v), dt);
    EXPECT_FALSE(QDateTimeDesdeFechaHora(0).isValid()) << "0 means no time";
    EXPECT_EQ(FechaHoraISO(0), QString());
    EXPECT_EQ(FechaHoraDesdeQDateTime(QDateTime()), 0.0);
}
