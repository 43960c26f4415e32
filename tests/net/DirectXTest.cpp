#include "engine/DirectX.h"

#include <gtest/gtest.h>

TEST(DirectXError, ReportLineNamesFileLineAndResult) {
    EXPECT_EQ(FormatDirectXError("DirectPlay", 42, static_cast<int32_t>(0x8877010Eu)),
              "\nError Reported in DirectPlay (42) A message cannot be sent because the "
              "transmission medium is busy.");
    EXPECT_EQ(FormatDirectXError("DirectDraw", 7, static_cast<int32_t>(0x887601C2u)),
              "\nError Reported in DirectDraw (7) Access to the surface is refused because its "
              "memory is gone; it "
              "must be restored.");
    EXPECT_EQ(FormatDirectXError("DirectSound", 1, 0x1234),
              "\nError Reported in DirectSound (1) Unknown error");
}
