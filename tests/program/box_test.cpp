// The box: its vertex buffer, the 18-vertex layout for any centre and size, rebuilds and drawing.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>

#include "program/direct3d_mocks.h"
#include "program/program_fixture.h"

using ::testing::_;
using ::testing::InSequence;
using ::testing::NiceMock;
using ::testing::Return;

namespace {

const D3DCOLOR kBlue = 0xFF0000FF;
const D3DCOLOR kRed = 0xFFFF0000;
const D3DCOLOR kGreen = 0xFF00FF00;

// Corner letters: x Left/Right, y Bottom/Top, z Near/Far.
struct Corner {
    char x, y, z;
    D3DCOLOR colour;
};

const Corner kLayout[18] = {
    {'L', 'T', 'N', kBlue},  {'L', 'T', 'F', kRed},   {'R', 'T', 'N', kRed},   {'R', 'T', 'F', kGreen},
    {'L', 'B', 'N', kRed},   {'L', 'T', 'N', kBlue},  {'R', 'B', 'N', kGreen}, {'R', 'T', 'N', kRed},
    {'R', 'B', 'F', kBlue},  {'R', 'T', 'F', kGreen}, {'L', 'B', 'F', kGreen}, {'L', 'T', 'F', kRed},
    {'L', 'B', 'N', kRed},   {'L', 'T', 'N', kBlue},  {'R', 'B', 'N', kGreen}, {'R', 'B', 'F', kBlue},
    {'L', 'B', 'N', kRed},   {'L', 'B', 'F', kGreen},
};

struct Extent {
    float centreX, centreY, centreZ, width, height, depth;
};

std::vector<BoxVertex> ExpectedVertices(const Extent& e) {
    std::vector<BoxVertex> vertices;
    for (const Corner& c : kLayout) {
        const float x = c.x == 'L' ? e.centreX - e.width / 2.0f : e.centreX + e.width / 2.0f;
        const float y = c.y == 'B' ? e.centreY - e.height / 2.0f : e.centreY + e.height / 2.0f;
        const float z = c.z == 'N' ? e.centreZ - e.depth / 2.0f : e.centreZ + e.depth / 2.0f;
        vertices.push_back(BoxVertex{x, y, z, c.colour});
    }
    return vertices;
}

class BoxOnADevice : public ::testing::Test {
protected:
    void SetUp() override {
        ON_CALL(device, CreateVertexBuffer(_, _, _, _, _))
            .WillByDefault([this](UINT, DWORD, DWORD, D3DPOOL, IDirect3DVertexBuffer8** out) {
                *out = &vertexBuffer.buffer;
                return D3D_OK;
            });
    }

    const BoxVertex* Uploaded() const { return reinterpret_cast<const BoxVertex*>(vertexBuffer.memory); }

    void ExpectUploaded(const Extent& e) const {
        const std::vector<BoxVertex> expected = ExpectedVertices(e);
        for (size_t i = 0; i < expected.size(); ++i) {
            SCOPED_TRACE("vertex " + std::to_string(i));
            EXPECT_EQ(Uploaded()[i].x, expected[i].x);
            EXPECT_EQ(Uploaded()[i].y, expected[i].y);
            EXPECT_EQ(Uploaded()[i].z, expected[i].z);
            EXPECT_EQ(Uploaded()[i].colour, expected[i].colour);
        }
    }

