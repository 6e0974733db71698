// A calendar date and time in whole seconds, and the system's current local time. Generators
// take the current time as a value so that their callers (and tests) decide what "now" is.
#pragma once

namespace yelian {

struct DateTime {
    int year = 0;
    int month = 0;  // 1-12
    int day = 0;    // 1-31
    int hour = 0;   // 0-23
    int minute = 0;
    int second = 0;

    friend bool operator==(const DateTime&, const DateTime&) = default;
};

// The wall clock in the local time zone.
DateTime currentLocalDateTime();

}  // namespace yelian
