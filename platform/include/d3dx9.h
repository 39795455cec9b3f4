// Stand-in for the D3DX 9 utility library's <d3dx9.h>: the vector and matrix records and the
// handful of matrix builders Ostrel and its tests use, with the library's left-handed conventions.
// No meshes, textures or effects.
#ifndef OSTREL_PLATFORM_D3DX9_H
#define OSTREL_PLATFORM_D3DX9_H

#include <windows.h>

#include <d3d8types.h>

#define D3DX_PI ((FLOAT)3.141592654f)

struct D3DXVECTOR3 : public D3DVECTOR {
    D3DXVECTOR3() : D3DVECTOR{0.0f, 0.0f, 0.0f} {}
    D3DXVECTOR3(FLOAT fx, FLOAT fy, FLOAT fz) : D3DVECTOR{fx, fy, fz} {}
};

struct D3DXVECTOR4 {
    D3DXVECTOR4() : x(0.0f), y(0.0f), z(0.0f), w(0.0f) {}
    D3DXVECTOR4(FLOAT fx, FLOAT fy, FLOAT fz, FLOAT fw) : x(fx), y(fy), z(fz), w(fw) {}
    FLOAT x, y, z, w;
};

struct D3DXMATRIX : public D3DMATRIX {
    D3DXMATRIX() : D3DMATRIX{} {}
    D3DXMATRIX(CONST D3DMATRIX& matrix) : D3DMATRIX(matrix) {}
    FLOAT& operator()(UINT row, UINT column) { return m[row][column]; }
    FLOAT operator()(UINT row, UINT column) const { return m[row][column]; }
};

D3DXMATRIX* WINAPI D3DXMatrixIdentity(D3DXMATRIX* pOut);
D3DXMATRIX* WINAPI D3DXMatrixMultiply(D3DXMATRIX* pOut, CONST D3DXMATRIX* pM1, CONST D3DXMATRIX* pM2);
D3DXMATRIX* WINAPI D3DXMatrixTranslation(D3DXMATRIX* pOut, FLOAT x, FLOAT y, FLOAT z);
D3DXMATRIX* WINAPI D3DXMatrixRotationX(D3DXMATRIX* pOut, FLOAT Angle);
D3DXMATRIX* WINAPI D3DXMatrixRotationY(D3DXMATRIX* pOut, FLOAT Angle);
D3DXMATRIX* WINAPI D3DXMatrixLookAtLH(D3DXMATRIX* pOut, CONST D3DXVECTOR3* pEye, CONST D3DXVECTOR3* pAt,
                                      CONST D3DXVECTOR3* pUp);
D3DXMATRIX* WINAPI D3DXMatrixPerspectiveFovLH(D3DXMATRIX* pOut, FLOAT fovy, FLOAT Aspect, FLOAT zn, FLOAT zf);
// Transforms (x, y, z, 1) by the matrix (row vector on the left) and divides by w.
D3DXVECTOR3* WINAPI D3DXVec3TransformCoord(D3DXVECTOR3* pOut, CONST D3DXVECTOR3* pV, CONST D3DXMATRIX* pM);
D3DXVECTOR4* WINAPI D3DXVec3Transform(D3DXVECTOR4* pOut, CONST D3DXVECTOR3* pV, CONST D3DXMATRIX* pM);

#endif
