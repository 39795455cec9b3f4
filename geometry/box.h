// The scene's one drawable: an axis-aligned cuboid with a colour per corner, held in its own
// vertex buffer as three triangle strips (top, the four sides, bottom).
#ifndef OSTREL_GEOMETRY_BOX_H
#define OSTREL_GEOMETRY_BOX_H

#include <windows.h>

#include <d3d8.h>

#include "geometry/box_vertex.h"

class Box {
public:
    static const UINT kVertexCount = 18;

    // Borrows the device: the box takes no reference of its own and never releases it.
    explicit Box(IDirect3DDevice8* pDevice);
    virtual ~Box();

    HRESULT CreateBuffer();
    bool BuildVertices();
    bool SetDimensions(FLOAT width, FLOAT height, FLOAT depth);
    bool SetCentre(FLOAT x, FLOAT y, FLOAT z);
    bool Draw();

protected:
    IDirect3DDevice8* m_pDevice;
    IDirect3DVertexBuffer8* m_pBuffer;
    FLOAT m_width;
    FLOAT m_height;
    FLOAT m_depth;
    FLOAT m_centreX;
    FLOAT m_centreY;
    FLOAT m_centreZ;
};

#endif
