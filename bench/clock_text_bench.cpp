#include <benchmark/benchmark.h>

#include "core/clock_text.h"
#include "core/ole_date.h"

namespace {

// The tick's call: the default pictures, the 24-hour switch on, a new second each time.
void formatClockTextDefaultPictures(benchmark::State& state) {
    double dateTime = talvessa::oleDateFromCalendar(2020, 10, 26, 23, 59, 59);
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            talvessa::formatClockText(dateTime, "yyyy/M/d\r\n", "hh:mm:ss", 1));
        dateTime += 1.0 / 86400;
    }
}
BENCHMARK(formatClockTextDefaultPictures);

}  // namespace
