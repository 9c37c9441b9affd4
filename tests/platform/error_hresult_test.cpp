// Error numbers through COM: what the server sends is what the client shows.
#include "platform/win/error_hresult.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "host/error.h"

namespace tav::platform {
namespace {

TEST(ErrorNumbers, ARunTimeNumberTravelsInTheControlFacilityAndComesBackAsItself) {
    for (std::int32_t number : {6, 13, 91, 424, 438, 65535}) {
        const HRESULT travelling = hresultOf(number);
        EXPECT_EQ(static_cast<std::uint32_t>(travelling) & 0xFFFF0000u, 0x800A0000u) << number;
        EXPECT_EQ(numberOf(travelling), number);
    }
    for (std::int32_t number : {host::hostFailureNumber, -2147221021, -2147418111}) {
        EXPECT_EQ(numberOf(hresultOf(number)), number);
    }
}

}  // namespace
}  // namespace tav::platform
