#include "geometry/box.h"

#include <cstring>

namespace {

const D3DCOLOR kBlue = 0xFF0000FF;
const D3DCOLOR kRed = 0xFFFF0000;
const D3DCOLOR kGreen = 0xFF00FF00;

const UINT kBufferBytes = Box::kVertexCount * sizeof(BoxVertex);

}  // namespace

Box::Box(IDirect3DDevice8* pDevice)
    : m_pDevice(pDevice),
      m_pBuffer(NULL),
      m_width(10.0f),
      m_height(10.0f),
      m_depth(10.0f),
      m_centreX(0.0f),
      m_centreY(0.0f),
      m_centreZ(0.0f) {
    if (SUCCEEDED(CreateBuffer())) {
        BuildVertices();
    }
}

Box::~Box() {
    if (m_pBuffer != NULL) {
        m_pBuffer->Release();
        m_pBuffer = NULL;
    }
}

HRESULT Box::CreateBuffer() {
    if (FAILED(m_pDevice->CreateVertexBuffer(kBufferBytes, 0, D3DFVF_BOXVERTEX, D3DPOOL_DEFAULT, &m_pBuffer))) {
        return E_FAIL;
    }
    return S_OK;
}

bool Box::BuildVertices() {
    // Without a buffer (its creation failed) there is nothing to fill.
    if (m_pBuffer == NULL) {
        return false;
    }

    const FLOAT left = m_centreX - m_width / 2.0f;
    const FLOAT right = m_centreX + m_width / 2.0f;
    const FLOAT bottom = m_centreY - m_height / 2.0f;
    const FLOAT top = m_centreY + m_height / 2.0f;
    const FLOAT nearZ = m_centreZ - m_depth / 2.0f;  // towards a camera on -z
    const FLOAT farZ = m_centreZ + m_depth / 2.0f;

    // Three strips: the top (0-3), the sides running near, right, far, left and back to the
    // near-left edge (4-13), the bottom (14-17). Each corner has one colour wherever it occurs.
    const BoxVertex cvVertices[kVertexCount] = {
        {left, top, nearZ, kBlue},       {left, top, farZ, kRed},       {right, top, nearZ, kRed},
        {right, top, farZ, kGreen},

        {left, bottom, nearZ, kRed},     {left, top, nearZ, kBlue},     {right, bottom, nearZ, kGreen},
        {right, top, nearZ, kRed},       {right, bottom, farZ, kBlue},  {right, top, farZ, kGreen},
        {left, bottom, farZ, kGreen},    {left, top, farZ, kRed},       {left, bottom, nearZ, kRed},
        {left, top, nearZ, kBlue},

        {right, bottom, nearZ, kGreen},  {right, bottom, farZ, kBlue},  {left, bottom, nearZ, kRed},
        {left, bottom, farZ, kGreen},
    };

    BYTE* pVertices = NULL;
    if (FAILED(m_pBuffer->Lock(0, sizeof(cvVertices), &pVertices, 0))) {
        return false;
    }
    memcpy(pVertices, cvVertices, sizeof(cvVertices));
    m_pBuffer->Unlock();
    return true;
}

bool Box::SetDimensions(FLOAT width, FLOAT height, FLOAT depth) {
    m_width = width;
    m_height = height;
    m_depth = depth;
    BuildVertices();
    return true;
}

bool Box::SetCentre(FLOAT x, FLOAT y, FLOAT z) {
    m_centreX = x;
    m_centreY = y;
    m_centreZ = z;
    BuildVertices();
    return true;
}

bool Box::Draw() {
    m_pDevice->SetStreamSource(0, m_pBuffer, sizeof(BoxVertex));
    m_pDevice->SetVertexShader(D3DFVF_BOXVERTEX);
    m_pDevice->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2);
    m_pDevice->DrawPrimitive(D3DPT_TRIANGLESTRIP, 4, 8);
    m_pDevice->DrawPrimitive(D3DPT_TRIANGLESTRIP, 14, 2);
    return true;
}
