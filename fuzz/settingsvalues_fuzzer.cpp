// Feeds any text to the conversions between stored settings text and values, and checks
// the promises of their headers: what is written reads back as the same value, and the
// lenient view-mode reader agrees with the strict one on text both accept.

#include "fuzzinput.h"

#include "shell/settingsvalues.h"

#include <cmath>
#include <cstring>

using namespace pavix;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString text = QString::fromUtf8(fuzz::bytesOf(data, size));

    const auto single = shell::singleFromText(text);
    if (single) {
        fuzz::require(std::isfinite(*single), "a single read from text is finite");
        const auto again = shell::singleFromText(shell::textFromSingle(*single));
        fuzz::require(again && *again == *single, "a single written as text reads back the same");
    }

    const auto integer = shell::int32FromText(text);
    if (integer) {
        fuzz::require(shell::int32FromText(shell::textFromInt(*integer)) == integer,
                      "an integer written as text reads back the same");
        fuzz::require(shell::viewModeFromText(text) == *integer,
                      "the view-mode reader takes a whole number as the strict reader does");
    }

    const auto truth = shell::truthFromText(text);
    if (truth)
        fuzz::require(shell::truthFromText(shell::textFromTruth(*truth)) == truth,
                      "a truth written as text reads back the same");
    (void)shell::viewModeFromText(text);

    // The same bytes as a stored single and a stored integer, whatever their bits.
    if (size >= sizeof(float)) {
        float bits;
        std::memcpy(&bits, data, sizeof bits);
        const auto read = shell::singleFromText(shell::textFromSingle(bits));
        if (std::isfinite(bits))
            fuzz::require(read && *read == bits, "every finite single reads back from its text");
        else
            fuzz::require(!read, "infinities and NaN read back as no value");
    }
    if (size >= sizeof(std::int32_t)) {
        std::int32_t number;
        std::memcpy(&number, data, sizeof number);
        fuzz::require(shell::int32FromText(shell::textFromInt(number)) == number,
                      "every 32-bit integer reads back from its text");
    }
    return 0;
}