    NiceMock<MockDevice8> device;
    MockVertexBufferWithMemory vertexBuffer;
};

TEST_F(BoxOnADevice, CreatesA288ByteBufferOfFormat0x42AndFillsItOnce) {
    EXPECT_CALL(device, CreateVertexBuffer(288u, 0u, 0x42u, D3DPOOL_DEFAULT, _));
    EXPECT_CALL(vertexBuffer.buffer, Lock(0u, 288u, _, 0u));
    EXPECT_CALL(vertexBuffer.buffer, Unlock());
    EXPECT_CALL(device, AddRef()).Times(0);  // the box borrows its device
    TestBox box(&device);
    ExpectUploaded({0, 0, 0, 10, 10, 10});
    EXPECT_EQ(Uploaded()[0].x, -5.0f);
    EXPECT_EQ(Uploaded()[17].z, 5.0f);
}

TEST_F(BoxOnADevice, RecentringAtTheOriginLeavesTheContentsUnchanged) {
    TestBox box(&device);
    BYTE before[288];
    std::memcpy(before, vertexBuffer.memory, sizeof(before));
    EXPECT_TRUE(box.SetCentre(0, 0, 0));
    EXPECT_EQ(std::memcmp(before, vertexBuffer.memory, sizeof(before)), 0);
    EXPECT_EQ(vertexBuffer.locks, 2);
}

TEST_F(BoxOnADevice, ResizeThenRecentreRebuildsEverything) {
    TestBox box(&device);
    EXPECT_TRUE(box.SetDimensions(2, 4, 6));
    EXPECT_TRUE(box.SetCentre(1, 2, 3));
    ExpectUploaded({1, 2, 3, 2, 4, 6});
    EXPECT_EQ(Uploaded()[0].x, 0.0f);
    EXPECT_EQ(Uploaded()[0].y, 4.0f);
    EXPECT_EQ(Uploaded()[0].z, 0.0f);
    EXPECT_EQ(Uploaded()[15].x, 2.0f);
    EXPECT_EQ(Uploaded()[15].y, 0.0f);
    EXPECT_EQ(Uploaded()[15].z, 6.0f);
}

TEST_F(BoxOnADevice, FlatAndNegativeDimensionsAreLaidOutAllTheSame) {
    TestBox box(&device);
    box.SetDimensions(0, -4, 10);
    ExpectUploaded({0, 0, 0, 0, -4, 10});
    EXPECT_EQ(Uploaded()[0].x, Uploaded()[2].x);  // a flat box: both x values coincide
    EXPECT_GT(Uploaded()[4].y, Uploaded()[5].y);  // negative height swaps bottom and top
}

TEST_F(BoxOnADevice, AFailedLockKeepsThePreviousContentsAndStillReportsSuccess) {
    TestBox box(&device);
    BYTE before[288];
    std::memcpy(before, vertexBuffer.memory, sizeof(before));
    EXPECT_CALL(vertexBuffer.buffer, Lock(_, _, _, _)).WillRepeatedly(Return(D3DERR_INVALIDCALL));
    EXPECT_CALL(vertexBuffer.buffer, Unlock()).Times(0);
    EXPECT_FALSE(box.BuildVertices());
    EXPECT_TRUE(box.SetCentre(7, 7, 7));
    EXPECT_TRUE(box.SetDimensions(1, 1, 1));
    EXPECT_EQ(std::memcmp(before, vertexBuffer.memory, sizeof(before)), 0);
}

TEST_F(BoxOnADevice, WithoutABufferNothingIsLockedAndNothingReleased) {
    EXPECT_CALL(device, CreateVertexBuffer(_, _, _, _, _)).WillOnce(Return(D3DERR_OUTOFVIDEOMEMORY));
    EXPECT_CALL(vertexBuffer.buffer, Lock(_, _, _, _)).Times(0);
    EXPECT_CALL(vertexBuffer.buffer, Release()).Times(0);
    TestBox box(&device);
    EXPECT_EQ(box.m_pBuffer, nullptr);
    EXPECT_FALSE(box.BuildVertices());
    EXPECT_TRUE(box.SetCentre(1, 1, 1));
}

TEST_F(BoxOnADevice, DeletingReleasesTheBufferButNotTheDevice) {
    EXPECT_CALL(vertexBuffer.buffer, Release()).WillOnce(Return(0));
    EXPECT_CALL(device, Release()).Times(0);
    auto* box = new TestBox(&device);
    delete box;
}

TEST_F(BoxOnADevice, DrawsThreeStripsFromItsBuffer) {
    TestBox box(&device);
    {
        InSequence order;
        EXPECT_CALL(device, SetStreamSource(0u, &vertexBuffer.buffer, 16u));
        EXPECT_CALL(device, SetVertexShader(0x42u));
        EXPECT_CALL(device, DrawPrimitive(D3DPT_TRIANGLESTRIP, 0u, 2u));
        EXPECT_CALL(device, DrawPrimitive(D3DPT_TRIANGLESTRIP, 4u, 8u));
        EXPECT_CALL(device, DrawPrimitive(D3DPT_TRIANGLESTRIP, 14u, 2u));
    }
    EXPECT_TRUE(box.Draw());
}

TEST(BoxVertexLayout, IsSixteenBytesOfPositionAndColour) {
    EXPECT_EQ(sizeof(BoxVertex), 16u);
    EXPECT_EQ(offsetof(BoxVertex, colour), 12u);
    EXPECT_EQ(D3DFVF_BOXVERTEX, 0x42);
}

}  // namespace
