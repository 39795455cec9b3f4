// One vertex of the box: an untransformed position and a diffuse colour, 16 bytes.
#ifndef OSTREL_GEOMETRY_BOX_VERTEX_H
#define OSTREL_GEOMETRY_BOX_VERTEX_H

#include <windows.h>

#include <d3d8.h>

#define D3DFVF_BOXVERTEX (D3DFVF_XYZ | D3DFVF_DIFFUSE)

struct BoxVertex {
    FLOAT x;
    FLOAT y;
    FLOAT z;
    D3DCOLOR colour;
};

static_assert(sizeof(BoxVertex) == 16, "the vertex format 0x42 is 16 bytes");

#endif
