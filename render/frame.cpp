#include "app/application.h"

#include <d3dx9.h>

#include "geometry/box.h"

void Application::RenderFrame() {
    if (m_pDevice == NULL) {
        return;
    }

    m_pDevice->Clear(0, NULL, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, D3DCOLOR_ARGB(0xFF, 0, 0, 0), 1.0f, 0);
    m_pDevice->BeginScene();

    SetCameraTransforms();
    if (m_pBox != NULL) {
        m_pBox->Draw();
    }

    m_pDevice->EndScene();
    m_pDevice->Present(NULL, NULL, NULL, NULL);

    // Counted whatever the device answered: the statistics count frames attempted.
    m_frameCount++;
}

void Application::SetCameraTransforms() {
    D3DXMATRIX matView;
    D3DXVECTOR3 eye(0.0f, 0.0f, -100.0f);
    D3DXVECTOR3 lookAt(0.0f, 0.0f, 0.0f);
    D3DXVECTOR3 up(0.0f, 1.0f, 0.0f);
    D3DXMatrixLookAtLH(&matView, &eye, &lookAt, &up);
    m_pDevice->SetTransform(D3DTS_VIEW, &matView);

    // An aspect of 1.0 on a 4:3 screen: the square view is stretched to the screen's width.
    D3DXMATRIX matProj;
    D3DXMatrixPerspectiveFovLH(&matProj, D3DX_PI / 4, 1.0f, 1.0f, 500.0f);
    m_pDevice->SetTransform(D3DTS_PROJECTION, &matProj);
}
