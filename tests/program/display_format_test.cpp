// Choosing a back-buffer format for a size and colour depth from the adapter's mode list.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <vector>

#include "program/direct3d_mocks.h"
#include "program/program_fixture.h"

using ::testing::_;
using ::testing::NiceMock;

namespace {

struct Mode {
    UINT width;
    UINT height;
    UINT refresh;
    D3DFORMAT format;
};

struct FormatCase {
    const char* name;
    std::vector<Mode> modes;
    UINT depth;
    D3DFORMAT expected;
};

class FindDisplayFormat : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FindDisplayFormat, FirstMatchingModeInEnumerationOrderWins) {
    const FormatCase& c = GetParam();
    NiceMock<MockDirect3D8> direct3d;
    ON_CALL(direct3d, GetAdapterModeCount(D3DADAPTER_DEFAULT)).WillByDefault([&](UINT) {
        return static_cast<UINT>(c.modes.size());
    });
    ON_CALL(direct3d, EnumAdapterModes(D3DADAPTER_DEFAULT, _, _))
        .WillByDefault([&](UINT, UINT index, D3DDISPLAYMODE* mode) {
            const Mode& m = c.modes.at(index);
            *mode = D3DDISPLAYMODE{m.width, m.height, m.refresh, m.format};
            return D3D_OK;
        });

    TestApplication app;
    app.m_pDirect3D = &direct3d;
    EXPECT_EQ(app.FindDisplayFormat(800, 600, c.depth), c.expected);
    app.m_pDirect3D = nullptr;
}

const std::vector<Mode> kTypicalAdapter = {
    {640, 480, 60, D3DFMT_X8R8G8B8}, {640, 480, 60, D3DFMT_R5G6B5},
    {800, 600, 60, D3DFMT_X8R8G8B8}, {800, 600, 60, D3DFMT_R5G6B5},
};

INSTANTIATE_TEST_SUITE_P(
    Modes, FindDisplayFormat,
    ::testing::Values(
        FormatCase{"NoModes", {}, 32, D3DFMT_UNKNOWN},
        FormatCase{"ThirtyTwoBit", kTypicalAdapter, 32, D3DFMT_X8R8G8B8},
        FormatCase{"SixteenBit", kTypicalAdapter, 16, D3DFMT_R5G6B5},
        FormatCase{"DepthOtherThan16Or32", kTypicalAdapter, 24, D3DFMT_UNKNOWN},
        FormatCase{"OnlyAlphaFormatsNeverMatch", {{800, 600, 60, D3DFMT_A8R8G8B8}, {800, 600, 60, D3DFMT_A1R5G5B5}},
                   32, D3DFMT_UNKNOWN},
        FormatCase{"OnlyAlphaFormatsNeverMatchSixteen", {{800, 600, 60, D3DFMT_A4R4G4B4}}, 16, D3DFMT_UNKNOWN},
        FormatCase{"WidthMatchesHeightDoesNot", {{800, 480, 60, D3DFMT_X8R8G8B8}}, 32, D3DFMT_UNKNOWN},
        FormatCase{"HeightMatchesWidthDoesNot", {{1024, 600, 60, D3DFMT_X8R8G8B8}}, 32, D3DFMT_UNKNOWN},
        FormatCase{"SixteenBitOnlyAdapterAskedFor32", {{800, 600, 60, D3DFMT_R5G6B5}}, 32, D3DFMT_UNKNOWN},
        FormatCase{"EachSixteenBitFormatCountsX1R5G5B5", {{800, 600, 60, D3DFMT_X1R5G5B5}}, 16, D3DFMT_X1R5G5B5},
        FormatCase{"EachSixteenBitFormatCountsX4R4G4B4", {{800, 600, 60, D3DFMT_X4R4G4B4}}, 16, D3DFMT_X4R4G4B4},
        FormatCase{"R8G8B8BeforeX8R8G8B8IsTaken",
                   {{800, 600, 75, D3DFMT_R8G8B8}, {800, 600, 60, D3DFMT_X8R8G8B8}}, 32, D3DFMT_R8G8B8},
        FormatCase{"RefreshRatePlaysNoPart",
                   {{800, 600, 85, D3DFMT_X8R8G8B8}, {800, 600, 60, D3DFMT_R8G8B8}}, 32, D3DFMT_X8R8G8B8}),
    [](const ::testing::TestParamInfo<FormatCase>& info) { return std::string(info.param.name); });

TEST(FindDisplayFormatCount, AsksForTheCountBeforeEveryPass) {
    NiceMock<MockDirect3D8> direct3d;
    int countCalls = 0;
    ON_CALL(direct3d, GetAdapterModeCount(D3DADAPTER_DEFAULT)).WillByDefault([&](UINT) {
        ++countCalls;
        return 3u;
    });
    ON_CALL(direct3d, EnumAdapterModes(D3DADAPTER_DEFAULT, _, _)).WillByDefault([](UINT, UINT, D3DDISPLAYMODE* mode) {
        *mode = D3DDISPLAYMODE{640, 480, 60, D3DFMT_X8R8G8B8};
        return D3D_OK;
    });
    TestApplication app;
    app.m_pDirect3D = &direct3d;
    EXPECT_EQ(app.FindDisplayFormat(800, 600, 32), D3DFMT_UNKNOWN);
    EXPECT_EQ(countCalls, 4);  // three passes and the final test
    app.m_pDirect3D = nullptr;
}

}  // namespace
