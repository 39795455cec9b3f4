// The D3DX matrix builders. Direct3D multiplies row vectors on the left (v' = v * M); GLM
// multiplies column vectors on the right. The two conventions transpose each other, and GLM
// stores columns where D3DX stores rows, so a GLM matrix has exactly the bytes of the D3DX one.
#include <d3dx9.h>

#include <glm/ext/matrix_clip_space.hpp>
#include <glm/ext/matrix_transform.hpp>
#include <glm/gtc/type_ptr.hpp>
#include <glm/mat4x4.hpp>

#include <cstring>

namespace {

glm::mat4 GlmFromD3dx(const D3DXMATRIX& matrix) {
    return glm::make_mat4(&matrix.m[0][0]);
}

D3DXMATRIX* StoreGlm(D3DXMATRIX* pOut, const glm::mat4& matrix) {
    static_assert(sizeof(glm::mat4) == sizeof(D3DMATRIX), "a 4x4 float matrix either way");
    std::memcpy(&pOut->m[0][0], glm::value_ptr(matrix), sizeof(D3DMATRIX));
    return pOut;
}

glm::vec3 GlmFromD3dx(const D3DXVECTOR3& vector) {
    return glm::vec3(vector.x, vector.y, vector.z);
}

}  // namespace

D3DXMATRIX* WINAPI D3DXMatrixIdentity(D3DXMATRIX* pOut) {
    return StoreGlm(pOut, glm::mat4(1.0f));
}

D3DXMATRIX* WINAPI D3DXMatrixMultiply(D3DXMATRIX* pOut, CONST D3DXMATRIX* pM1, CONST D3DXMATRIX* pM2) {
    // Row-vector M1 * M2 is column-vector M2 * M1.
    return StoreGlm(pOut, GlmFromD3dx(*pM2) * GlmFromD3dx(*pM1));
}

D3DXMATRIX* WINAPI D3DXMatrixTranslation(D3DXMATRIX* pOut, FLOAT x, FLOAT y, FLOAT z) {
    return StoreGlm(pOut, glm::translate(glm::mat4(1.0f), glm::vec3(x, y, z)));
}

// D3DX rotations are clockwise looking along the axis towards the origin in a left-handed
// system, which is GLM's counter-clockwise rotation by the same angle in its right-handed terms:
// the matrices are numerically the same.
D3DXMATRIX* WINAPI D3DXMatrixRotationX(D3DXMATRIX* pOut, FLOAT Angle) {
    return StoreGlm(pOut, glm::rotate(glm::mat4(1.0f), Angle, glm::vec3(1.0f, 0.0f, 0.0f)));
}

D3DXMATRIX* WINAPI D3DXMatrixRotationY(D3DXMATRIX* pOut, FLOAT Angle) {
    return StoreGlm(pOut, glm::rotate(glm::mat4(1.0f), Angle, glm::vec3(0.0f, 1.0f, 0.0f)));
}

D3DXMATRIX* WINAPI D3DXMatrixLookAtLH(D3DXMATRIX* pOut, CONST D3DXVECTOR3* pEye, CONST D3DXVECTOR3* pAt,
                                      CONST D3DXVECTOR3* pUp) {
    return StoreGlm(pOut, glm::lookAtLH(GlmFromD3dx(*pEye), GlmFromD3dx(*pAt), GlmFromD3dx(*pUp)));
}

D3DXMATRIX* WINAPI D3DXMatrixPerspectiveFovLH(D3DXMATRIX* pOut, FLOAT fovy, FLOAT Aspect, FLOAT zn, FLOAT zf) {
    // Direct3D's clip space keeps depth in 0..1, GLM's "_ZO" variant.
    return StoreGlm(pOut, glm::perspectiveLH_ZO(fovy, Aspect, zn, zf));
}

D3DXVECTOR4* WINAPI D3DXVec3Transform(D3DXVECTOR4* pOut, CONST D3DXVECTOR3* pV, CONST D3DXMATRIX* pM) {
    const glm::vec4 result = GlmFromD3dx(*pM) * glm::vec4(GlmFromD3dx(*pV), 1.0f);
    *pOut = D3DXVECTOR4(result.x, result.y, result.z, result.w);
    return pOut;
}

D3DXVECTOR3* WINAPI D3DXVec3TransformCoord(D3DXVECTOR3* pOut, CONST D3DXVECTOR3* pV, CONST D3DXMATRIX* pM) {
    D3DXVECTOR4 homogeneous;
    D3DXVec3Transform(&homogeneous, pV, pM);
    *pOut = D3DXVECTOR3(homogeneous.x / homogeneous.w, homogeneous.y / homogeneous.w, homogeneous.z / homogeneous.w);
    return pOut;
}
